#include "cli/terminal_text.h"

#include "text/display_text.h"

namespace sonvela {

std::string_view FirstColumns(std::string_view text, size_t columns) {
  size_t at = 0;
  for (size_t shown = 0; at < text.size() && shown < columns; ++shown) {
    ++at;
    while (at < text.size() && IsUtf8Continuation(static_cast<unsigned char>(text[at]))) ++at;
  }
  return text.substr(0, at);
}

}  // namespace sonvela
