#include "app/screen_text.h"

#include <string>

#include "text/charsets.h"

namespace sonvela {

QString ScreenText(std::string_view utf8) {
  // Most texts are plain ASCII, and lists ask for every row they paint: no decoding for those.
  if (IsAscii(utf8)) return QString::fromLatin1(utf8.data(), static_cast<qsizetype>(utf8.size()));
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString SongText(const TextDecoder& texts, std::string_view bytes) {
  if (IsAscii(bytes)) return ScreenText(bytes);
  const std::string text = texts.Decode(bytes);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace sonvela
