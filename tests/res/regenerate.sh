#!/bin/bash
# Regenerates the artwork into a scratch folder and compares it byte for byte
# with what is committed, in both directions.
set -euo pipefail
icongen=$1 src=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$icongen" "$out"
status=0
generated=$(cd "$out" && find . -type f | sort)
[ -n "$generated" ] || { echo "icongen wrote nothing"; exit 1; }
for f in $generated; do
  cmp "$out/$f" "$src/$f" || { echo "differs from the committed file: $f"; status=1; }
done
for f in $(cd "$src" && find res/icons -type f | sort) about/design_images.h about/design_images.cpp; do
  [ -f "$out/$f" ] || { echo "committed but not generated: $f"; status=1; }
done
[ $status -eq 0 ] && echo "$(echo "$generated" | wc -l) files reproduced"
exit $status
