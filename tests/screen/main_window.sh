#!/bin/bash
# The main window's pixels: the blue pane with bold white text, the face
# coloured margin, and the "AAA" small icon in the title bar.
# Usage: main_window.sh path/to/Pellmorvaine.exe
set -u
exe=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tools/wine-env"
"$root/tools/wine-prefix"
shot=$(mktemp --suffix=.png)

"$WINE64" "$exe" </dev/null >/dev/null 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null; rm -f "$shot"' EXIT

fail=0
check() {  # name, actual, expected
  if [ "$2" != "$3" ]; then echo "FAIL $1: got $2, want $3"; fail=1; else echo "ok   $1"; fi
}

main=$(timeout 30 xdotool search --sync --onlyvisible --name "$("$root/tools/identity" --regex BRISVANE_MAIN_CAPTION)" | head -1)
[ -n "$main" ] || { echo "FAIL no main window"; exit 1; }

import -window "$main" "$shot"
read -r w h < <(convert "$shot" -format '%w %h\n' info:)
# No window manager: the X window is the whole frame, the client area at the
# bottom with equal side borders.
bx=$(( (w - 484) / 2 ))
by=$(( h - 259 - bx ))
px() {  # client x, y -> r,g,b
  convert "$shot" -format "%[fx:int(255*p{$(( $1 + bx )),$(( $2 + by ))}.r+.5)],%[fx:int(255*p{$(( $1 + bx )),$(( $2 + by ))}.g+.5)],%[fx:int(255*p{$(( $1 + bx )),$(( $2 + by ))}.b+.5)]" info:
}
region() {  # frame x, y, w, h, fx expression -> its maximum over the region
  convert "$shot" -crop "$3x$4+$1+$2" +repage -fx "$5" -format '%[fx:maxima]' info:
}
white='r>0.95 && g>0.95 && b>0.95 ? 1 : 0'
# The status run writes the two not-found lines about a second after start.
for _ in $(seq 100); do
  [ "$(region $(( bx + 4 )) $(( by + 3 )) 200 13 "$white")" = 1 ] && break
  sleep 0.1
  import -window "$main" "$shot"
done

check "pane blue in the middle" "$(px 240 200)" "16,132,208"
check "pane blue near its bottom right" "$(px 460 250)" "16,132,208"
check "white text on the first line" "$(region $(( bx + 4 )) $(( by + 3 )) 200 13 "$white")" 1
check "white text on the second line" "$(region $(( bx + 4 )) $(( by + 16 )) 200 13 "$white")" 1
face=$(px 0 0)
[ "$face" != "16,132,208" ] || { echo "FAIL the margin is blue"; fail=1; }
check "margin below the pane is the face colour" "$(px 240 258)" "$face"
# The icon's orange key shows at the left end of the title bar.
orange='r>0.8 && g>0.3 && g<0.8 && b<0.35 ? 1 : 0'
check "AAA icon in the title bar" "$(region 0 0 28 $(( by > 28 ? 28 : by )) "$orange")" 1

exit $fail
