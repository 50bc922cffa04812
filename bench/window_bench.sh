#!/usr/bin/env bash
# The desktop program's benchmarks, on Qt's offscreen platform and, when Xvfb runs here, on a virtual X screen:
#  1. Start to first paint of the main window (SONVELA_REPORT_FIRST_PAINT), with the built-in synth as the
#     output (its SoundFont loads in the background): cold (the files the program maps, and the SoundFont,
#     dropped from the page cache first: files other processes hold mapped stay) and warm (median of RUNS).
#  2. The window idle, without a song: its CPU over a fixed span (/proc/PID/stat).
#  3. The window playing the dense song of play_bench.sh (SONVELA_CAPTURE, SONVELA_QUIT_AT_END): each
#     message's lateness against its ideal time, which `play --fast --capture` writes, as play_bench.sh
#     measures it, and the program's CPU over a fixed span in the middle of the song; the same with the
#     Keyboard window and its history strip shown (window_bench play --keyboard); and as the peer, in turn
#     with them, the toolbox's own real-time `play --capture`, which has no window.
#  4. The window's work at a progress tick, all 16 channels sounding at changing levels, and at the sequencer
#     ticks between (window_bench tick), without and with the Keyboard window.
#  5. The window playing a karaoke song (the band of bench_song with a syllable every eighth), its CPU over a
#     fixed span, in turn without and with the karaoke window open (SONVELA_KARAOKE): the difference is what
#     the karaoke window costs.
# Figures of 2, 3 and 5 are medians of RUNS runs; every run is shown. PARTS (default "start idle play tick karaoke")
# and SCREENS (default "offscreen Xvfb") choose what runs, to repeat one measure on its own.
# Use: bench/window_bench.sh [BUILD_DIR]
set -euo pipefail
# A real-time capture records when a port would be sent each message: its ideal time plus the fixed output
# latency (kOutputLatencyMs). Lateness is reckoned against that.
latency_ms=25
build=$(realpath "${1:-build-bench}")
program=$build/sonvela
bench=$build/bench/window_bench
cli=$build/sonvela-cli
dense_seconds=${DENSE_SECONDS:-25}
idle_seconds=${IDLE_SECONDS:-20}
runs=${RUNS:-3}
parts=" ${PARTS:-start idle play tick karaoke} "
screens=" ${SCREENS:-offscreen Xvfb} "
start_runs=${START_RUNS:-7}
soundfont=${SONVELA_SOUNDFONT:-/usr/share/sounds/sf2/FluidR3_GM.sf2}
ticks=$(getconf CLK_TCK)
work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir "$work/tmp"
# Every run has its own lock folder (apart from a copy on the desktop); message boxes go to standard error.
export TMPDIR=$work/tmp SONVELA_TEST_MESSAGES=1

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# launch NAME COMMAND...: starts the command in the background, with SONVELA_REPORT_FIRST_PAINT, standard
# error into $work/NAME.err; sets pid, and start_ms once its first paint is reported (ms after the start).
launch() {
  local name=$1 started line
  shift
  rm -f "$work/$name.err"
  started=$EPOCHREALTIME
  SONVELA_REPORT_FIRST_PAINT=1 "$@" 2>"$work/$name.err" &
  pid=$!
  for ((tries = 0; tries < 6000; tries++)); do
    line=$(grep -m1 '^first paint ' "$work/$name.err" 2>/dev/null || true)
    [ -n "$line" ] && break
    kill -0 "$pid" 2>/dev/null || fail "$name ended before its first paint: $(cat "$work/$name.err")"
    sleep 0.01
  done
  [ -n "$line" ] || fail "$name: no first paint within a minute"
  start_ms=$(awk -v a="$started" -v b="${line#first paint }" 'BEGIN { printf "%.1f", (b - a) * 1000 }')
}

# cpu_ticks PID: user + system time of the process, all its threads, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# cpu_span PID SECONDS: the process's CPU use over the coming SECONDS, in % of one core.
cpu_span() {
  local before after from to
  from=$EPOCHREALTIME
  before=$(cpu_ticks "$1")
  sleep "$2"
  after=$(cpu_ticks "$1")
  to=$EPOCHREALTIME
  awk -v t="$((after - before))" -v hz="$ticks" -v a="$from" -v b="$to" \
    'BEGIN { printf "%.2f", 100 * t / hz / (b - a) }'
}

