#!/usr/bin/env bash
# The toolbox as a user runs it: outputs, messages on standard error, exit status.
set -u
cli=$1
source "$(dirname "$0")/test_support.bash"

# compose writes creato.mid; its listing, events and log follow from the same load.
"$cli" compose "$work" >"$work/compose.out" 2>"$work/compose.err"
check "compose exits 0 and writes creato.mid, which starts with its header" \
  exited 0 cmp -s -n 14 "$work/creato.mid" <(printf 'MThd\0\0\0\6\0\0\0\1\0\170')

"$cli" listing "$work/creato.mid" >"$work/listing.txt" 2>"$work/listing.err"
check "listing exits 0, opens with the file name and shows no message box for a good file" exited 0 bash -c \
  "head -1 '$work/listing.txt' | grep -qF '         $work/creato.mid' && test ! -s '$work/listing.err'"

"$cli" events "$work/creato.mid" >"$work/events.txt"
check "events exits 0 and has the grid and the totals" exited 0 bash -c "test \$(grep -c \$'\x05' '$work/events.txt') -ge 100 && tail -1 '$work/events.txt' | grep -q '^Totale totali           : '"

"$cli" log "$work/creato.mid" >"$work/log.txt"
check "log has the file name, summary and totals" bash -c "head -1 '$work/log.txt' | grep -qF '$work/creato.mid' && grep -qF '                 BPM: 120' '$work/log.txt' && tail -1 '$work/log.txt' | grep -qx \"Creato l'eseguibile, pronto a suonare!\""

# A SysEx of 512 KiB lists as one line of 1.5 MB, longer than an output block: whole, and followed by the rest.
{
  printf 'MThd'
  u8 0 0 0 6 0 0 0 1 0 96
  printf 'MTrk'
  u8 0 8 0 9 0 240 160 128 0
  head -c 524288 /dev/zero | tr '\0' '\021'
  u8 0 255 47 0
} >"$work/sysex.mid"
"$cli" listing "$work/sysex.mid" >"$work/sysex.txt"
check "a long SysEx line is written whole" bash -c "awk '/SysEx/ { print length }' '$work/sysex.txt' | grep -qx 1572911"
check "the lines after it follow" grep -qF "Fine traccia." "$work/sysex.txt"

"$cli" listing "$work/creato.mid" >&- 2>"$work/closed.err"
check "a closed standard output is an error, which is said" \
  exited 1 grep -qx "Cannot write to standard output." "$work/closed.err"

# A file that cannot be read: which file and why, then the reader's own message; exit 1.
"$cli" listing "$work/missing.mid" >/dev/null 2>"$work/missing.err"
check "missing file exits 1, names file and reason, then says no midi file" exited 1 bash -c \
  "grep -qF '\"$work/missing.mid\": No such file or directory' '$work/missing.err' && grep -qx 'No midi file loaded!' '$work/missing.err'"

"$cli" listing "$work" >/dev/null 2>"$work/dir.err"
check "a folder is not a song" exited 1 true

# Unrecognised events: one message with their count, exit 0.
printf 'MThd\0\0\0\6\0\0\0\1\0\140MTrk\0\0\0\6\0\101\0\377\57\0' >"$work/odd.mid"
"$cli" listing "$work/odd.mid" >/dev/null 2>"$work/odd.err"
check "odd file exits 0 and reports its unknown command" exited 0 grep -qx "Meta non riconosciuti: 1" "$work/odd.err"

"$cli" compose "$work/no/such/dir" >/dev/null 2>"$work/nodir.err"
check "compose into a missing folder exits 1 and says why" exited 1 test -s "$work/nodir.err"

for args in "" "frobnicate x" "listing"; do
  # shellcheck disable=SC2086
  "$cli" $args >/dev/null 2>&1
  check "'$args' is a usage error" test $? -eq 2
done
"$cli" --help >"$work/help.txt"
check "help explains the commands" bash -c "grep -q 'listing FILE' '$work/help.txt' && grep -q 'compose \[DIR\]' '$work/help.txt'"

finish
