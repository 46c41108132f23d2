#!/bin/bash
# The main window's pixels: the blue pane with bold white text, the face
# coloured margin, and the "AAA" small icon in the title bar.
# Usage: main_window.sh path/to/Pellmorvaine.exe
set -u
source "$(dirname "$0")/lib.sh"
screen_start "$1"
main=$(screen_window BRISVANE_MAIN_CAPTION)
[ -n "$main" ] || { echo "FAIL no main window"; exit 1; }

white='r>0.95 && g>0.95 && b>0.95 ? 1 : 0'
# The status run writes its first line about a second after start; what the
# lines say is checked natively and in-process, here only how they look.
screen_shot_when "$main" 484 259 4 3 200 13 "$white"

check "pane blue in the middle" "$(px 240 200)" "16,132,208"
check "pane blue near its bottom right" "$(px 460 250)" "16,132,208"
check "white text on the first line" "$(region 4 3 200 13 "$white")" 1
face=$(px 0 0)
[ "$face" != "16,132,208" ] || { echo "FAIL the margin is blue"; fail=1; }
check "margin below the pane is the face colour" "$(px 240 258)" "$face"
# The icon's orange key shows at the left end of the title bar.
orange='r>0.8 && g>0.3 && g<0.8 && b<0.35 ? 1 : 0'
check "AAA icon in the title bar" "$(frame_region 0 0 28 $(( by > 28 ? 28 : by )) "$orange")" 1

exit $fail