# lateness REAL IDEAL SHUTDOWN: "p50 p99 max early drift" in ms, as play_bench.sh reckons them, after
# checking that REAL holds what the ticks send, then (SHUTDOWN=1, the window) the All Notes Off on every
# channel that the program sends when it ends.
lateness() {
  local real=$1 ideal=$2 shutdown=$3 n
  n=$(wc -l <"$ideal")
  cmp -s <(head -n "$n" "$real" | cut -f2-) <(cut -f2- "$ideal") ||
    fail "other messages than the ticks send ($real)"
  if ((shutdown)); then
    cmp -s <(tail -n +"$((n + 1))" "$real" | cut -f2-) <(for s in {176..191}; do printf '%s\t123\t0\n' "$s"; done) ||
      fail "the window's shutdown sent other messages than All Notes Off on every channel"
  else
    (($(wc -l <"$real") == n)) || fail "more messages than the ticks send ($real)"
  fi
  paste <(head -n "$n" "$real") "$ideal" | awk -F'\t' -v latency="$latency_ms" '{ printf "%.3f\n", $1 - $5 - latency }' | sort -g >"$work/late.txt"
  awk -v latency="$latency_ms" -v song_ms="$(tail -1 "$ideal" | cut -f1)" -v end_ms="$(sed -n "${n}p" "$real" | cut -f1)" '
    { late[NR] = $1; if ($1 < 0) early++ }
    END { printf "%.3f %.3f %.3f %d %.3f\n", late[int(0.50 * NR + 0.999)], late[int(0.99 * NR + 0.999)],
          late[NR], early + 0, end_ms - latency - song_ms }' "$work/late.txt"
}

# play KIND: one play of the dense song, as KIND: toolbox (`play --capture`, the peer without a window),
# window (the program), keyboard (the program with the Keyboard window and History shown). Appends
# "p50 p99 max early drift cpu" to $work/KIND.
play() {
  local kind=$1 shutdown=1 cpu
  rm -f "$work/real.tsv"
  case $kind in
    toolbox)
      shutdown=0
      "$cli" play --capture "$work/real.tsv" "$work/dense.mid" >/dev/null 2>"$work/play.err" &
      pid=$!
      ;;
    window) SONVELA_CAPTURE=$work/real.tsv SONVELA_QUIT_AT_END=1 launch play "$program" "$work/dense.mid" ;;
    keyboard)
      SONVELA_CAPTURE=$work/real.tsv SONVELA_QUIT_AT_END=1 launch play "$bench" play --keyboard "$work/dense.mid"
      ;;
  esac
  sleep 3
  cpu=$(cpu_span "$pid" "$span")
  wait "$pid" || fail "$kind: exit status $?: $(cat "$work/play.err")"
  echo "$(lateness "$work/real.tsv" "$work/ideal.tsv" "$shutdown") $cpu" >>"$work/$kind"
}

# play_rounds LABEL: RUNS rounds of the three kinds of play, in turn, so that the machine's busy moments
# fall on all of them alike; every run and the medians.
play_rounds() {
  local label=$1 run kind column medians
  echo "-- $label: the dense song of ${dense_seconds} s, $runs rounds; CPU over ${span} s from 3 s in"
  rm -f "$work/toolbox" "$work/window" "$work/keyboard"
  for ((run = 1; run <= runs; run++)); do
    for kind in toolbox window keyboard; do play "$kind"; done
  done
  printf '   %-22s %8s %8s %8s %6s %9s %7s\n' "" p50/ms p99/ms max/ms early drift/ms CPU/%
  for kind in toolbox window keyboard; do
    # shellcheck disable=SC2086
    while read -r line; do printf '   %-22s %8s %8s %8s %6s %9s %7s\n' "$kind" $line; done <"$work/$kind"
  done
  for kind in toolbox window keyboard; do
    medians=()
    for column in 1 2 3 4 5 6; do medians+=("$(awk -v c="$column" '{ print $c }' "$work/$kind" | median)"); done
    # Early messages: all of the runs together.
    medians[3]=$(awk '{ s += $4 } END { print s }' "$work/$kind")
    printf '   %-22s %8s %8s %8s %6s %9s %7s\n' "$kind, median" "${medians[@]}"
  done
  echo "   limits: p99 1.5 ms, early 0, drift 5 ms; CPU: window 5 %, keyboard 10 % (toolbox: the peer, no limit)"
}

# idle_runs LABEL COMMAND...: the window open without a song: CPU of RUNS spans.
idle_runs() {
  local label=$1 run
  shift
  rm -f "$work/idle"
  for ((run = 1; run <= runs; run++)); do
    launch idle "$@"
    sleep 2
    cpu_span "$pid" "$idle_seconds" >>"$work/idle"
    echo >>"$work/idle"
    kill -TERM "$pid"
    wait "$pid" || fail "$label idle: exit status $?"
  done
  echo "-- $label: idle without a song, CPU over ${idle_seconds} s: $(paste -sd' ' "$work/idle") %;" \
    "median $(median <"$work/idle") %   (limit 1 %)"
}

