#!/bin/bash
# Builds the 32-bit product from a clean tree of the committed sources and
# writes what users download: dist/Pellmorvaine.exe and dist/SHA256SUMS.
# Prints the hash. The build is reproducible: the same commit gives the same
# bytes wherever it is built (tools/reproduce.sh checks it in the tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/deps.sh"
scratch=$(mktemp -d /tmp/brisvane-release.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
git clone --quiet --no-hardlinks "$root" "$scratch/brisvane"
commit=$(git -C "$scratch/brisvane" rev-parse HEAD)
(cd "$scratch/brisvane" && cmake --preset win32 >/dev/null &&
  cmake --build --preset win32 --target Pellmorvaine >/dev/null)
exe=$(cd "$root" && tools/identity BRISVANE_EXE_FILE)
mkdir -p "$root/dist"
cp "$scratch/brisvane/build/win32/$exe" "$root/dist/$exe"
(cd "$root/dist" && sha256sum "$exe" >SHA256SUMS)
echo "dist/$exe built from commit $commit"
cat "$root/dist/SHA256SUMS"
