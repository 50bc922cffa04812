# Shared by the toolbox test scripts (sourced): the check counter and small MIDI files written byte by byte.

# A scratch folder, removed at the end (a script that sets its own EXIT trap removes it there).
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

passed=0
failures=0
check() {  # description, then a command that must succeed
  local what=$1 status=$?
  shift
  if last_status=$status "$@"; then
    echo "ok: $what"
    passed=$((passed + 1))
  else
    echo "FAILED: $what"
    failures=$((failures + 1))
  fi
}

# exited CODE COMMAND...: the command before the check ended with CODE, and COMMAND succeeds. (A $(...) in
# the check's words would run first and replace that status.)
exited() { [ "$last_status" -eq "$1" ] && "${@:2}"; }
same() { diff -u "$2" "$1" >&2; }  # actual, expected

finish() {  # the closing line that CTest's log and a reader look for; the script's status
  echo "$passed passed, $failures failed"
  [ "$failures" -eq 0 ]
}

u8() {  # the bytes given in decimal
  local value
  for value in "$@"; do printf "\\$(printf %03o "$value")"; done
}
codes() {  # the character codes of a text, in decimal, for a text event
  local text=$1 i
  for ((i = 0; i < ${#text}; i++)); do printf '%d ' "'${text:i:1}"; done
}

# song FILE DIVISION BYTE...: a format-0 file of the track's bytes (decimal, delta times too) and End of Track.
song() {
  local file=$1 division=$2
  shift 2
  local track=("$@" 0 255 47 0)
  local n=${#track[@]}
  {
    printf 'MThd'
    u8 0 0 0 6 0 0 0 1 $((division >> 8 & 255)) $((division & 255))
    printf 'MTrk'
    u8 $((n >> 24 & 255)) $((n >> 16 & 255)) $((n >> 8 & 255)) $((n & 255))
    u8 "${track[@]}"
  } >"$file"
}
tempo120=(255 81 3 7 161 32)  # set tempo, 500000 us a beat (after its delta time)
tempo60=(255 81 3 15 66 64)   # 1000000 us a beat

silence_at() {  # TIME: All Notes Off on channels 1..16, as the capture writes them
  local channel
  for ((channel = 0; channel < 16; channel++)); do printf '%s\t%d\t123\t0\n' "$1" $((176 + channel)); done
}

# A private JACK server on the dummy backend, never a user's or a parallel run's; its id in $jackd_pid.
# Synchronous (-S), as stale port buffers would duplicate messages on a loaded machine; the timeout covers a
# libjack that never answers, which jack_wait's own limit does not.
start_jack() {
  export JACK_DEFAULT_SERVER="sonvela-test-$$" JACK_NO_START_SERVER=1
  jackd --no-realtime -S -t 2000 -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 64 >"$work/jackd.log" 2>&1 &
  jackd_pid=$!
  timeout 25 jack_wait -s "$JACK_DEFAULT_SERVER" -w -t 20 >/dev/null 2>&1
}

# Stops a process of the script by its id: SIGINT (else jack_midi_dump hangs the server), then 5 s at most.
stop_pid() {
  kill -INT "$1" 2>/dev/null || return 0
  for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  kill -KILL "$1" 2>/dev/null
  wait "$1" 2>/dev/null
}
