#!/usr/bin/env bash
# `sonvela-cli render`: a WAV of the right length, not silent, with playback's timing; failures reported.
# The clicks of a beat, rendered and played live into a WAV, land on it within half a synth block: measured
# in the WAVs, so however late the machine lets the player reach its ticks.
set -u
cli=$1
onsets_tool=$(dirname "$cli")/tests/wav_onsets
source "$(dirname "$0")/test_support.bash"
stat_of() { sox "$1" -n "${@:2}" stat 2>&1; }  # file [effects...]
length_of() { stat_of "$1" | awk '/^Length/ { print $3 }'; }
rms_of() { stat_of "$@" | awk '/^RMS +amplitude/ { print $3 }'; }
above() { [ -n "$1" ] && [ -n "$2" ] && awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
onsets() { if [ "$1" = beat ]; then seq 0 250 3750; else "$onsets_tool" "$1"; fi; }  # ms, of a WAV or a beat
# within MS A B: 16 onsets each, and A minus B spreads over at most MS (a common latency taken away).
within() {
  paste <(onsets "$2") <(onsets "$3") | awk -v most="$1" '{ d = $1 - $2; if (NR == 1 || d < lo) lo = d
    if (NR == 1 || d > hi) hi = d } END { printf "spread %.3f ms\n", hi - lo; exit !(NR == 16 && hi - lo <= most) }'
}

# The demonstration piece: 19820 ticks at 120 BPM, division 120, so 14400 units a tick against 60000 x 19820:
# it ends on sequencer tick 8259, at 82.59 s; then 2 s of tail.
"$cli" compose "$work" >/dev/null
"$cli" render "$work/creato.mid" "$work/demo.wav" >"$work/render.out" 2>"$work/render.err"
check "render exits 0 and names the file it wrote" exited 0 grep -qxF "$work/demo.wav" "$work/render.out"
check "the demo renders to 82.59 s plus 2 s of tail" test "$(length_of "$work/demo.wav")" = 84.590000
check "the demo is not silent" above "$(rms_of "$work/demo.wav")" 0.01
"$cli" play --fast --capture "$work/demo.tsv" "$work/creato.mid"
check "render ends where playback ends" test "$(tail -1 "$work/demo.tsv" | cut -f1)" = 82590.000

# A claves click on channel 10 every half beat (250 ms at 120 BPM), 16 of them, the first at tick 192 (a
# delta of 129 64), 1 s in: silence before it (FluidSynth's dither aside), sound from its tick on.
events=(0 "${tempo120[@]}")
events+=(129 64 153 75 110 24 137 75 0)
for ((k = 1; k < 16; k++)); do events+=(24 153 75 110 24 137 75 0); done
song "$work/click.mid" 96 "${events[@]}"
"$cli" render "$work/click.mid" "$work/render.wav" >/dev/null
check "render exits 0" test $? -eq 0
check "nothing sounds before the first click's tick" above 0.0001 "$(rms_of "$work/render.wav" trim 0 0.99)"
check "the click sounds from its tick" above "$(rms_of "$work/render.wav" trim 1.0 0.2)" 0.001
# FluidSynth starts a message with its next block of 64 frames: 0.73 ms at 44.1 kHz either side of the beat.
check "all 16 rendered clicks land on the beat within half a synth block" within 1.5 "$work/render.wav" beat

SONVELA_AUDIO_FILE=$work/live.wav timeout 60 "$cli" play "$work/click.mid" >/dev/null 2>"$work/live.err"
check "live play into a WAV exits 0" test $? -eq 0
check "all 16 live clicks land on the beat within half a synth block" within 1.5 "$work/live.wav" beat
# Live minus rendered is one constant (the live file starts before the song), within the synth's block
# (1.45 ms) and a frame: the two files' blocks fall differently on the beat.
check "live and rendered sound differ only by a constant latency" within 1.5 "$work/live.wav" "$work/render.wav"
check "no message came too late for its frame" bash -c "! grep -q 'later than' '$work/live.err'"

"$cli" render "$work/missing.mid" "$work/missing.wav" >/dev/null 2>"$work/missing.err"
check "a missing song exits 1 and says which" exited 1 grep -qF "$work/missing.mid" "$work/missing.err"
check "and leaves no WAV behind" test ! -e "$work/missing.wav"
"$cli" render "$work/click.mid" "$work/no/such/dir/out.wav" >/dev/null 2>"$work/nodir.err"
check "an unwritable WAV exits 1 and says which" exited 1 grep -qF "$work/no/such/dir/out.wav" "$work/nodir.err"
"$cli" render "$work/click.mid" >/dev/null 2>&1
check "render without OUT.wav is a usage error" test $? -eq 2

finish
