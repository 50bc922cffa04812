#!/usr/bin/env bash
# Where the clicks of a steady beat land in the sound, rendered and played live into a WAV: on the beat
# within half a synth block, the same onset for onset but for a constant latency. Measured in the WAVs, so
# it holds however late the machine lets the player reach its ticks.
set -u
cli=$1
onsets_tool=$(dirname "$cli")/tests/wav_onsets
source "$(dirname "$0")/test_support.bash"

# A claves click on channel 10 every half beat (250 ms at 120 BPM), 16 of them; the tempo's delta is 0.
events=(0 "${tempo120[@]}")
for ((k = 0; k < 16; k++)); do events+=("$([ "$k" -eq 0 ] && echo 0 || echo 24)" 153 75 110 24 137 75 0); done
song "$work/click.mid" 96 "${events[@]}"

# The onsets (ms) of a WAV, or of a steady 250 ms beat.
onsets() { if [ "$1" = beat ]; then seq 0 250 3750; else "$onsets_tool" "$1"; fi; }
sixteen() { [ "$(onsets "$1" | wc -l)" -eq 16 ]; }
# within MS A B: onset for onset, A minus B spreads over at most MS (a common latency taken away).
within() {
  paste <(onsets "$2") <(onsets "$3") | awk -v most="$1" '{ d = $1 - $2; if (NR == 1 || d < lo) lo = d
    if (NR == 1 || d > hi) hi = d } END { printf "spread %.3f ms\n", hi - lo; exit !(NR == 16 && hi - lo <= most) }'
}

"$cli" render "$work/click.mid" "$work/render.wav" >/dev/null 2>"$work/render.err"
check "render exits 0 with every click in the sound" exited 0 sixteen "$work/render.wav"
# FluidSynth starts a message with its next block of 64 frames: 0.73 ms at 44.1 kHz either side of the beat.
check "rendered clicks land on the beat within half a synth block" within 1.5 "$work/render.wav" beat

SONVELA_AUDIO_FILE=$work/live.wav timeout 60 "$cli" play "$work/click.mid" >/dev/null 2>"$work/live.err"
check "live play into a WAV exits 0 with every click in the sound" exited 0 sixteen "$work/live.wav"
check "live clicks land on the beat within half a synth block" within 1.5 "$work/live.wav" beat
# Live minus rendered is one constant (the live file starts before the song), within the synth's block
# (1.45 ms) and a frame: the two files' blocks fall differently on the beat.
check "live and rendered sound differ only by a constant latency" within 1.5 "$work/live.wav" "$work/render.wav"
check "no message came too late for its frame" bash -c "! grep -q 'later than' '$work/live.err'"

finish
