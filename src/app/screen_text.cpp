#include "app/screen_text.h"

#include <string>

#include "text/display_text.h"

namespace sonvela {

namespace {

bool IsAscii(std::string_view bytes) {
  for (const char byte : bytes) {
    if (static_cast<unsigned char>(byte) >= 0x80) return false;
  }
  return true;
}

}  // namespace

QString ScreenText(std::string_view bytes) {
  // Most texts are plain ASCII, and lists ask for every row they paint: no decoding for those.
  if (IsAscii(bytes)) return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
  const std::string text = DisplayText(bytes);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace sonvela
