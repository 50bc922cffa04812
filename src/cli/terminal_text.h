#pragma once
// Text for a terminal: fitted into its columns, and written in the charset of its locale.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/charset_converter.h"

namespace sonvela {

// As much of a UTF-8 text as fits in `columns` columns of a terminal (wide and combining characters
// counted as a terminal shows them).
std::string_view FirstColumns(std::string_view text, size_t columns);

// Writes UTF-8 text in the locale's charset (what the terminal shows); a character the charset lacks
// becomes "?". The plain C locale is taken as UTF-8, as Qt takes it.
class TerminalCharset {
 public:
  TerminalCharset();
  std::string FromUtf8(std::string_view text) const;

 private:
  std::optional<CharsetConverter> converter_;  // none: the terminal reads UTF-8
};

}  // namespace sonvela
