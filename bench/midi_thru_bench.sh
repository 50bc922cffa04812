#!/usr/bin/env bash
# MIDI thru latency on a private JACK server (dummy backend, 48 kHz, 64 frames: 1.33 ms a period), in
# synchronous mode as the tests run it, then in the server's default asynchronous mode.
# Use: bench/midi_thru_bench.sh [BUILD_DIR] [NOTES]
set -uo pipefail
build=${1:-build-bench}
notes=${2:-1000}
bench="$build/bench/midi_thru_bench"

command -v jackd >/dev/null && command -v jack_wait >/dev/null || { echo "SKIP: jackd not installed"; exit 0; }
export JACK_NO_START_SERVER=1
status=0
for mode in synchronous asynchronous; do
  export JACK_DEFAULT_SERVER="sonvela-bench-$$-$mode"
  sync_flag=()
  [ "$mode" = synchronous ] && sync_flag=(-S -t 2000)
  log=$(mktemp)
  jackd --no-realtime "${sync_flag[@]}" -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 64 >"$log" 2>&1 &
  jackd_pid=$!
  echo "== MIDI thru, JACK dummy server, 64 frames at 48 kHz, $mode mode =="
  if jack_wait -s "$JACK_DEFAULT_SERVER" -w -t 15 >/dev/null 2>&1; then
    QT_QPA_PLATFORM=offscreen "$bench" "$notes" 2>/dev/null || status=1
    echo
    QT_QPA_PLATFORM=offscreen "$bench" "$notes" busy 2>/dev/null || status=1
  else
    echo "SKIP: jackd did not start"
    cat "$log"
  fi
  kill "$jackd_pid" 2>/dev/null && wait "$jackd_pid" 2>/dev/null
  # Without real-time scheduling on a shared machine the server misses cycles now and then; the MIDI of a
  # client that was not finished in its cycle is dropped by JACK itself, for the peer as for the thru.
  echo "JACK cycles missed (xruns) over both runs: $(grep -c 'XRun' "$log")"
  rm -f "$log"
  echo
done
exit $status
