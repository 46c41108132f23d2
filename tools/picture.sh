#!/bin/bash
# Makes the README's picture: the main window of the program, built from
# these sources (x86_64, under Wine, on a virtual display), after a status run
# with the stand-in licensing script (tests/standin/OSPP.VBS) as Office 2013
# and no Office 2016. The pane's text, as the program holds it, goes into the
# picture's comment (line ends as LF), so that a test can compare texts where
# font rendering may differ.
#   tools/picture.sh [OUTPUT.png]      (default docs/main-window.png)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/main-window.png}")
cd "$root"
if [ -z "${BRISVANE_IN_TESTS:-}" ]; then
  tools/deps.sh
  cmake --preset win64 >/dev/null
  cmake --build --preset win64 --target Pellmorvaine pane_text >/dev/null
fi
unset DISPLAY  # always the virtual display, whatever this session has
source tools/wine-env
tools/wine-prefix

office="$WINEPREFIX/drive_c/Program Files (x86)/Microsoft Office"
clear_office() {
  rm -rf "$office" "$WINEPREFIX/drive_c/Program Files/Microsoft Office"
}
clear_office
trap clear_office EXIT
mkdir -p "$office/Office15"
cp tests/standin/OSPP.VBS "$office/Office15/OSPP.VBS"

"$WINE64" build/win64/Pellmorvaine.exe </dev/null >/dev/null 2>&1 &
text=$("$WINE64" build/win64/pane_text.exe wait 120 </dev/null | tr -d '\r')
wid=$(xdotool search --onlyvisible --name "$(tools/identity --regex BRISVANE_MAIN_CAPTION)" | head -1)
shot=$(mktemp --suffix=.png)
import -window "$wid" "$shot"
"$WINE64" build/win64/pane_text.exe close </dev/null >/dev/null
wait
mkdir -p "$(dirname "$out")"
# No time stamps, so that the same picture gives the same file.
convert "$shot" -set comment "$text" -define png:exclude-chunks=date,time "$out"
rm -f "$shot"
echo "picture: $out"
