#!/usr/bin/env bash
# `sonvela-cli render`: a WAV of the right length, not silent, with playback's timing; failures reported.
set -u
cli=$1
source "$(dirname "$0")/test_support.bash"
stat_of() { sox "$1" -n "${@:2}" stat 2>&1; }  # file [effects...]
length_of() { stat_of "$1" | awk '/^Length/ { print $3 }'; }
rms_of() { stat_of "$@" | awk '/^RMS +amplitude/ { print $3 }'; }
above() { [ -n "$1" ] && [ -n "$2" ] && awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# The demonstration piece: 19820 ticks at 120 BPM, division 120, so 14400 units a tick against 60000 x 19820:
# it ends on sequencer tick 8259, at 82.59 s; then 2 s of tail.
"$cli" compose "$work" >/dev/null
"$cli" render "$work/creato.mid" "$work/demo.wav" >"$work/render.out" 2>"$work/render.err"
check "render exits 0 and names the file it wrote" exited 0 grep -qxF "$work/demo.wav" "$work/render.out"
check "the demo renders to 82.59 s plus 2 s of tail" test "$(length_of "$work/demo.wav")" = 84.590000
check "the demo is not silent" above "$(rms_of "$work/demo.wav")" 0.01
"$cli" play --fast --capture "$work/demo.tsv" "$work/creato.mid"
check "render ends where playback ends" test "$(tail -1 "$work/demo.tsv" | cut -f1)" = 82590.000

# One note at tick 192 (a delta of 129 64), 1 s in: silence before (FluidSynth's dither aside), sound from
# its tick on.
song "$work/late.mid" 96 0 "${tempo120[@]}" 0 176 7 100 129 64 144 60 100 96 128 60 0
"$cli" render "$work/late.mid" "$work/late.wav" >/dev/null
check "nothing sounds before the note's tick" above 0.0001 "$(rms_of "$work/late.wav" trim 0 0.99)"
check "the note sounds from its tick" above "$(rms_of "$work/late.wav" trim 1.0 0.2)" 0.001

"$cli" render "$work/missing.mid" "$work/missing.wav" >/dev/null 2>"$work/missing.err"
check "a missing song exits 1 and says which" exited 1 grep -qF "$work/missing.mid" "$work/missing.err"
check "and leaves no WAV behind" test ! -e "$work/missing.wav"
"$cli" render "$work/late.mid" "$work/no/such/dir/out.wav" >/dev/null 2>"$work/nodir.err"
check "an unwritable WAV exits 1 and says which" exited 1 grep -qF "$work/no/such/dir/out.wav" "$work/nodir.err"
"$cli" render "$work/late.mid" >/dev/null 2>&1
check "render without OUT.wav is a usage error" test $? -eq 2

finish
