#include "song/lyric_pieces.h"

#include <algorithm>
#include <utility>

namespace sonvela {

bool SingsFromLyricEvents(const SongTables& tables) {
  return std::none_of(tables.TextEvents.begin(), tables.TextEvents.end(),
                      [](const std::string& text) { return !text.empty(); });
}

void LyricEventPieces::Take(std::string_view tagged, std::string& piece) {
  std::string_view text = tagged.substr(std::min(tagged.size(), kLyricTag.size()));
  const bool endsLine = !text.empty() && (text.back() == '\n' || text.back() == '\r');
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
  piece.clear();
  if (std::exchange(lineEnded_, endsLine)) piece.push_back('/');
  piece.append(text);
}

}  // namespace sonvela
