#include "cli/terminal_text.h"

#include <langinfo.h>

#include "text/charsets.h"

namespace sonvela {

std::string_view FirstColumns(std::string_view text, size_t columns) {
  size_t at = 0;
  for (size_t shown = 0; at < text.size() && shown < columns; ++shown) {
    ++at;
    while (at < text.size() && IsUtf8Continuation(static_cast<unsigned char>(text[at]))) ++at;
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
