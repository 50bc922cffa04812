#!/usr/bin/env bash
# `sonvela-cli play` as a user runs it. The exact timing is checked on simulated ticks (--fast --capture);
# real time only loosely (order, never early, clean stop), since the machine's speed must not matter.
set -u
cli=$1
source "$(dirname "$0")/test_support.bash"
# capture FILE [switches...]: simulated ticks into FILE, the output beside it; the player's exit status
capture() { "$cli" play --fast --capture "$1" "${@:2}" >"$1.out" 2>"$1.err"; }
note_ons() { awk -F'\t' '$2 >= 144 && $2 < 160 && $4 > 0 { print $3 }' "$1" | xargs; }

# Division 96, 120 BPM: a tick adds 96 x 120 x 10 = 115200; tick 96 is due at 5760000 = 50 ticks = 500 ms.
# The change to 60 BPM there makes a tick add 57600: 96 more ticks take 100 sequencer ticks, 1000 ms.
song "$work/changes.mid" 96 0 "${tempo120[@]}" 0 144 60 100 96 128 60 0 0 "${tempo60[@]}" 96 144 62 100 96 128 62 0
{ silence_at 0.000 && printf '0.000\t144\t60\t100\n500.000\t128\t60\t0\n1500.000\t144\t62\t100\n2500.000\t128\t62\t0\n' &&
  silence_at 2500.000; } >"$work/changes.expected"
capture "$work/changes.tsv" "$work/changes.mid"
check "fast capture exits 0 and follows the tick arithmetic across a tempo change" \
  exited 0 same "$work/changes.tsv" "$work/changes.expected"

# 120 BPM, set again at tick 0; a note of one beat, on channels 1 and 16 in channels.mid.
song "$work/steady.mid" 96 0 "${tempo120[@]}" 0 144 60 100 96 128 60 0
song "$work/channels.mid" 96 0 "${tempo120[@]}" 0 144 60 100 0 159 62 100 96 128 60 0 0 143 62 0
# Twenty beats, a note of pitch 40 + k on beat k: 1872 ticks, 9.75 s.
beats=()
for ((k = 0; k < 20; k++)); do beats+=($((k == 0 ? 0 : 48)) 144 $((40 + k)) 100 48 128 $((40 + k)) 0); done
song "$work/long.mid" 96 0 "${tempo120[@]}" "${beats[@]}"
# What the switches do: description | switches | a line the capture holds | the pitches of its note-ons.
switched() { grep -qx -- "$1" "$work/switch.tsv" && test "$(note_ons "$work/switch.tsv")" = "$2"; }
while IFS='|' read -r what switches line ons; do
  # shellcheck disable=SC2086
  capture "$work/switch.tsv" $switches
  check "$what" switched "$line" "$ons"
done <<TABLE
--halve --fix plays 120 BPM at 60|--halve --fix $work/steady.mid|1000.000	128	60	0|60
without --fix the song's tempo event undoes --halve|--halve $work/steady.mid|500.000	128	60	0|60
--double --fix plays at 240|--fix --double $work/steady.mid|250.000	128	60	0|60
--mute sends data 2 as 0|--mute $work/steady.mid|0.000	144	60	0|
a second --off 16 switches it on again|--off 16 --off 16 $work/channels.mid|0.000	159	62	100|60 62
--solo 1 then --off 1 silences both|--solo 1 --off 1 $work/channels.mid|0.000	176	123	0|
--off 16 then --solo 16 plays channel 16|--off 16 --solo 16 $work/channels.mid|0.000	159	62	100|62
--intro plays the first 4 s and ends at the progress tick after them|--intro $work/long.mid|4100.000	191	123	0|40 41 42 43 44 45 46 47 48
--continuo --intro plays 4 s of each, the next from the wall-clock tick after|--continuo --intro $work/long.mid $work/long.mid|9100.000	191	123	0|40 41 42 43 44 45 46 47 48 40 41 42 43 44 45 46 47 48
TABLE

# Continuo: the next file starts at the wall-clock tick after the end (ResetSong and Play both silence).
capture "$work/continuo.tsv" --continuo "$work/changes.mid" "$work/steady.mid"
check "--continuo plays the files in turn and stops after the last" same "$work/continuo.tsv" \
  <(cat "$work/changes.expected" && silence_at 3000.000 && silence_at 3000.000 &&
    printf '3000.000\t144\t60\t100\n3500.000\t128\t60\t0\n' && silence_at 3500.000)

# Loop between 50 % and 75 % (ticks 936 and 1404): beats 0..14 once, then 10..14 again and again.
capture "$work/loop.tsv" --loop 50 75 --stop-after 15 "$work/long.mid"
again=$(seq -s ' ' 50 54)
check "--loop START END repeats the part between the marks, --stop-after ends it at its time, silenced" \
  same <(note_ons "$work/loop.tsv" && tail -16 "$work/loop.tsv") \
  <(echo "$(seq -s ' ' 40 54) $again $again $again 50" && silence_at 15000.000)
capture "$work/whole.tsv" --loop 0 100 --stop-after 1 "$work/steady.mid"
check "--loop 0 100 loops the whole song" exited 0 grep -qx $'1000.000\t128\t60\t0' "$work/whole.tsv"

