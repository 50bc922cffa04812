#!/usr/bin/env bash
# `sonvela-cli devices` and `play --port N`: the lists as the device dialogs show them, and real MIDI through
# a port of a private JACK server on the dummy backend (that part is skipped when jackd cannot run here).
set -u
cli=$1
source "$(dirname "$0")/test_support.bash"
started=()  # background processes of the script, stopped at the end by their ids, last first
trap 'for ((i = ${#started[@]} - 1; i >= 0; i--)); do stop_pid "${started[i]}"; done; rm -rf "$work"' EXIT

"$cli" devices >"$work/devices.txt" 2>"$work/devices.err"
check "devices exits 0: the outputs under their dialog's title, the built-in synth as 0, then the inputs" \
  exited 0 same <(head -2 "$work/devices.txt"; grep -x 'Midi in device' "$work/devices.txt") \
  <(printf 'Midi out device\n 0 Sonvela Synth (FluidSynth)\nMidi in device\n')
# Only our own line saying why JACK is not used, should libjack not answer on this machine.
check "no library chatter" test -z "$(grep -v '^JACK: ' "$work/devices.err")"

jack_ports() {
  type -P jackd jack_wait jack_midi_dump jack_midiseq >/dev/null ||
    { echo "skipped: the JACK tools are not installed" && return; }
  start_jack
  local ok=$?
  started+=("$jackd_pid")
  [ $ok -eq 0 ] || { echo "skipped: jackd did not start" && return; }
  # A client with a MIDI input (an output device for us) and one with a MIDI output (an input device).
  jack_midi_dump >"$work/dump.txt" 2>&1 &
  started+=($!)
  jack_midiseq Seq 24000 0 60 8000 >/dev/null 2>&1 &
  started+=($!)
  listed() { grep -q "Seq:out" "$work/jack.txt" && grep -q "midi-monitor:input" "$work/jack.txt"; }
  local deadline=$((SECONDS + 20))
  until "$cli" devices >"$work/jack.txt" 2>&1 && listed || [ $SECONDS -ge $deadline ]; do sleep 0.1; done
  check "a JACK client's input is listed as output 1, its output as input 0" same \
    <(sed -n 3p "$work/jack.txt"; grep -A1 -x 'Midi in device' "$work/jack.txt" | sed 1d) \
    <(printf ' 1 midi-monitor:input\n 0 Seq:out\n')

  song "$work/steady.mid" 96 0 "${tempo120[@]}" 0 144 60 100 96 128 60 0
  timeout 30 "$cli" play --port 1 "$work/steady.mid" 2>"$work/port.err"
  check "play --port 1 exits 0" test $? -eq 0
  # Sixteen All Notes Off at Play and sixteen at the end: the dump's printing thread may lag behind.
  all_notes_off() { grep -c "controller 123, value   0" "$work/dump.txt"; }
  deadline=$((SECONDS + 20))
  until [ "$(all_notes_off)" -ge 32 ] || [ $SECONDS -ge $deadline ]; do sleep 0.1; done
  check "the port received the note on, then its note off" \
    grep -qz "90 3c 64 note on.*80 3c 00 note off" "$work/dump.txt"
  check "and all notes off at the end, when the port closed at once after them" test "$(all_notes_off)" -ge 32
}
jack_ports

finish
