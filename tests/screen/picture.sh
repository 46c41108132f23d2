#!/bin/bash
# The README's picture, made anew from this build, shows a pane that holds
# what the committed picture's pane holds. Compared as text (the comment
# tools/picture.sh writes), not as pixels, since font rendering may differ.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
fresh=$(mktemp --suffix=.png)
trap 'rm -f "$fresh"' EXIT
BRISVANE_IN_TESTS=1 "$root/tools/picture.sh" "$fresh" >/dev/null || { echo "FAIL no picture"; exit 1; }
want=$(identify -format '%c' "$root/docs/main-window.png")
got=$(identify -format '%c' "$fresh")
fail=0
[ -n "$got" ] || { echo "FAIL the new picture holds no pane text"; fail=1; }
case $got in
  *"Installed product key, last 5 characters: 7QK2D"*) ;;
  *) echo "FAIL the pane lacks the stand-in's key line"; fail=1 ;;
esac
if [ "$got" != "$want" ]; then
  echo "FAIL the pane differs from the committed picture's:"
  diff <(printf '%s\n' "$want") <(printf '%s\n' "$got")
  fail=1
fi
[ $fail -eq 0 ] && echo "ok   the pane holds the committed picture's text"
exit $fail
