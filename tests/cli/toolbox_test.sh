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
{ printf 'MThd\0\0\0\6\0\0\0\1\0\140MTrk\0\10\0\11\0\360\240\200\0' && head -c 524288 /dev/zero | tr '\0' '\021' &&
  printf '\0\377\57\0'; } >"$work/sysex.mid"
"$cli" listing "$work/sysex.mid" >"$work/sysex.txt"
check "a long SysEx line is written whole, and the lines after it follow" bash -c \
  "awk '/SysEx/ { print length }' '$work/sysex.txt' | grep -qx 1572911 && grep -qF 'Fine traccia.' '$work/sysex.txt'"

"$cli" listing "$work/creato.mid" >&- 2>"$work/closed.err"
check "a closed standard output is an error, which is said" \
  exited 1 grep -qx "Cannot write to standard output." "$work/closed.err"

# Failures and odd.mid's unknown event: exit status | what standard error holds | the arguments.
printf 'MThd\0\0\0\6\0\0\0\1\0\140MTrk\0\0\0\6\0\101\0\377\57\0' >"$work/odd.mid"
while IFS='|' read -r status text args; do
  # shellcheck disable=SC2086
  "$cli" $args >/dev/null 2>"$work/err"
  check "'$args' exits $status, saying '$text'" exited "$status" grep -qF -- "$text" "$work/err"
done <<TABLE
1|"$work/missing.mid": No such file or directory|listing $work/missing.mid
1|No midi file loaded!|listing $work/missing.mid
1|"$work": Is a directory|listing $work
1|"$work/no/such/dir/creato.mid": No such file or directory|compose $work/no/such/dir
0|Meta non riconosciuti: 1|listing $work/odd.mid
2|No command given.|
2|Unknown command: frobnicate|frobnicate x
2|listing takes one FILE.|listing
TABLE

check "help explains the commands" bash -c "'$cli' --help | grep -q 'listing FILE' && '$cli' --help | grep -q 'compose \\[DIR\\]'"

finish
