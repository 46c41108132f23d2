#!/bin/bash
# Times the console capture under Wine, for 64 KB and 1 MB of child output:
# (a) the real capture into a pane-styled EDIT, (b) a bare loop inserting the
# same chunks into the same EDIT, (c) the pipe drained into nothing.
#   bench/capture.sh [runs]     (default 5; medians)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/cap-bench
mkdir -p "$out"
x86_64-w64-mingw32-g++-posix -std=c++17 -O2 -Wall -Wextra -Werror \
  -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0601 \
  -I"$root" "$root/bench/capture_bench.cpp" \
  $(ls "$root"/capture/*.cpp) \
  -static -static-libgcc -static-libstdc++ -lpsapi -luser32 -o "$out/capture_bench.exe"
exec "$root/tools/wine-run" "$out/capture_bench.exe" "${1:-5}"
