#pragma once
// The one decoder of the texts that songs carry, for everything that shows them: valid UTF-8 shows as it
// is; other texts in the song's charset, detected once per load over all the song's texts, or Windows-1252
// where the texts cannot tell. A charset the user chooses decodes every text instead. The bytes themselves
// never change. Used from one thread.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/charset_converter.h"
#include "song/song_tables.h"

namespace sonvela {

// The environment's charset for song texts, for the toolbox and the window alike; empty when unset.
inline constexpr const char* kCharsetVariable = "SONVELA_CHARSET";
std::string CharsetSetting();

class TextDecoder {
 public:
  TextDecoder();

  // The song whose texts are decoded; its charset is detected again after each load.
  void Follow(const SongTables& song) { song_ = &song; }
  // kAutomaticCharset (or empty) to detect, or a charset's name; false, and nothing changes, for a name
  // the converter does not know.
  bool Choose(std::string_view name);
  // kAutomaticCharset, or the converter's name of the chosen charset.
  const std::string& Chosen() const { return chosen_; }
  // The converter's name of the charset that non-UTF-8 texts decode with now.
  const std::string& InUse() const;

  // The text as UTF-8.
  std::string Decode(std::string_view bytes) const;

 private:
  bool Automatic() const { return !chosenConverter_.has_value(); }
  const CharsetConverter& Detected() const;

  const SongTables* song_ = nullptr;
  std::string chosen_;
  std::optional<CharsetConverter> chosenConverter_;
  // What detection found for the song's load `detectedFor_`.
  mutable std::optional<uint64_t> detectedFor_;
  mutable std::optional<CharsetConverter> detected_;
};

}  // namespace sonvela
