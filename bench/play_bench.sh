#!/usr/bin/env bash
# Playback benchmarks.
#  1. Real-time `play --capture` of a dense song with tempo changes: each message's lateness against its ideal
#     time, which is 10 ms x the tick at which it falls due and is exactly what `play --fast --capture` writes;
#     early messages, the drift of the end, and the CPU used.
#  2. `render` of a 3-minute song of an ordinary arrangement (and, as a stress figure, of the dense one): how
#     much faster than real time, and against `fluidsynth -F` on the same song and SoundFont in the same run.
#  3. Loop restarts and seeks on a song of a million notes: the cost of a tick that restarts a narrow loop
#     (1 % to 1.0001 %, and a loop whose start and end are one point), against a plain playing tick, and of
#     a click on the song map.
# Use: bench/play_bench.sh [BUILD_DIR]
set -euo pipefail
# A real-time capture records when a port would be sent each message: its ideal time plus the fixed output
# latency (kOutputLatencyMs). Lateness is reckoned against that.
latency_ms=25
build=${1:-build}
cli=$build/sonvela-cli
generate=$build/bench/bench_song
soundfont=${SONVELA_SOUNDFONT:-/usr/share/sounds/sf2/FluidR3_GM.sf2}
dense_seconds=${DENSE_SECONDS:-25}
render_seconds=${RENDER_SECONDS:-180}
runs=${RUNS:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

echo "== Real-time play --capture: a dense song with a tempo change every two beats =="
"$generate" dense "$work/dense.mid" "$dense_seconds"
"$cli" play --fast --capture "$work/ideal.tsv" "$work/dense.mid"
/usr/bin/time -f '%e %U %S' -o "$work/play.time" "$cli" play --capture "$work/real.tsv" "$work/dense.mid"
if ! cmp -s <(cut -f2- "$work/real.tsv") <(cut -f2- "$work/ideal.tsv"); then
  echo "FAILED: real time sent other messages than the ticks do" >&2
  exit 1
fi
paste "$work/real.tsv" "$work/ideal.tsv" | awk -F'\t' -v latency="$latency_ms" '{ printf "%.3f\n", $1 - $5 - latency }' | sort -g >"$work/late.txt"
read -r elapsed user system <"$work/play.time"
awk -v elapsed="$elapsed" -v cpu="$(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }')" \
  -v latency="$latency_ms" -v song_ms="$(tail -1 "$work/ideal.tsv" | cut -f1)" -v end_ms="$(tail -1 "$work/real.tsv" | cut -f1)" '
  { late[NR] = $1; if ($1 < 0) early++ }
  END {
    n = NR
    p = late[int(0.99 * n + 0.999)]
    printf "messages            %d over %.1f s (%.0f a second)\n", n, song_ms / 1000, n * 1000 / song_ms
    printf "lateness p50        %.3f ms\n", late[int(0.50 * n + 0.999)]
    printf "lateness p99        %.3f ms   (limit 1.5 ms)\n", p
    printf "lateness max        %.3f ms\n", late[n]
    printf "early messages      %d   (limit 0)\n", early + 0
    printf "end drift           %.3f ms   (last message at %.3f ms, ideal %.3f ms; limit 5 ms)\n",
      end_ms - latency - song_ms, end_ms, song_ms
    printf "CPU                 %.2f %% of one core   (%.2f s user+system in %.2f s; limit 2 %%)\n",
      100 * cpu / elapsed, cpu, elapsed
  }' "$work/late.txt"

# render_against_peer STYLE RUNS: render and fluidsynth -F, turn about, the median of each (a busy moment of
# the machine then spoils one run, not the figure). CPU time (user + system) is shown beside the wall time,
# as it depends less on what else the machine does.
render_against_peer() {
  local style=$1 runs=$2 song_s run
  "$generate" "$style" "$work/$style.mid" "$render_seconds"
  "$cli" play --fast --capture "$work/$style.tsv" "$work/$style.mid"
  song_s=$(tail -1 "$work/$style.tsv" | awk '{ print $1 / 1000 }')
  rm -f "$work/ours.time" "$work/peer.time"
  for ((run = 1; run <= runs; run++)); do
    # Turn about, so neither gets the warmer caches every time.
    SONVELA_SOUNDFONT="$soundfont" /usr/bin/time -f '%e %U %S' -a -o "$work/ours.time" \
      "$cli" render "$work/$style.mid" "$work/ours.wav" >/dev/null
    /usr/bin/time -f '%e %U %S' -a -o "$work/peer.time" \
      fluidsynth -q -F "$work/peer.wav" -ni "$soundfont" "$work/$style.mid" >/dev/null 2>&1
  done
  local ours_wall ours_cpu peer_wall peer_cpu ours_len peer_len
  ours_wall=$(awk '{ print $1 }' "$work/ours.time" | median)
  ours_cpu=$(awk '{ print $2 + $3 }' "$work/ours.time" | median)
  peer_wall=$(awk '{ print $1 }' "$work/peer.time" | median)
  peer_cpu=$(awk '{ print $2 + $3 }' "$work/peer.time" | median)
  ours_len=$(sox "$work/ours.wav" -n stat 2>&1 | awk '/^Length/ { print $3 }')
  peer_len=$(sox "$work/peer.wav" -n stat 2>&1 | awk '/^Length/ { print $3 }')
  awk -v song="$song_s" -v ow="$ours_wall" -v oc="$ours_cpu" -v pw="$peer_wall" -v pc="$peer_cpu" \
    -v ol="$ours_len" -v pl="$peer_len" 'BEGIN {
    printf "song                %.2f s of music\n", song
    printf "sonvela-cli render  %.2f s wall, %.2f s CPU -> %.1f x real time   (WAV %.2f s)\n", ow, oc, song / ow, ol
    printf "fluidsynth -F       %.2f s wall, %.2f s CPU -> %.1f x real time   (WAV %.2f s)\n", pw, pc, song / pw, pl
    printf "render / fluidsynth %.2f of its wall time, %.2f of its CPU time\n", ow / pw, oc / pc
  }'
}

echo
echo "== render of a ${render_seconds}-second song, ordinary arrangement (limits: 20 x real time, no slower than" \
  "fluidsynth -F; median of $runs) =="
render_against_peer band "$runs"
echo
echo "== render of a ${render_seconds}-second song, the dense one (a stress figure; median of 3) =="
render_against_peer dense 3
echo
echo "== loop restarts and seeks on a million notes (ticks by hand, silent output) =="
"$build/bench/seek_bench"
