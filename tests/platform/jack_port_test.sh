#!/usr/bin/env bash
# Real MIDI through real ports: a private JACK server, then the check program with its arguments. Exit 77
# (skipped) when jackd is not installed or will not start here.
set -u
source "$(dirname "$0")/../cli/test_support.bash"
command -v jackd >/dev/null && command -v jack_wait >/dev/null || { echo "SKIP: jackd not installed"; exit 77; }
jackd_pid=
trap '[ -n "$jackd_pid" ] && stop_pid "$jackd_pid"; rm -rf "$work"' EXIT
start_jack || {
  echo "SKIP: jackd did not start (if /dev/shm/jack_db-$(id -u) is left locked, remove it while no JACK program runs)"
  cat "$work/jackd.log"; exit 77
}
"$@"