"$cli" play --fast --monitor --capture "$work/monitor.tsv" "$work/steady.mid" >"$work/monitor.out" 2>&1
check "--monitor prints the monitor line of an event played and of what was sent" bash -c \
  "grep -q '/chn= 1/&h90 060 on' '$work/monitor.out' && grep -qx 'da1= 128 da2=  60 da3=   0 da4=   96' '$work/monitor.out'"

# Failures: exit status | what standard error holds | the arguments. At division 0 the clock cannot move.
printf 'MThd\0\0\0\6\0\0\0\1\0\0MTrk\0\0\0\014\0\220\074\144\140\200\074\0\0\377\057\0' >"$work/still.mid"
while IFS='|' read -r status text args; do
  # shellcheck disable=SC2086
  timeout 20 "$cli" play $args >/dev/null 2>"$work/failed.err"
  check "play $args: exit $status, '$text'" exited "$status" grep -qF -- "$text" "$work/failed.err"
done <<TABLE
1|cannot advance (Division 0|--fast --capture $work/still.tsv $work/still.mid
1|$work/missing.mid|--fast --capture $work/missing.tsv $work/missing.mid
1|$work/missing.mid|--fast --capture $work/missing.tsv --continuo $work/missing.mid $work/steady.mid
1|"$work/no/such/dir/c.tsv": No such file or directory|--fast --capture $work/no/such/dir/c.tsv $work/steady.mid
2|at least one FILE|
2|--continuo|$work/steady.mid $work/steady.mid
2|channel 1..16|--off 17 $work/steady.mid
2|channel 1..16|--solo 0 $work/steady.mid
2|START < END|--loop 60 40 $work/steady.mid
2|START < END|--loop 40 40 $work/steady.mid
2|START < END|--loop 50 100.5 $work/steady.mid
2|repeat for ever|--fast --loop 10 20 $work/steady.mid
2|no --port|--capture $work/x.tsv --port 1 $work/steady.mid
2|no MIDI output device 99|--port 99 $work/steady.mid
2|Unknown option|--bogus $work/steady.mid
TABLE
capture "$work/skip.tsv" --continuo "$work/changes.mid" "$work/missing.mid" "$work/steady.mid"
check "--continuo goes on past a missing file at once, then exits 1" \
  exited 1 grep -qx $'3000.000\t144\t60\t100' "$work/skip.tsv"

# Real time, loosely: the same messages in the same order as on simulated ticks, none before its time.
song "$work/second.mid" 96 0 "${tempo120[@]}" 0 144 60 100 0 145 64 90 96 128 60 0 96 129 64 0
capture "$work/ideal.tsv" "$work/second.mid"
timeout 30 "$cli" play --capture "$work/real.tsv" "$work/second.mid"
check "real-time capture of a 1 s song exits 0 and sends what the ticks send, in order" \
  exited 0 same <(cut -f2- "$work/real.tsv") <(cut -f2- "$work/ideal.tsv")
none_early() { paste "$work/real.tsv" "$work/ideal.tsv" | awk -F'\t' '$1 < $5 { early = 1 } END { exit early }'; }
check "real time sends nothing before its time" none_early

if command -v script >/dev/null; then
  # Ctrl-C on the terminal, a second into the song: it stops at once, silenced, the capture written.
  ctrl_c() {
    for _ in $(seq 400); do grep -q Tempo: "$work/interrupted.out" 2>/dev/null && break; sleep 0.05; done
    printf '\003'
  }
  ctrl_c | script -qec "'$cli' play --capture '$work/interrupted.tsv' '$work/long.mid'" /dev/null \
    >"$work/interrupted.out" 2>&1
  check "Ctrl-C exits 130" test $? -eq 130
  check "Ctrl-C came in the middle of the song" \
    awk -F'\t' '$2 == 144 { n++ } END { exit !(n >= 1 && n < 20) }' "$work/interrupted.tsv"
  check "Ctrl-C silences every channel last" same <(tail -16 "$work/interrupted.tsv" | cut -f2-) \
    <(silence_at 0 | cut -f2-)

else
  echo "skipped: no script command for a terminal"
fi
# The built-in synth without an audio output, then into a WAV in real time: the first note sounds, so the
# SoundFont was there before Play.
SONVELA_AUDIO_DRIVER=no-such-driver timeout 30 "$cli" play "$work/steady.mid" >/dev/null 2>"$work/silent.err"
check "without sound play still ends with exit 0, saying once that it plays silently" \
  bash -c "test $? -eq 0 && test \$(grep -c 'playing silently' '$work/silent.err') -eq 1"
SONVELA_AUDIO_FILE="$work/played.wav" timeout 30 "$cli" play "$work/steady.mid" 2>/dev/null
audible() { sox "$1" -n stat 2>&1 | awk '/RMS +amplitude/ { exit !($3 > 0.001) }'; }
check "play on the built-in synth sounds from the first note" audible "$work/played.wav"
check "help shows the loop's two values" grep -qF -- '--loop <START END>' <("$cli" play --help)

finish
