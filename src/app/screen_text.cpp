#include "app/screen_text.h"

#include <QStringDecoder>

#include <array>

namespace sonvela {

namespace {

// Windows-1252 bytes 0x80..0x9F; the five bytes the code page leaves undefined show as a question mark.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, u'?',   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, u'?',   0x017D, u'?',   u'?',   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, u'?',   0x017E, 0x0178};

bool IsAscii(std::string_view bytes) {
  for (const char byte : bytes) {
    if (static_cast<unsigned char>(byte) >= 0x80) return false;
  }
  return true;
}

}  // namespace

QString ScreenText(std::string_view bytes) {
  const auto size = static_cast<qsizetype>(bytes.size());
  if (IsAscii(bytes)) return QString::fromLatin1(bytes.data(), size);
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8(QByteArrayView(bytes.data(), size));
  if (!utf8.hasError()) return text;
  text.resize(size);
  for (qsizetype i = 0; i < size; ++i) {
    const auto byte = static_cast<unsigned char>(bytes[static_cast<size_t>(i)]);
    text[i] = byte >= 0x80 && byte <= 0x9F ? QChar(kHighControls[byte - 0x80]) : QChar(byte);
  }
  return text;
}

}  // namespace sonvela