# start_runs LABEL: start to first paint, with the built-in synth's SoundFont loading meanwhile.
start_runs() {
  local label=$1 run
  launch start "$program"
  # What the running program has mapped: its binary, the libraries, the fonts.
  awk '$6 ~ /^\// { print $6 }' "/proc/$pid/maps" | sort -u >"$work/mapped"
  echo "$soundfont" >>"$work/mapped"
  kill -TERM "$pid"
  wait "$pid"
  /usr/bin/python3 - "$work/mapped" <<'EVICT'
import os, sys
for path in open(sys.argv[1]).read().split():
    try:
        fd = os.open(path, os.O_RDONLY)
    except OSError:
        continue
    os.posix_fadvise(fd, 0, 0, os.POSIX_FADV_DONTNEED)
    os.close(fd)
EVICT
  launch start "$program"
  local cold=$start_ms
  kill -TERM "$pid"
  wait "$pid"
  rm -f "$work/start"
  for ((run = 1; run <= start_runs; run++)); do
    launch start "$program"
    echo "$start_ms" >>"$work/start"
    kill -TERM "$pid"
    wait "$pid"
  done
  echo "-- $label: start to first paint: cold $cold ms; warm $(paste -sd' ' "$work/start") ms," \
    "median $(median <"$work/start") ms   (limit 300 ms)"
}

# karaoke_runs LABEL: RUNS rounds of the karaoke song played without and with the karaoke window, in turn.
karaoke_runs() {
  local label=$1 run kind shown plain with
  rm -f "$work/plain" "$work/karaoke"
  for ((run = 1; run <= runs; run++)); do
    for kind in plain karaoke; do
      shown=
      [ "$kind" = plain ] || shown=1
      rm -f "$work/real.tsv"
      SONVELA_KARAOKE=$shown SONVELA_CAPTURE=$work/real.tsv SONVELA_QUIT_AT_END=1 \
        launch karaoke "$program" "$work/karaoke.mid"
      sleep 3
      cpu_span "$pid" "$span" >>"$work/$kind"
      echo >>"$work/$kind"
      wait "$pid" || fail "karaoke ($kind): exit status $?: $(cat "$work/karaoke.err")"
    done
  done
  plain=$(median <"$work/plain")
  with=$(median <"$work/karaoke")
  echo "-- $label: the karaoke song of ${dense_seconds} s, CPU over ${span} s from 3 s in:" \
    "without the karaoke window $(paste -sd' ' "$work/plain") % (median $plain %)," \
    "with it $(paste -sd' ' "$work/karaoke") % (median $with %);" \
    "the karaoke window: $(awk -v a="$with" -v b="$plain" 'BEGIN { printf "%.2f", a - b }') %   (limit 1 %)"
}

suite() {
  local label=$1
  [[ $parts != *" start "* ]] || start_runs "$label"
  [[ $parts != *" idle "* ]] || idle_runs "$label" "$program"
  [[ $parts != *" play "* ]] || play_rounds "$label"
  [[ $parts != *" karaoke "* ]] || karaoke_runs "$label"
  [[ $parts == *" tick "* ]] || return 0
  echo "-- $label: the window's ticks, by hand, on the dense song (every channel sounding):"
  "$bench" tick "$work/long.mid" 1000 2>/dev/null | sed 's/^/   /'
  echo "-- $label: the same with the Keyboard window and History shown:"
  "$bench" tick --keyboard "$work/long.mid" 1000 2>/dev/null | sed 's/^/   /'
}

span=$((dense_seconds - 5))
((span >= 5)) || fail "DENSE_SECONDS must be 10 or more"
"$build/bench/bench_song" dense "$work/dense.mid" "$dense_seconds"
"$cli" play --fast --capture "$work/ideal.tsv" "$work/dense.mid" >/dev/null
"$build/bench/bench_song" dense "$work/long.mid" 110
"$build/bench/bench_song" karaoke "$work/karaoke.mid" "$dense_seconds"
echo "== The desktop program (load average before: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores) =="

[[ $screens != *" offscreen "* ]] || QT_QPA_PLATFORM=offscreen suite offscreen

if [[ $screens == *" Xvfb "* ]] && command -v Xvfb >/dev/null; then
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.err" &
  xvfb_pid=$!
  for ((tries = 0; tries < 1000; tries++)); do
    [ -s "$work/display" ] && break
    sleep 0.01
  done
  if [ -s "$work/display" ]; then
    DISPLAY=:$(tr -d '\n' <"$work/display") QT_QPA_PLATFORM=xcb suite Xvfb
  else
    echo "-- Xvfb did not start: $(cat "$work/xvfb.err")"
  fi
fi
echo "== load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
