#!/usr/bin/env bash
# The painters' timings, with the song map of the 3.2 million event file of load_bench.sh (made when missing).
# Use: bench/views_bench.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build-bench}
out=bench/out
mkdir -p "$out"
file="$out/dense_200000.mid"
[ -f "$file" ] || "$build/bench/load_bench" generate "$file" 200000 >&2
echo "== Views: painters at the sizes of a 1280 x 800 screen" >&2
QT_QPA_PLATFORM=offscreen "$build/bench/views_bench" "$file"
