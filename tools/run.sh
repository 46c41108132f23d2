#!/bin/bash
# Builds the program and starts it under Wine. With a display it runs until
# you close it; without one it runs on a virtual display, waits for the status
# run, saves a screenshot to build/screenshot.png and closes the program.
#   tools/run.sh            the x86_64 build of the same sources (starts in seconds)
#   tools/run.sh --product  the real 32-bit Pellmorvaine.exe (minutes to start
#                           here, where it runs under qemu)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
prefix_args=() wait=120
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Pellmorvaine pane_text
exe=build/win64/Pellmorvaine.exe
if [ "${1:-}" = "--product" ]; then
  cmake --preset win32 >/dev/null
  cmake --build --preset win32 --target Pellmorvaine
  exe=build/win32/Pellmorvaine.exe
  export BRISVANE_WINE_I386=1
  prefix_args=(--i386) wait=900
fi

had_display=
[ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 && had_display=1
source tools/wine-env
tools/wine-prefix "${prefix_args[@]}"
if [ -n "$had_display" ]; then
  exec "$WINE64" "$exe"
fi

"$WINE64" "$exe" </dev/null >/dev/null 2>&1 &
"$WINE64" build/win64/pane_text.exe wait "$wait" </dev/null >/dev/null
wid=$(xdotool search --onlyvisible --name "$(tools/identity --regex BRISVANE_MAIN_CAPTION)" | head -1)
import -window "$wid" build/screenshot.png
echo "screenshot: build/screenshot.png"
"$WINE64" build/win64/pane_text.exe close </dev/null >/dev/null
wait
