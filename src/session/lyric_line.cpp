#include "session/lyric_line.h"

#include "text/charsets.h"

namespace sonvela {

namespace {

// Calls `take` with each byte of the piece that is not a mark, and says whether the piece held one. With
// `pairs` (a piece that is not UTF-8), a byte 0x81..0xFE and a second byte that can follow it are one
// character (Shift_JIS, GBK, Big5 and the Korean code pages write so), and a second byte 0x5C, as in "表" and
// "ソ", is then that character's, not a "\" mark.
template <typename Take>
bool WithoutMarks(std::string_view piece, bool pairs, Take take) {
  bool marked = false;
  for (size_t i = 0; i < piece.size(); ++i) {
    const auto byte = static_cast<unsigned char>(piece[i]);
    if (pairs && byte >= 0x81 && byte <= 0xFE && i + 1 < piece.size()) {
      const auto second = static_cast<unsigned char>(piece[i + 1]);
      if ((second >= 0x40 && second <= 0x7E) || (second >= 0x80 && second <= 0xFE)) {
        take(piece[i]);
        take(piece[++i]);
        continue;
      }
    }
    if (byte == '/' || byte == '\\') {
      marked = true;
    } else {
      take(piece[i]);
    }
  }
  return marked;
}

}  // namespace

bool LyricLine::Add(std::string_view piece, std::string* previous) {
  const bool pairs = !IsUtf8(piece);
  const bool newLine = WithoutMarks(piece, pairs, [](char) {});
  if (newLine) {
    if (previous != nullptr) *previous = std::move(Text);
    Text.clear();
  }
  WithoutMarks(piece, pairs, [this](char c) { Text += c; });
  return newLine;
}

}  // namespace sonvela
