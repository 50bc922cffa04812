#pragma once
// Texts from song files are bytes: valid UTF-8 is shown as it is, anything else is read as Windows-1252
// (what karaoke files of the time used). Screens get UTF-8 either way; the bytes themselves never change.

#include <string>
#include <string_view>

namespace sonvela {

constexpr bool IsUtf8Continuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

std::string DisplayText(std::string_view bytes);

}  // namespace sonvela
