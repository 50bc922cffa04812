#!/usr/bin/env bash
# The toolbox against a plain dump: `sonvela-cli listing` and `sonvela-cli events` of the load benchmark's
# 12 MB file (3.2 million events) against `midicsv FILE > /dev/null`, whole process, output to /dev/null,
# measured in turn within the same rounds so that a busy machine slows all three alike. Then the peak memory
# of a file that is one 20 MB SysEx, which must load in under 200 MB.
set -euo pipefail
build=${1:-build-bench}
rounds=${ROUNDS:-5}
out=bench/out
mkdir -p "$out"
cli="$build/sonvela-cli"
tool="$build/bench/load_bench"
file="$out/dense_200000.mid"
[ -f "$file" ] || "$tool" generate "$file" 200000 >&2

declare -A best_elapsed best_cpu peak
measure() {  # key, command...: keeps the best elapsed and CPU seconds and the peak memory (KB)
  local key=$1
  shift
  /usr/bin/time -f "%e %U %S %M" -o "$out/time.txt" "$@" >/dev/null
  local elapsed user system rss
  read -r elapsed user system rss <"$out/time.txt"
  local cpu
  cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')
  if [ -z "${best_elapsed[$key]:-}" ] || awk -v a="$elapsed" -v b="${best_elapsed[$key]}" 'BEGIN { exit !(a < b) }'; then
    best_elapsed[$key]=$elapsed
  fi
  if [ -z "${best_cpu[$key]:-}" ] || awk -v a="$cpu" -v b="${best_cpu[$key]}" 'BEGIN { exit !(a < b) }'; then
    best_cpu[$key]=$cpu
  fi
  peak[$key]=$rss
}

for ((round = 1; round <= rounds; round++)); do
  measure midicsv midicsv "$file"
  measure listing "$cli" listing "$file"
  measure events "$cli" events "$file"
done

mb() { awk -v n="$1" -v d="$2" 'BEGIN { printf "%.0f", n / d }'; }
echo "== toolbox against midicsv, $file, best of $rounds rounds"
printf '%-17s %5s s elapsed %5s s CPU %5s MB out %5s MB peak\n' midicsv "${best_elapsed[midicsv]}" \
  "${best_cpu[midicsv]}" "$(mb "$(midicsv "$file" | wc -c)" 1e6)" "$(mb "${peak[midicsv]}" 1024)"
for command in listing events; do
  bytes=$("$cli" "$command" "$file" | wc -c)
  printf '%-17s %5s s elapsed %5s s CPU %5s MB out %5s MB peak %5s MB/s\n' "sonvela $command" \
    "${best_elapsed[$command]}" "${best_cpu[$command]}" "$(mb "$bytes" 1e6)" "$(mb "${peak[$command]}" 1024)" \
    "$(mb "$bytes" "${best_elapsed[$command]}e6")"
done
for command in listing events; do
  awk -v c="$command" -v a="${best_elapsed[$command]}" -v b="${best_elapsed[midicsv]}" \
    -v x="${best_cpu[$command]}" -v y="${best_cpu[midicsv]}" \
    'BEGIN { printf "ratio %s/midicsv: %.2f elapsed, %.2f CPU (at most 1: as fast as the plain dump)\n", c, a / b, x / y }'
done

echo "== one 20 MB SysEx: listing under a 900 MB address-space limit, peak memory"
sysex="$out/sysex_20.mid"
[ -f "$sysex" ] || "$tool" sysex "$sysex" 20 >&2
status=0
(ulimit -v 900000 && /usr/bin/time -f "%M" -o "$out/time.txt" "$cli" listing "$sysex" >/dev/null) || status=$?
rss=$(tail -1 "$out/time.txt")
if [ "$status" -eq 0 ] && [ "$rss" -lt 204800 ]; then
  echo "ok: loaded and listed, peak $((rss / 1024)) MB (limit 200 MB)"
else
  echo "FAILED: exit $status, peak $((rss / 1024)) MB (limit 200 MB)"
  exit 1
fi
