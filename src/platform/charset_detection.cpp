#include "platform/charset_detection.h"

#include <uchardet/uchardet.h>

#include <memory>

#include "text/charsets.h"

namespace sonvela {

namespace {

// Enough text to tell any charset apart; a song with more is told from its first texts, so that a song of
// many thousand syllables does not hold up the first text shown.
constexpr size_t kEnoughBytes = 16 * 1024;

}  // namespace

std::optional<std::string> DetectCharset(const SongTables& song) {
  const std::unique_ptr<uchardet, void (*)(uchardet_t)> detector(uchardet_new(), uchardet_delete);
  size_t nonAscii = 0;
  bool c1 = false;
  size_t fed = 0;
  for (const std::vector<std::string>* texts : {&song.TextEvents, &song.TaggedTexts}) {
    for (const std::string& text : *texts) {
      if (fed >= kEnoughBytes) break;
      if (IsAscii(text) || IsUtf8(text)) continue;
      fed += text.size() + 1;
      for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        nonAscii += byte >= 0x80 ? 1 : 0;
        c1 = c1 || (byte >= 0x80 && byte <= 0x9F);
      }
      uchardet_handle_data(detector.get(), text.data(), text.size());
      uchardet_handle_data(detector.get(), "\n", 1);
    }
  }
  if (nonAscii == 0) return std::nullopt;
  uchardet_data_end(detector.get());
  return ChosenCharset(uchardet_get_charset(detector.get()), nonAscii, c1);
}

}  // namespace sonvela
