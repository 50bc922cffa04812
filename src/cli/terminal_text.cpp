#include "cli/terminal_text.h"

#include <langinfo.h>

#include "text/charsets.h"

namespace sonvela {

namespace {

// The columns a character takes on a terminal: two for the wide characters of Chinese, Japanese and Korean,
// none for the marks that combine with the letter before (accents, Hebrew points, Thai vowels and tones).
size_t ColumnsOf(char32_t c) {
  constexpr struct {
    char32_t first, last;
    size_t columns;
  } kRanges[] = {{0x0300, 0x036F, 0}, {0x0591, 0x05C7, 0},  {0x0E31, 0x0E31, 0}, {0x0E34, 0x0E3A, 0},
                 {0x0E47, 0x0E4E, 0}, {0x1100, 0x115F, 2},  {0x2E80, 0x303E, 2}, {0x3041, 0xA4CF, 2},
                 {0xAC00, 0xD7A3, 2}, {0xF900, 0xFAFF, 2},  {0xFE30, 0xFE4F, 2}, {0xFF00, 0xFF60, 2},
                 {0xFFE0, 0xFFE6, 2}, {0x20000, 0x3FFFD, 2}};
  for (const auto& range : kRanges) {
    if (c >= range.first && c <= range.last) return range.columns;
  }
  return 1;
}

}  // namespace

std::string_view FirstColumns(std::string_view text, size_t columns) {
  size_t at = 0;
  for (size_t shown = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    size_t end = at + 1;
    while (end < text.size() && IsUtf8Continuation(static_cast<unsigned char>(text[end]))) ++end;
    // The code point, from the lead byte's bits and six from each continuation byte.
    char32_t code = lead < 0x80 ? lead : lead < 0xE0 ? lead & 0x1F : lead < 0xF0 ? lead & 0x0F : lead & 0x07;
    for (size_t i = at + 1; i < end; ++i) code = (code << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
    shown += ColumnsOf(code);
    if (shown > columns) break;
    at = end;
  }
  return text.substr(0, at);
}

TerminalCharset::TerminalCharset() {
  const std::string codeset = ConverterName(nl_langinfo(CODESET));
  if (codeset != kUtf8Charset && codeset != "ANSI_X3.4-1968")
    converter_ = CharsetConverter::Open(std::string(kUtf8Charset), codeset);
}

std::string TerminalCharset::FromUtf8(std::string_view text) const {
  return converter_ ? converter_->Convert(text) : std::string(text);
}

}  // namespace sonvela
