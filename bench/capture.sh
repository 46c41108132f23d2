#!/bin/bash
# Times the console capture under Wine, for 64 KB and 1 MB of child output:
# (a) the real capture into the status pane, (b) a bare loop inserting the
# same chunks into the same pane, (c) the pipe drained into nothing.
#   bench/capture.sh [runs]     (default 5; medians)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target capture_bench >/dev/null
exec tools/wine-run build/win64/capture_bench.exe "${1:-5}"
