#pragma once
// The karaoke line: the song's Text events are its syllables. A piece holding "/" or "\" starts a new
// line; the marks themselves are never shown (a "\" that is the second byte of a double-byte character is
// no mark). The text stays bytes, as the song has them, and lives across loads: only a mark empties it.

#include <string>
#include <string_view>

namespace sonvela {

struct LyricLine {
  std::string Text;
  // Adds a piece; returns true when it started a new line (the finished one was `previous`).
  bool Add(std::string_view piece, std::string* previous = nullptr);
};

}  // namespace sonvela
