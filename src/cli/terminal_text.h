#pragma once
// Texts from song files are bytes: valid UTF-8 is shown as it is, anything else is read as Windows-1252
// (what karaoke files of the time used). The terminal gets UTF-8 either way.

#include <string>
#include <string_view>

namespace sonvela {

std::string TerminalText(std::string_view bytes);
// The first `columns` characters of a UTF-8 text.
std::string_view FirstColumns(std::string_view text, size_t columns);

}  // namespace sonvela
