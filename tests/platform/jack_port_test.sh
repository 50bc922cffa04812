#!/usr/bin/env bash
# Real MIDI through real ports: a private JACK server on the dummy backend, then jack_port_check.
# Exit 77 (skipped) when jackd is not installed or will not start here.
set -u
check="$1"

command -v jackd >/dev/null && command -v jack_wait >/dev/null || { echo "SKIP: jackd not installed"; exit 77; }

# A server of our own name, so a user's server or a parallel test run is never touched.
export JACK_DEFAULT_SERVER="sonvela-test-$$"
export JACK_NO_START_SERVER=1
log=$(mktemp)
# Synchronous mode (-S): the server waits for late clients instead of passing on stale port buffers, which
# would duplicate messages on a loaded machine.
jackd --no-realtime -S -t 2000 -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 64 >"$log" 2>&1 &
jackd_pid=$!
cleanup() {
  kill "$jackd_pid" 2>/dev/null
  # A server stuck waiting on libjack's locked database never ends by itself (it holds nothing then).
  for _ in $(seq 50); do kill -0 "$jackd_pid" 2>/dev/null || break; sleep 0.1; done
  kill -KILL "$jackd_pid" 2>/dev/null
  wait "$jackd_pid" 2>/dev/null
  rm -f "$log"
}
trap cleanup EXIT

# jack_wait's own limit does not cover a libjack that never answers.
if ! timeout 25 jack_wait -s "$JACK_DEFAULT_SERVER" -w -t 20 >/dev/null 2>&1; then
  echo "SKIP: jackd did not start (if /dev/shm/jack_db-$(id -u) is left locked, remove it while no JACK program runs)"
  cat "$log"
  exit 77
fi

"$check"
