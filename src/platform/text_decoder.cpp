#include "platform/text_decoder.h"

#include <cstdlib>

#include "platform/charset_detection.h"
#include "text/charsets.h"

namespace sonvela {

namespace {

CharsetConverter FallbackConverter() {
  return std::move(*CharsetConverter::Open(std::string(kFallbackCharset)));
}

}  // namespace

std::string CharsetSetting() {
  const char* value = std::getenv(kCharsetVariable);
  return value != nullptr ? value : "";
}

TextDecoder::TextDecoder() : chosen_(kAutomaticCharset) {}

bool TextDecoder::Choose(std::string_view name) {
  if (name.empty() || name == kAutomaticCharset) {
    chosen_ = kAutomaticCharset;
    chosenConverter_.reset();
    return true;
  }
  const std::string charset = ConverterName(name);
  std::optional<CharsetConverter> converter = CharsetConverter::Open(charset);
  if (!converter) return false;
  chosen_ = charset;
  chosenConverter_ = std::move(converter);
  return true;
}

const CharsetConverter& TextDecoder::Detected() const {
  const std::optional<uint64_t> load = song_ ? std::optional(song_->LoadGeneration) : std::nullopt;
  if (!detected_ || detectedFor_ != load) {
    detectedFor_ = load;
    detected_.reset();
    if (song_ != nullptr) {
      if (const std::optional<std::string> charset = DetectCharset(*song_)) {
        detected_ = CharsetConverter::Open(*charset);
      }
    }
    if (!detected_) detected_ = FallbackConverter();
  }
  return *detected_;
}

const std::string& TextDecoder::InUse() const {
  return Automatic() ? Detected().From() : chosenConverter_->From();
}

std::string TextDecoder::Decode(std::string_view bytes) const {
  if (IsAscii(bytes)) return std::string(bytes);
  if (Automatic()) {
    if (IsUtf8(bytes)) return std::string(bytes);
    return Detected().Convert(bytes);
  }
  return chosenConverter_->Convert(bytes);
}

}  // namespace sonvela
