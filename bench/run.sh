#!/bin/bash
# Start-up time, footprint and size of Pellmorvaine.exe against two
# yardsticks of the same toolchain and flags, under Wine:
#   floor    only what the design obliges before the main window shows
#            (bench/floor_window.cpp)
#   minimal  one empty window (bench/minimal_window.cpp)
#   bench/run.sh [runs]     (default 41 start-ups of each, taken in turn)
# Builds the win32 and win64 presets' targets and runs in a prefix of its own
# (build/bench-prefix), whose wineserver it stops at the end. The 32-bit
# product starts here only under emulation (minutes a start), so times and
# memory are those of the x86_64 build of the same sources; sizes are the
# 32-bit product's.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
runs=${1:-41}
mem_runs=3
for preset in win32 win64; do
  cmake --preset $preset >/dev/null
  cmake --build --preset $preset --target Pellmorvaine floor_window minimal_window >/dev/null
done
cmake --build --preset win64 --target bench_launcher >/dev/null

export BRISVANE_WINEPREFIX=$root/build/bench-prefix
source tools/wine-env
trap '"$WINESERVER" -k 2>/dev/null || true; rm -f "$WINEPREFIX/.brisvane-server"' EXIT
tools/wine-prefix  # a persistent wineserver and Wine's services, started before us

# A stand-in licensing script that prints 64 KB (1024 lines of 62 characters
# and CR LF) through Wine's cscript; no Office 2016, so the pane ends with
# its not-found line once the run is over.
office="$WINEPREFIX/drive_c/Program Files/Microsoft Office"
rm -rf "$office" "$WINEPREFIX/drive_c/Program Files (x86)/Microsoft Office"
mkdir -p "$office/Office15"
printf 'For i = 1 To 1024\r\n  WScript.Echo "%s"\r\nNext\r\n' \
  "01234567890123456789012345678901234567890123456789012345678901" >"$office/Office15/OSPP.VBS"

w64=build/win64 w32=build/win32
caption=$(tools/identity BRISVANE_MAIN_CAPTION)
last=$(printf '%s' 'Microsoft Office 2016 not found!')
launch() { "$WINE64" $w64/bench_launcher.exe "$@" </dev/null; }

# Start-ups taken in turn, so that drift hits all three alike.
# Each line: A|B|C milliseconds.
startup=$(launch startup "$runs" $w64/Pellmorvaine.exe "$caption" \
  $w64/floor_window.exe 'Floor window' $w64/minimal_window.exe 'Minimal window')
times() { awk -v w="$1" '$1 == w {print $2}' <<<"$startup" | sort -n; }
median() { awk '{v[NR] = $1} END { if (NR == 0) { print "n/a"; exit }
  m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.10g\n", m }'; }
best() { head -1; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.3f", a / b}'; }
ms() { awk -v t="$1" 'BEGIN {printf "%.1f ms", t}'; }
for w in A B C; do
  eval "best_$w=$(times $w | best) median_$w=$(times $w | median)"
done

# Each line: pane_chars N peak_ws N ws N peak_pagefile N pagefile N.
shown='' ran='' bare=''
for _ in $(seq "$mem_runs"); do
  shown+=$(launch memory $w64/Pellmorvaine.exe "$caption")$'\n'
  ran+=$(launch memory $w64/Pellmorvaine.exe "$caption" 1 "$last")$'\n'
  bare+=$(launch memory $w64/minimal_window.exe 'Minimal window')$'\n'
done
field() { awk -v k="$2" '{for (i = 1; i < NF; i += 2) if ($i == k) print $(i + 1)}' <<<"$1" | sort -n | median; }
mb() { awk -v b="$1" 'BEGIN {printf "%.2f MB", b / 1048576}'; }
more_mb() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%+.2f MB", (a - b) / 1048576}'; }

row() { printf '%-44s %14s %14s %14s\n' "$@"; }
row "" "Pellmorvaine" "floor" "minimal"
row "32-bit exe size (MinSizeRel; target 160 KB)" "$(stat -c %s $w32/Pellmorvaine.exe) B" \
  "$(stat -c %s $w32/floor_window.exe) B" "$(stat -c %s $w32/minimal_window.exe) B"
row "start to window visible, best of $runs" "$(ms "$best_A")" "$(ms "$best_B")" "$(ms "$best_C")"
row "start to window visible, median" "$(ms "$median_A")" "$(ms "$median_B")" "$(ms "$median_C")"
row "  ratio of the best (target <= 1.05 x floor)" "" "$(ratio "$best_A" "$best_B")" \
  "$(ratio "$best_A" "$best_C")"
row "  ratio of the medians (target <= 1.03 x floor)" "" "$(ratio "$median_A" "$median_B")" \
  "$(ratio "$median_A" "$median_C")"
mem_row() {  # label pellmorvaine-lines key
  local p m
  p=$(field "$2" "$3") m=$(field "$bare" "$3")
  row "$1" "$(mb "$p")" "" "$(mb "$m") ($(more_mb "$p" "$m"))"
}
mem_row "peak working set, window shown" "$shown" peak_ws
mem_row "peak working set, 64 KB status run" "$ran" peak_ws
mem_row "peak private bytes, 64 KB status run" "$ran" peak_pagefile
echo
echo "Start-up: $runs start-ups of each, in turn, after one warm-up each; from CreateProcess" \
  "to the first poll that sees the main window visible. Memory: medians of $mem_runs runs," \
  "from GetProcessMemoryInfo; Wine answers with the Unix process's peak resident set, Wine's" \
  "own libraries included, so only the differences compare with Windows. The status run put" \
  "$(field "$ran" pane_chars) characters of cscript output in the pane." | fmt -w 100
