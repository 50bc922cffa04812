#include "session/lyric_line.h"

namespace sonvela {

bool LyricLine::Add(std::string_view piece, std::string* previous) {
  const bool newLine = piece.find_first_of("/\\") != std::string_view::npos;
  if (newLine) {
    if (previous != nullptr) *previous = std::move(Text);
    Text.clear();
  }
  for (const char c : piece) {
    if (c != '/' && c != '\\') Text += c;
  }
  return newLine;
}

}  // namespace sonvela
