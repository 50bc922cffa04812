#pragma once
// The karaoke window's words: every line of the song whole, and when each syllable of it is sung. Built
// once per load from the song tables by the lyric line's own rule (lyric_line.h, song/lyric_pieces.h), so
// that both show the same lines; lines with nothing to show are left out. Texts stay bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "song/song_tables.h"

namespace sonvela {

// Where the singing is: a line, and how many of its bytes have been sung.
struct KaraokePlace {
  int32_t line = -1;  // -1: the song has no words
  size_t sungBytes = 0;
  bool operator==(const KaraokePlace&) const = default;
};

struct KaraokeSyllable {
  int64_t due = 0;  // the song position at which it is sung (1/60000 tick, as the transport's)
  KaraokePlace place;
};

struct KaraokeLines {
  std::vector<std::string> Lines;
  std::vector<KaraokeSyllable> Syllables;  // in the order they are sung

  // The place at a song position: the line of the last syllable sung by then, up to and with it; before
  // the first, the first line with nothing sung. Searched, so it holds after any jump of the position.
  KaraokePlace At(int64_t songPosition) const;
  // The line after `line`; empty when there is none.
  std::string_view After(int32_t line) const;
};

KaraokeLines BuildKaraokeLines(const SongTables& tables);

}  // namespace sonvela
