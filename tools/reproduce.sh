#!/bin/bash
# Builds the 32-bit product once more from a clean copy of the sources in
# another folder, and compares it byte for byte with the given build of it.
#   tools/reproduce.sh path/to/Pellmorvaine.exe
# The copy holds what git tracks (and new files it would track), as a clone
# would; the folder's name and depth differ from the original's.
set -euo pipefail
exe=$(realpath "$1")
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d /tmp/brisvane-reproduce.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
copy=$scratch/another/place/brisvane
mkdir -p "$copy"
(cd "$root" && git ls-files -z --cached --others --exclude-standard) |
  (cd "$root" && xargs -0 cp --parents -t "$copy" 2>/dev/null || true)
(cd "$copy" && cmake --preset win32 >/dev/null && cmake --build --preset win32 --target Pellmorvaine >/dev/null)
again=$copy/build/win32/Pellmorvaine.exe
echo "built in $root: $(sha256sum <"$exe" | cut -d' ' -f1)"
echo "built in $copy: $(sha256sum <"$again" | cut -d' ' -f1)"
if cmp "$exe" "$again"; then
  echo "the same $(stat -c %s "$exe") bytes"
else
  echo "the two builds differ"
  exit 1
fi
