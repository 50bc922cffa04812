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

# distance FILE: how far (ms) any onset strays from a steady 250 ms beat, the common latency taken away.
distance() {
  "$onsets_tool" "$1" | awk '{ d = $1 - (NR - 1) * 250; if (NR == 1 || d < lo) lo = d; if (NR == 1 || d > hi) hi = d }
    END { printf "%.3f", (hi - lo) / 2 }'
}
at_most() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a <= b) }'; }
clicks() { "$onsets_tool" "$1" | wc -l; }

"$cli" render "$work/click.mid" "$work/render.wav" >/dev/null 2>"$work/render.err"
check "render exits 0" test $? -eq 0
check "every click is in the rendered sound" test "$(clicks "$work/render.wav")" -eq 16
# FluidSynth starts a message with its next block of 64 frames: 0.73 ms at 44.1 kHz is the floor.
check "rendered clicks land on the beat within half a synth block" at_most "$(distance "$work/render.wav")" 0.75

SONVELA_AUDIO_FILE=$work/live.wav timeout 60 "$cli" play "$work/click.mid" >/dev/null 2>"$work/live.err"
check "live play into a WAV exits 0" test $? -eq 0
check "every click is in the live sound" test "$(clicks "$work/live.wav")" -eq 16
check "live clicks land on the beat within half a synth block" at_most "$(distance "$work/live.wav")" 0.75
# Onset for onset, live minus rendered is one constant (the live file starts before the song), within the
# synth's block (1.45 ms) and a frame: the two files' blocks fall differently on the beat.
spread() {
  paste <("$onsets_tool" "$work/live.wav") <("$onsets_tool" "$work/render.wav") |
    awk '{ d = $1 - $2; if (NR == 1 || d < lo) lo = d; if (NR == 1 || d > hi) hi = d } END { printf "%.3f", hi - lo }'
}
check "live and rendered sound differ only by a constant latency" at_most "$(spread)" 1.5
check "no message came too late for its frame" bash -c "! grep -q 'later than' '$work/live.err'"

finish
