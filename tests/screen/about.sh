#!/bin/bash
# The about box's pixels: the white panel, the grey line on its last row, the
# labels drawing no background of their own, the link in the highlight colour.
# Which keys close the box is checked in-process and end to end.
# Usage: about.sh path/to/Pellmorvaine.exe
set -u
source "$(dirname "$0")/lib.sh"
screen_start "$1"
main=$(screen_window BRISVANE_MAIN_CAPTION)
[ -n "$main" ] || { echo "FAIL no main window"; exit 1; }
xdotool windowfocus --sync "$main"
# Keys queue in order: the menu that Alt+H opens reads Down and Return.
xdotool key alt+h Down Return
about=$(screen_window BRISVANE_ABOUT_CAPTION)
[ -n "$about" ] || { echo "FAIL no about box"; exit 1; }

link_blue='b>r+0.2 && b>g ? 1 : 0'
# Painting is over once the link, drawn last, is on the screen.
screen_shot_when "$about" 328 227 136 136 180 14 "$link_blue"

check "panel white at top left" "$(px 5 5)" "255,255,255"
check "panel white at right edge" "$(px 327 100)" "255,255,255"
check "line grey at left" "$(px 0 160)" "128,128,128"
check "line grey at right edge" "$(px 327 160)" "128,128,128"
check "panel white above line" "$(px 5 159)" "255,255,255"
face=$(px 5 200)
check "below the panel is the face colour" "$(px 5 161)" "$face"
[ "$face" != "255,255,255" ] || { echo "FAIL face colour is white"; fail=1; }

# Label rectangles (client pixels at 96 DPI): inside them, where there is no
# text, the panel's white shows; the text itself is there.
check "lblTitle: white beside its text" "$(px 300 20)" "255,255,255"
check "lblVer_JP: white beside its text" "$(px 105 66)" "255,255,255"
check "lblCopyright: white left of its text" "$(px 66 122)" "255,255,255"
check "lblTitle2 has dark text" "$(region 16 32 297 17 'intensity<0.3')" "1"
check "lblCopyright has dark text" "$(region 64 120 253 13 'intensity<0.3')" "1"
check "link drawn in a blue highlight" "$(region 136 136 180 14 "$link_blue")" "1"

exit $fail
