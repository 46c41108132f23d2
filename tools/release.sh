#!/bin/bash
# Builds the 32-bit product from a clean tree of the committed sources and
# writes what users download: dist/Pellmorvaine.exe, the LICENSE it comes
# under, and dist/SHA256SUMS over both.
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
# The licence names the holder that the about box shows.
copyright=$(cd "$root" && tools/identity BRISVANE_COPYRIGHT_LINE)
grep -qxF "$copyright" "$scratch/brisvane/LICENSE" ||
  { echo "LICENSE lacks the line \"$copyright\"" >&2; exit 1; }
mkdir -p "$root/dist"
cp "$scratch/brisvane/build/win32/$exe" "$scratch/brisvane/LICENSE" "$root/dist/"
(cd "$root/dist" && sha256sum "$exe" LICENSE >SHA256SUMS)
echo "dist/$exe built from commit $commit"
cat "$root/dist/SHA256SUMS"
