#!/usr/bin/env bash
# The desktop's media controls as a desktop drives them: playerctl and dbus-send on a session bus of the
# test's own, the program on Qt's offscreen platform, playing a folder of three songs.
set -uo pipefail
bin=$(realpath "$1")
source "$(dirname "$0")/../cli/test_support.bash"
for tool in dbus-run-session playerctl dbus-send; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"; exit 77; }
done

# Three songs of one long note each (20 s at 120 BPM), on channels 1, 2 and 3.
for n in 1 2 3; do song "$work/song$n.mid" 96 0 $((143 + n)) 60 100 158 0 $((127 + n)) 60 0; done

inner() {
  cd "$work"
  p=(playerctl -p sonvela)
  TMPDIR=$work QT_QPA_PLATFORM=offscreen SONVELA_TEST_MESSAGES=1 SONVELA_CAPTURE=$work/capture.txt \
    "$bin" song2.mid 2>"$work/stderr.txt" &
  pid=$!
  # Waits (up to 30 s) for what the program must come to; never a fixed pause.
  until_true() {
    local i
    for ((i = 0; i < 300; i++)); do eval "$1" && return 0; sleep 0.1; done
    echo "  timed out waiting for: $1 (status $("${p[@]}" status 2>&1), title $("${p[@]}" metadata xesam:title 2>&1))"
    return 1
  }
  status_is() { [ "$("${p[@]}" status 2>/dev/null)" = "$1" ]; }
  title_is() { [ "$("${p[@]}" metadata xesam:title 2>/dev/null)" = "$1" ]; }
  get() {
    dbus-send --session --print-reply=literal --dest=org.mpris.MediaPlayer2.sonvela /org/mpris/MediaPlayer2 \
      org.freedesktop.DBus.Properties.Get "string:$1" "string:$2" 2>/dev/null | xargs
  }
  call() {
    dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.sonvela /org/mpris/MediaPlayer2 "$1" >/dev/null
  }

  check "the command line's song plays and the desktop sees it" until_true 'status_is Playing && title_is song2.mid'
  check "the application names itself" test "$(get org.mpris.MediaPlayer2 Identity) $(get org.mpris.MediaPlayer2 DesktopEntry)" = "variant Sonvela variant sonvela"
  check "its length is the song's, in microseconds" test "$("${p[@]}" metadata mpris:length)" = 20000000
  check "its address is the file's" test "$("${p[@]}" metadata xesam:url)" = "file://$work/song2.mid"
  check "the folder's list goes round both ways" test "$(get org.mpris.MediaPlayer2.Player CanGoNext) $(get org.mpris.MediaPlayer2.Player CanGoPrevious)" = "variant boolean true variant boolean true"

  # The changes come as signals: --follow prints each new status as it is signalled.
  "${p[@]}" --follow status >"$work/follow.txt" 2>/dev/null &
  follower=$!
  check "the follower has heard the status" until_true 'grep -qx Playing "$work/follow.txt"'
  "${p[@]}" pause
  check "Pause pauses, and says so" until_true 'status_is Paused && grep -qx Paused "$work/follow.txt"'
  "${p[@]}" play
  check "Play resumes a paused song, as the Pause toggle does" until_true 'status_is Playing && title_is song2.mid'
  "${p[@]}" next
  check "Next plays the list's next song" until_true 'title_is song3.mid && status_is Playing'
  "${p[@]}" next
  check "after the last comes the first" until_true 'title_is song1.mid'
  "${p[@]}" previous
  check "Previous goes back" until_true 'title_is song3.mid && status_is Playing'
  "${p[@]}" stop
  check "Stop stops, and says so" until_true 'status_is Stopped && grep -qx Stopped "$work/follow.txt"'
  "${p[@]}" play-pause
  check "Play-pause plays a stopped song from its start" until_true 'status_is Playing'
  kill "$follower" 2>/dev/null
  check "the capture grows as the songs play, before the program ends" until_true '[ "$(wc -l <"$work/capture.txt")" -gt 16 ]'

  check "Raise is answered" call org.mpris.MediaPlayer2.Raise
  call org.mpris.MediaPlayer2.Quit
  check "Quit ends the program" until_true '! kill -0 $pid 2>/dev/null'
  wait "$pid"
  check "the program ended well" test $? -eq 0
  # The capture holds what each key played: song 2, then 3, 1, 3 (each note on its own channel), and 3 again.
  check "each key played its song on the output" test "$(awk -F'\t' '$2 >= 144 && $2 <= 146 && $4 > 0 {print $2 - 143}' "$work/capture.txt" | xargs)" = "2 3 1 3 3"
  finish
}
export -f inner song u8 check finish
export bin work passed failures

dbus-run-session -- bash -c inner
inner_status=$?

# No session bus: the program plays as before, and ends at the song's end.
song "$work/short.mid" 96 0 144 60 100 96 128 60 0
env DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus" TMPDIR=$work QT_QPA_PLATFORM=offscreen \
  SONVELA_TEST_MESSAGES=1 SONVELA_QUIT_AT_END=1 timeout 120 "$bin" "$work/short.mid" 2>/dev/null
check "without a session bus the program plays its song to the end" test $? -eq 0

# A song that cannot be read: the reason on standard error, and a script waiting for the end is not
# left waiting.
env TMPDIR=$work QT_QPA_PLATFORM=offscreen SONVELA_TEST_MESSAGES=1 SONVELA_QUIT_AT_END=1 timeout 60 "$bin" \
  "$work/missing.mid" 2>"$work/missing.txt"
check "an unreadable song ends a SONVELA_QUIT_AT_END run" test $? -eq 0
check "and says which file" grep -q "missing.mid" "$work/missing.txt"

# The toolbox's capture, too, is on disk while it plays (a real-time run, stopped by Ctrl-C's signal).
"$(dirname "$bin")/sonvela-cli" play --capture "$work/toolbox.txt" "$work/song1.mid" >/dev/null 2>&1 &
toolbox=$!
grows() { local i; for ((i = 0; i < 300; i++)); do [ -s "$work/toolbox.txt" ] && return 0; sleep 0.1; done; return 1; }
check "the toolbox's capture grows as the song plays" grows
kill -INT "$toolbox"
wait "$toolbox"
check "and is whole at its end: the note, then every channel silenced" test "$(cut -f2 "$work/toolbox.txt" | sort -u | wc -l)" -ge 16
finish && [ "$inner_status" -eq 0 ]
