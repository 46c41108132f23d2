#!/bin/bash
# Every test: installs what is missing, starts a virtual display where there
# is none, and runs the four CMake workflows (configure, build, test):
#   native  the platform-free logic, with sanitizers, and the icon artwork
#   fuzz    the stream decoder's property under libFuzzer
#   win32   the 32-bit product: checks of its file, a second clean build
#           elsewhere that must give the same bytes, and the product itself
#           end to end under emulation (qemu and Wine's 32-bit loader)
#   win64   the same sources for x86_64 under Wine: the Win32 layers
#           in-process, the real program end to end, its pixels
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh

source tools/wine-env  # the virtual display
# The prefix for the 32-bit product takes minutes to make under emulation:
# it is made while the other builds run (the 32-bit tests wait for it).
mkdir -p build
tools/wine-prefix --i386 >build/wineprefix32-setup.log 2>&1 &
cleanup() {
  "$WINESERVER" -k 2>/dev/null || true
  BRISVANE_WINE_I386=1 bash -c 'source tools/wine-env; "$WINESERVER" -k' 2>/dev/null || true
}
trap cleanup EXIT

status=0
summary=()
stage() {
  local name=$1 started=$SECONDS
  shift
  if "$@"; then
    summary+=("$name: passed ($((SECONDS - started)) s)")
  else
    summary+=("$name: FAILED ($((SECONDS - started)) s)")
    status=1
  fi
}
stage "host logic (native)" cmake --workflow --preset native
stage "decoder fuzzing (fuzz)" cmake --workflow --preset fuzz
stage "32-bit product (win32)" cmake --workflow --preset win32
stage "Windows build under Wine (win64)" cmake --workflow --preset win64
printf '\n== summary ==\n'
printf '%s\n' "${summary[@]}"
exit $status
