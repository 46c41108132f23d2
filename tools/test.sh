#!/bin/bash
# Every test: installs what is missing, builds the three configurations
# (host logic, the 32-bit product, the x86_64 test vehicle) and runs the host
# tests, then the Windows tests under Wine on a virtual display, then one
# smoke run of the real 32-bit executable under emulation.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh

for preset in native win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

source tools/wine-env
started_xvfb=
pgrep -f "Xvfb $DISPLAY " >/dev/null && started_xvfb=$(pgrep -f "Xvfb $DISPLAY " | head -1)
cleanup() {
  "$WINESERVER" -k 2>/dev/null || true
  BRISVANE_WINEPREFIX=$BRISVANE_ROOT/build/wineprefix32 bash -c \
    'source tools/wine-env; "$WINESERVER" -k' 2>/dev/null || true
}
trap cleanup EXIT
rm -f "$WINEPREFIX/.brisvane-server"
tools/wine-prefix

status=0
summary=()
stage() {
  local name=$1; shift
  if "$@"; then summary+=("$name: passed"); else summary+=("$name: FAILED"); status=1; fi
}
stage "host logic (native)" ctest --preset native
stage "Windows build under Wine (win64)" ctest --preset win64
stage "32-bit product smoke run" tools/smoke32.sh
printf '\n== summary ==\n'
printf '%s\n' "${summary[@]}"
exit $status
