#!/bin/bash
# One run of the real 32-bit Pellmorvaine.exe: qemu-user runs Wine's 32-bit
# loader, so a start costs about a minute. Passes when the main window shows
# its caption and its blue status pane.
set -uo pipefail
cd "$(dirname "$0")/.."
exe=build/win32/Pellmorvaine.exe
shot=build/smoke32.png
caption='Brisvane [Office 2013 and 2016 Edition: Last 5 Digits]'
export BRISVANE_WINEPREFIX=$PWD/build/wineprefix32
source tools/wine-env
WINE32=/usr/lib/wine/wine

verdict() { echo "smoke32: $1"; echo "$2"; exit "$3"; }
[ -f "$exe" ] || verdict "no $exe" "0 passed, 1 failed" 1
tools/binfmt-i386 || verdict "cannot register qemu-i386" "0 passed, 1 failed" 1

if [ ! -f "$WINEPREFIX/.brisvane-ready" ]; then
  rm -rf "$WINEPREFIX"
  # A 64-bit prefix with its 32-bit half; the 32-bit loader runs in it.
  "$WINE64" wineboot -i </dev/null >/dev/null 2>&1
  "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  "$WINESERVER" -w
  touch "$WINEPREFIX/.brisvane-ready"
fi

"$WINE32" "$exe" </dev/null >/dev/null 2>&1 &
pid=$!
trap '"$WINESERVER" -k 2>/dev/null' EXIT
wid=
for _ in $(seq 300); do  # up to five minutes under emulation
  wid=$(xdotool search --onlyvisible --name "^$(printf '%s' "$caption" | sed 's/[][]/\\&/g')\$" 2>/dev/null | head -1)
  [ -n "$wid" ] && break
  kill -0 $pid 2>/dev/null || break
  sleep 1
done
[ -n "$wid" ] || verdict "the main window never appeared" "0 passed, 1 failed" 1

# The pane is drawn once the window is mapped; wait for its blue to show.
geom=$(xdotool getwindowgeometry --shell "$wid")
eval "$geom"
pixel=
for _ in $(seq 120); do
  import -window "$wid" "$shot" 2>/dev/null &&
    pixel=$(convert "$shot" -format "%[pixel:p{$((WIDTH / 2)),$((HEIGHT / 2))}]" info: 2>/dev/null)
  [ "$pixel" = "srgb(16,132,208)" ] && break
  sleep 1
done
name=$(xdotool getwindowname "$wid")
size=$(stat -c %s "$exe")
echo "smoke32: window '$name' ${WIDTH}x${HEIGHT}, centre pixel $pixel, Pellmorvaine.exe $size bytes"
[ "$name" = "$caption" ] && [ "$pixel" = "srgb(16,132,208)" ] &&
  verdict "ok" "1 passed, 0 failed" 0
verdict "wrong caption or pane colour" "0 passed, 1 failed" 1
