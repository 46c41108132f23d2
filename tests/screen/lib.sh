# Sourced by the screenshot tests: starts the program under Wine on the
# virtual display, finds its windows, shoots them and reads their pixels.
#   screen_start EXE                 starts it; it is stopped when the test ends
#   screen_window NAME               the visible window titled the identity's NAME
#   screen_shot WID CLIENT_W CLIENT_H   shoots the window into $shot and finds
#                                    its client area ($bx, $by)
#   screen_shot_when WID CLIENT_W CLIENT_H X Y W H FX
#                                    shoots until FX holds somewhere in the
#                                    client region (painting is done), 10 s at most
#   px X Y                           r,g,b of a client pixel
#   region X Y W H FX                the maximum of FX over a client region
#   frame_region X Y W H FX          the same over a region of the whole frame
#   check NAME GOT WANT              prints ok or FAIL; $fail keeps the verdict
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$root/tools/wine-env"
"$root/tools/wine-prefix"
shot=${BRISVANE_SCREEN_SHOT:-$(mktemp --suffix=.png)}
fail=0 bx=0 by=0 screen_pid=

screen_end() {
  [ -n "$screen_pid" ] && kill "$screen_pid" 2>/dev/null
  [ -n "${BRISVANE_SCREEN_SHOT:-}" ] || rm -f "$shot"
}
trap screen_end EXIT

screen_start() {
  "$WINE64" "$1" </dev/null >/dev/null 2>&1 &
  screen_pid=$!
}

screen_window() {
  timeout 30 xdotool search --sync --onlyvisible --name "$("$root/tools/identity" --regex "$1")" |
    head -1
}

screen_shot() {
  local w h
  import -window "$1" "$shot"
  read -r w h < <(convert "$shot" -format '%w %h\n' info:)
  # No window manager: the X window is the whole frame, the client area at
  # its bottom with equal side borders.
  bx=$(( (w - $2) / 2 ))
  by=$(( h - $3 - bx ))
}

screen_shot_when() {
  screen_shot "$1" "$2" "$3"
  for _ in $(seq 100); do
    [ "$(region "$4" "$5" "$6" "$7" "$8")" = 1 ] && return
    sleep 0.1
    screen_shot "$1" "$2" "$3"
  done
}

px() {
  local x=$(( $1 + bx )) y=$(( $2 + by ))
  convert "$shot" -format \
    "%[fx:int(255*p{$x,$y}.r+.5)],%[fx:int(255*p{$x,$y}.g+.5)],%[fx:int(255*p{$x,$y}.b+.5)]" info:
}

frame_region() {
  convert "$shot" -crop "$3x$4+$1+$2" +repage -fx "$5" -format '%[fx:maxima]' info:
}

region() { frame_region $(( $1 + bx )) $(( $2 + by )) "$3" "$4" "$5"; }

check() {
  if [ "$2" != "$3" ]; then echo "FAIL $1: got $2, want $3"; fail=1; else echo "ok   $1"; fi
}
