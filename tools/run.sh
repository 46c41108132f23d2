#!/bin/bash
# Builds the program and starts it under Wine. With a display it runs until
# you close it; without one it runs on a virtual display, waits for the status
# run and saves a screenshot to build/screenshot.png.
#   tools/run.sh            the x86_64 build of the same sources (starts in seconds)
#   tools/run.sh --product  the real 32-bit Pellmorvaine.exe (about a minute to start)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
preset=win64
[ "${1:-}" = "--product" ] && preset=win32
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target Pellmorvaine
exe=build/$preset/Pellmorvaine.exe

had_display=
[ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 && had_display=1
if [ "$preset" = win32 ]; then
  export BRISVANE_WINEPREFIX=$PWD/build/wineprefix32
  tools/binfmt-i386
  loader=/usr/lib/wine/wine
else
  loader=/usr/lib/wine/wine64
fi
source tools/wine-env
[ "$preset" = win64 ] && tools/wine-prefix
[ "$preset" = win32 ] && [ ! -f "$WINEPREFIX/.brisvane-ready" ] && {
  "$WINE64" wineboot -i </dev/null >/dev/null 2>&1
  "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  "$WINESERVER" -w; touch "$WINEPREFIX/.brisvane-ready"; }

if [ -n "$had_display" ]; then
  exec "$loader" "$exe"
fi
"$loader" "$exe" </dev/null >/dev/null 2>&1 &
caption='^Brisvane \[Office 2013 and 2016 Edition: Last 5 Digits\]$'
wid=
for _ in $(seq 600); do
  wid=$(xdotool search --onlyvisible --name "$caption" 2>/dev/null | head -1 || true)
  [ -n "$wid" ] && break
  sleep 0.5
done
[ -n "$wid" ] || { echo "the main window did not appear"; exit 1; }
sleep 3  # the status run starts a second after the window shows
import -window root -crop "$(xdotool getwindowgeometry "$wid" | awk '/Geometry/{g=$2} /Position/{split($2,p,",")} END{print g"+"p[1]+0"+"p[2]+0}')" build/screenshot.png
echo "screenshot: build/screenshot.png"
"$WINESERVER" -k
