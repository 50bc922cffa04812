#!/usr/bin/env bash
# The song's texts on the terminal: the lyric line as it grows, in the charset detected over the song's
# texts or as --charset or SONVELA_CHARSET say; the listing keeps the song's own bytes whatever is chosen.
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
# "/" and "\" start new lines; texts that are not UTF-8 are Windows-1252 (232 is an e grave).
song "$work/lyrics.mid" 96 0 "${tempo120[@]}" 0 255 1 4 $(codes /Hel) 0 144 60 100 96 255 1 2 $(codes lo) \
  96 255 1 6 $(codes '\world') 96 255 1 6 $(codes /caff) 232 0 128 60 0
# shellcheck disable=SC2046
song "$work/japanese.kar" 96 0 "${tempo120[@]}" $(text_events CP932 '\さくら' ' さくら' ' やよいの' '空は' \
  ' 見わたす' ' 限り')

# On a terminal of its own, as the lyric line shows only there: what | the shell's words before the player |
# its switches and file | a line the terminal shows (erase sequences dropped, carriage returns as new lines).
while IFS='|' read -r what before args text; do
  script -qec "$before '$cli' play --fast --capture '$work/c.tsv' $args" /dev/null </dev/null |
    sed 's/\x1b\[[0-9;]*[A-Za-z]//g; s/\r/\n/g' >"$work/terminal"
  check "$what" grep -qE -- "$text" "$work/terminal"
done <<TABLE
the lyric line grows||$work/lyrics.mid|^Hel$
and a finished one stays on its own line||$work/lyrics.mid|^Hello$
once a second the progress shows, with the new lyric line||$work/lyrics.mid|^Tempo: +1\.0 s +\( +1\.5 s\) +66\.7% +world$
a Windows-1252 lyric reaches the terminal as UTF-8||$work/lyrics.mid|100\.0% +caffè$
detected Windows-1251 shows the finished lines in Cyrillic||$work/russian.kar|Пусть всегда будет солнце,
and the line being sung||$work/russian.kar|пусть всегда будет мама
--charset overrides the detection||--charset windows-1252 $work/russian.kar|Ïóñòü âñåãäà áóäåò ñîëíöå,
SONVELA_CHARSET sets it from the environment|SONVELA_CHARSET=KOI8-R|$work/russian.kar|оСЯРЭ БЯЕЦДЮ АСДЕР ЯНКМЖЕ,
--charset Automatico goes before the environment|SONVELA_CHARSET=KOI8-R|--charset Automatico $work/russian.kar|пусть всегда будет небо,
the Japanese line shows on a terminal of 20 columns|stty cols 20;|$work/japanese.kar|さくら
TABLE
# Wide characters take two columns: the status line still fits the terminal (and is not wrapped).
check "in at most 19 columns" test "$(wc -L <"$work/terminal")" -le 19
"$cli" play --fast --capture "$work/piped.tsv" "$work/lyrics.mid" >"$work/piped.out"
check "off a terminal nothing is shown" test ! -s "$work/piped.out"

"$cli" play --fast --capture "$work/c.tsv" --charset klingon "$work/russian.kar" 2>"$work/err"
check "an unknown --charset is a usage error that says which" \
  exited 2 grep -qF -- '--charset: unknown charset "klingon".' "$work/err"
SONVELA_CHARSET=klingon "$cli" play --fast --capture "$work/c.tsv" "$work/russian.kar" 2>"$work/err"
check "so is an unknown SONVELA_CHARSET" exited 2 grep -qF 'SONVELA_CHARSET: unknown charset "klingon".' "$work/err"

"$cli" listing "$work/russian.kar" >"$work/listing"
check "the listing keeps the song's bytes" grep -qF "$(printf %s 'солнце' | iconv -t WINDOWS-1251)" "$work/listing"
for command in events log; do
  "$cli" "$command" "$work/russian.kar" >"$work/$command"
  SONVELA_CHARSET=KOI8-R "$cli" "$command" "$work/russian.kar" >"$work/$command.koi8"
  check "$command writes the same bytes whatever the charset" cmp -s "$work/$command" "$work/$command.koi8"
done
finish
