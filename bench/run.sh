#!/bin/bash
# Start-up time and footprint of Pellmorvaine.exe against a minimal Win32
# program of the same toolchain (bench/minimal_window.cpp), under Wine.
#   bench/run.sh [runs]     (default 7 start-ups of each; medians)
# Builds in build/bench/ and runs in its own prefix (BRISVANE_WINEPREFIX,
# default build/bench-prefix), whose wineserver it stops at the end.
# The 32-bit product only starts under emulation here (a minute a start), so
# times and memory are those of the x86_64 test build of the same sources.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-7}
mem_runs=3
out=$root/build/bench
mkdir -p "$out"

build() {  # dir toolchain build-type
  cmake -S "$root" -B "$out/$1" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$2.cmake" \
    -DCMAKE_BUILD_TYPE="$3" >/dev/null
  cmake --build "$out/$1" --target Pellmorvaine >/dev/null
}
build win32 mingw-i686 MinSizeRel  # the product, as the win32 preset builds it
build win64 mingw-x86_64 Release   # the test vehicle, as the win64 preset builds it

# The yardstick with the link flags of each Pellmorvaine build.
flags=(-std=c++17 -Wall -Wextra -Werror -DUNICODE -D_UNICODE
       -static -static-libgcc -static-libstdc++ -municode)
i686-w64-mingw32-g++-win32 "${flags[@]}" -Os -s -ffunction-sections -Wl,--gc-sections \
  -mwindows "$root/bench/minimal_window.cpp" -o "$out/minimal32.exe"
x86_64-w64-mingw32-g++-posix "${flags[@]}" -O3 -DNDEBUG -mwindows \
  "$root/bench/minimal_window.cpp" -o "$out/minimal64.exe"
x86_64-w64-mingw32-g++-posix "${flags[@]}" -O2 "$root/bench/launcher.cpp" -lpsapi \
  -o "$out/launcher.exe"

export BRISVANE_WINEPREFIX=${BRISVANE_WINEPREFIX:-$root/build/bench-prefix}
source "$root/tools/wine-env"
trap '"$WINESERVER" -k 2>/dev/null || true; rm -f "$WINEPREFIX/.brisvane-server"' EXIT
rm -f "$WINEPREFIX/.brisvane-server"
"$root/tools/wine-prefix"  # a persistent wineserver and Wine's services, started before us

# A stand-in licensing script that prints 64 KB (1024 lines of 62 characters
# and CR LF) through Wine's cscript; no Office 2016, so the pane ends with
# its not-found line once the run is over.
office="$WINEPREFIX/drive_c/Program Files/Microsoft Office"
rm -rf "$office" "$WINEPREFIX/drive_c/Program Files (x86)/Microsoft Office"
mkdir -p "$office/Office15"
printf 'For i = 1 To 1024\r\n  WScript.Echo "%s"\r\nNext\r\n' \
  "01234567890123456789012345678901234567890123456789012345678901" >"$office/Office15/OSPP.VBS"

pell=$out/win64/Pellmorvaine.exe
pell_caption='Brisvane [Office 2013 and 2016 Edition: Last 5 Digits]'
minimal=$out/minimal64.exe
minimal_caption='Minimal window'
launch() { "$WINE64" "$out/launcher.exe" "$@" </dev/null; }

median() { sort -n | awk '{v[NR] = $1} END {
  if (NR == 0) { print "n/a"; exit }
  m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.10g\n", m }'; }

startup=$(launch startup "$runs" "$pell" "$pell_caption" "$minimal" "$minimal_caption")
times() { awk -v w="$1" '$1 == w {print $2}' <<<"$startup"; }
start_pell=$(times A | median) start_min=$(times B | median)
range() { times "$1" | sort -n | sed -n '1p;$p' | paste -sd- ; }

# Each line: pane_chars N peak_ws N ws N peak_pagefile N pagefile N.
shown='' ran='' bare=''
for _ in $(seq "$mem_runs"); do
  shown+=$(launch memory "$pell" "$pell_caption")$'\n'
  ran+=$(launch memory "$pell" "$pell_caption" 1 'Microsoft Office 2016 not found!')$'\n'
  bare+=$(launch memory "$minimal" "$minimal_caption")$'\n'
done
field() { awk -v k="$2" '{for (i = 1; i < NF; i += 2) if ($i == k) print $(i + 1)}' <<<"$1" | median; }

ms() { awk -v t="$1" 'BEGIN {printf "%.1f ms", t}'; }
kb() { awk -v b="$1" 'BEGIN {printf "%.1f KB", b / 1024}'; }
mb() { awk -v b="$1" 'BEGIN {printf "%.2f MB", b / 1048576}'; }
more_mb() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%+.2f MB", (a - b) / 1048576}'; }
size_pell=$(stat -c %s "$out/win32/Pellmorvaine.exe")
size_min=$(stat -c %s "$out/minimal32.exe")
ratio=$(awk -v a="$start_pell" -v b="$start_min" 'BEGIN {printf "%.2f", a / b}')

row() { printf '%-50s %14s %14s %16s\n' "$@"; }
mem_row() {  # label pellmorvaine-lines key
  local p m
  p=$(field "$2" "$3") m=$(field "$bare" "$3")
  row "$1" "$(mb "$p")" "$(mb "$m")" "$(more_mb "$p" "$m")"
}
row "" "Pellmorvaine" "minimal" "difference"
row "32-bit exe size (MinSizeRel; target <= 300 KB)" "$size_pell B" "$size_min B" \
  "+$(kb $((size_pell - size_min)))"
row "start to window visible (target ratio <= 1.10)" "$(ms "$start_pell")" "$(ms "$start_min")" \
  "ratio $ratio"
mem_row "peak working set, window shown" "$shown" peak_ws
mem_row "peak working set, 64 KB status run (<= +2 MB)" "$ran" peak_ws
mem_row "peak private bytes, 64 KB status run" "$ran" peak_pagefile
echo
echo "Medians. Start-up: $runs runs of each, alternated, after one warm-up each; ranges" \
  "$(range A) ms and $(range B) ms. Memory: $mem_runs runs each, from GetProcessMemoryInfo;" \
  "Wine answers with the Unix process's peak resident set (VmHWM), Wine's own libraries" \
  "included, so only the differences compare with Windows. The status run put" \
  "$(field "$ran" pane_chars) characters of cscript output in the pane. Times and memory: the x86_64 test build under Wine; the" \
  "32-bit product only starts under emulation here (about a minute)." | fmt -w 100
