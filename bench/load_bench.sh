#!/usr/bin/env bash
# Loads a 12 MB file of 3.2 million events (16 dense tracks) and compares with midicsv on the same file.
# Also loads a quarter and a half of it, to show that time grows linearly with the file.
set -euo pipefail
build=${1:-build-bench}
out=bench/out
mkdir -p "$out"
tool="$build/bench/load_bench"

measure() {  # label, command...: elapsed seconds and peak memory
  local label=$1
  shift
  /usr/bin/time -f "%e %M" -o "$out/time.txt" "$@" >"$out/stdout.txt"
  read -r elapsed rss <"$out/time.txt"
  echo "$label: elapsed ${elapsed} s, peak ${rss} KB" >&2
  echo "$elapsed"
}

for events in 50000 100000 200000; do
  "$tool" generate "$out/dense_$events.mid" "$events" >&2
done
file="$out/dense_200000.mid"

echo "== Sonvela load (read, analysis with the complete listing, event table)" >&2
ours=$(measure "sonvela" "$tool" load "$file")
cat "$out/stdout.txt" >&2
echo "== midicsv (plain text dump)" >&2
theirs=$(measure "midicsv" midicsv "$file" /dev/null)
ours2=$(measure "sonvela, again" "$tool" load "$file")
theirs2=$(measure "midicsv, again" midicsv "$file" /dev/null)
awk -v a="$ours" -v b="$theirs" -v c="$ours2" -v d="$theirs2" \
  'BEGIN { printf "ratio sonvela/midicsv: %.2f and %.2f (below 1: faster)\n", a / b, c / d }'

"$tool" load "$file" --items | grep "item once" >&2
echo "== linearity: time per event at a quarter, a half and the whole" >&2
for events in 50000 100000 200000; do
  "$tool" load "$out/dense_$events.mid" | grep -E "ns per event|total" | tr '\n' ' '
  echo " ($events events per track)"
done
