#!/usr/bin/env bash
# The song's texts on the terminal in every charset: detected over the song's texts, or as --charset or
# SONVELA_CHARSET say; the listing keeps the song's own bytes whatever is chosen.
set -u
cli=$1
source "$(dirname "$0")/test_support.bash"
export LC_ALL=C.UTF-8

# text_events CHARSET SYLLABLE...: Text events 24 ticks apart, each syllable in CHARSET.
text_events() {
  local charset=$1 syllable bytes
  shift
  for syllable in "$@"; do
    read -ra bytes <<<"$(printf %s "$syllable" | iconv -f UTF-8 -t "$charset" | od -An -tu1 -v)"
    printf '24 255 1 %d %s ' "${#bytes[@]}" "${bytes[*]}"
  done
}
# shellcheck disable=SC2046
song "$work/russian.kar" 96 0 "${tempo120[@]}" $(text_events WINDOWS-1251 '\Пусть' ' всегда' ' будет' \
  ' солнце,' '/пусть' ' всегда' ' будет' ' небо,' '/пусть' ' всегда' ' будет' ' мама')
# The terminal's lines as a user sees them: played on a terminal of its own (the lyric line shows only
# on one); erase sequences and carriage returns dropped.
on_terminal() {
  script -qec "$*" /dev/null </dev/null | sed 's/\x1b\[[0-9;]*[A-Za-z]//g; s/\r/\n/g' >"$work/terminal"
}
shows() { grep -qF -- "$1" "$work/terminal"; }

on_terminal "$cli" play --fast --capture "$work/c.tsv" "$work/russian.kar"
check "detected Windows-1251 shows the finished lines in Cyrillic" shows "Пусть всегда будет солнце,"
check "and the line being sung" shows "пусть всегда будет мама"
on_terminal "$cli" play --fast --capture "$work/c.tsv" --charset windows-1252 "$work/russian.kar"
check "--charset overrides the detection" shows "Ïóñòü âñåãäà áóäåò ñîëíöå,"
on_terminal env SONVELA_CHARSET=KOI8-R "$cli" play --fast --capture "$work/c.tsv" "$work/russian.kar"
check "SONVELA_CHARSET sets it from the environment" shows "оСЯРЭ БЯЕЦДЮ АСДЕР ЯНКМЖЕ,"
on_terminal env SONVELA_CHARSET=KOI8-R "$cli" play --fast --capture "$work/c.tsv" --charset Automatico \
  "$work/russian.kar"
check "--charset Automatico goes before the environment" shows "пусть всегда будет небо,"

# Wide characters take two columns: the status line still fits the terminal (and is not wrapped).
# shellcheck disable=SC2046
song "$work/japanese.kar" 96 0 "${tempo120[@]}" $(text_events CP932 '\さくら' ' さくら' ' やよいの' '空は' \
  ' 見わたす' ' 限り')
on_terminal stty cols 20 \; "$cli" play --fast --capture "$work/c.tsv" "$work/japanese.kar"
check "the Japanese line shows" shows "さくら"
check "in at most 19 columns" test "$(wc -L <"$work/terminal")" -le 19

"$cli" play --fast --capture "$work/c.tsv" --charset klingon "$work/russian.kar" 2>"$work/err"
check "an unknown --charset is a usage error" test $? -eq 2
check "that says which" grep -qF -- '--charset: unknown charset "klingon".' "$work/err"
SONVELA_CHARSET=klingon "$cli" play --fast --capture "$work/c.tsv" "$work/russian.kar" 2>"$work/err"
check "so is an unknown SONVELA_CHARSET" grep -qF 'SONVELA_CHARSET: unknown charset "klingon".' "$work/err"

"$cli" listing "$work/russian.kar" >"$work/listing"
check "the listing keeps the song's bytes" grep -qF "$(printf %s 'солнце' | iconv -t WINDOWS-1251)" "$work/listing"
for command in events log; do
  "$cli" "$command" "$work/russian.kar" >"$work/$command"
  SONVELA_CHARSET=KOI8-R "$cli" "$command" "$work/russian.kar" >"$work/$command.koi8"
  check "$command writes the same bytes whatever the charset" cmp -s "$work/$command" "$work/$command.koi8"
done
finish
