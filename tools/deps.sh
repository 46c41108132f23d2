#!/bin/bash
# Installs every Debian package the build, the tests and the 32-bit smoke run
# need. Cheap when everything is there already.
set -euo pipefail
pkgs=(cmake ninja-build g++ libgtest-dev googletest
      g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64
      wine64 xvfb x11-utils xdotool imagemagick icoutils libimage-exiftool-perl
      qemu-user-static procps clang libclang-rt-14-dev fonts-wine fonts-liberation)
pkgs32=(wine32:i386)
missing=()
for p in "${pkgs[@]}" "${pkgs32[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
