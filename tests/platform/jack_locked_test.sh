#!/usr/bin/env bash
# A JACK program killed while it held the lock of libjack's metadata database (/dev/shm/jack_db-UID) leaves
# every later jack_client_open waiting for ever: the toolbox and the program must still start, play, end and
# say why. In a private /dev/shm (a mount namespace), so the machine's own JACK database is never touched.
set -u
cli=$1 program=$2
skip() { echo "SKIP: $*"; exit 77; }
if [ "${SONVELA_PRIVATE_SHM:-}" != 1 ]; then
  command -v gdb >/dev/null && command -v jack_lsp >/dev/null || skip "gdb or jack_lsp missing"
  # Root makes the namespace itself; a normal user may, inside a user namespace of their own. Probed first:
  # once exec'd, a refusal could no longer be told from a failure.
  for isolate in "unshare --mount --propagation private" \
    "unshare --user --map-root-user --mount --propagation private"; do
    # shellcheck disable=SC2086
    if $isolate true 2>/dev/null; then SONVELA_PRIVATE_SHM=1 exec $isolate bash "$0" "$@"; fi
  done
  skip "no private mount namespace here (neither root nor user namespaces)"
fi
mount -t tmpfs sonvela-test /dev/shm 2>/dev/null || skip "cannot mount a private /dev/shm"
source "$(dirname "$0")/../cli/test_support.bash"
export JACK_NO_START_SERVER=1

# A JACK client killed as it lets go of the database's first lock: the lock stays held.
gdb -q --batch -ex "set breakpoint pending on" -ex "break __db_pthread_mutex_unlock" -ex run -ex kill \
  --args jack_lsp >/dev/null 2>&1
timeout 10 jack_lsp >/dev/null 2>&1
[ $? -eq 124 ] || skip "the JACK database could not be left locked here"

timeout 60 "$cli" devices >"$work/devices.txt" 2>"$work/devices.err"
check "devices ends, with exit 0, listing the built-in synth" \
  exited 0 grep -qx " 0 Sonvela Synth (FluidSynth)" "$work/devices.txt"
check "and why the JACK ports are not" grep -q "^JACK: the JACK library did not answer" "$work/devices.err"

song "$work/short.mid" 96 0 "${tempo120[@]}" 0 144 60 100 48 128 60 0
timeout 60 "$cli" play "$work/short.mid" >/dev/null 2>"$work/play.err"
check "play ends, with exit 0" test $? -eq 0

# The program on the built-in synth: MIDI out, MIDI in and the synth's audio drivers all try JACK.
QT_QPA_PLATFORM=offscreen SONVELA_TEST_MESSAGES=1 SONVELA_QUIT_AT_END=1 TMPDIR=$work \
  timeout 60 "$program" "$work/short.mid" >/dev/null 2>"$work/program.err"
check "the program plays the song and ends, with exit 0, saying nothing is wrong" \
  exited 0 bash -c "! grep -q Impossibile '$work/program.err'"
finish
