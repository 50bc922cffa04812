#include "text/charsets.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace sonvela {

namespace {

constexpr std::array<CharsetChoice, 18> kCommon = {{
    {"UTF-8", "UTF-8"},
    {"Windows-1252", "WINDOWS-1252"},
    {"Windows-1250", "WINDOWS-1250"},
    {"Windows-1251", "WINDOWS-1251"},
    {"KOI8-R", "KOI8-R"},
    {"Windows-1253", "WINDOWS-1253"},
    {"ISO-8859-7", "ISO-8859-7"},
    {"Windows-1254", "WINDOWS-1254"},
    {"Windows-1255", "WINDOWS-1255"},
    {"Windows-1256", "WINDOWS-1256"},
    {"Windows-1257", "WINDOWS-1257"},
    {"Windows-1258", "WINDOWS-1258"},
    {"Windows-874", "CP874"},
    {"Shift_JIS", "CP932"},
    {"EUC-JP", "EUC-JP"},
    {"GB18030", "GB18030"},
    {"Big5", "CP950"},
    {"EUC-KR", "CP949"},
}};

// A detector's names that have a wider form; the bool says the wider form only holds where the texts
// use bytes 0x80..0x9F, which the ISO form leaves to control codes.
struct Widening {
  std::string_view Guess;
  std::string_view Charset;
  bool OnlyWithC1 = false;
};
// The Mac and old IBM Cyrillic pages are what a detector guesses for short Russian texts written with
// Windows-1251, never what karaoke files used.
constexpr std::array<Widening, 16> kWidenings = {{
    {"SHIFT_JIS", "CP932"},
    {"EUC-KR", "CP949"},
    {"UHC", "CP949"},
    {"BIG5", "CP950"},
    {"GB2312", "GB18030"},
    {"GBK", "GB18030"},
    {"ISO-8859-1", "WINDOWS-1252"},
    {"ISO-8859-15", "WINDOWS-1252"},
    {"ISO-8859-9", "WINDOWS-1254"},
    {"TIS-620", "CP874"},
    {"MAC-CYRILLIC", "WINDOWS-1251"},
    {"IBM855", "WINDOWS-1251"},
    {"MAC-CENTRALEUROPE", "WINDOWS-1250"},
    {"ISO-8859-7", "WINDOWS-1253", true},
    {"ISO-8859-8", "WINDOWS-1255", true},
    {"ISO-8859-2", "WINDOWS-1250", true},
}};

// Below this many bytes beyond ASCII a detector's guess is little better than chance.
constexpr size_t kLeastEvidence = 6;

// Upper case with "_" as "-": how names are compared.
std::string Key(std::string_view name) {
  std::string key(name);
  for (char& c : key) c = c == '_' ? '-' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return key;
}

// Length of the UTF-8 sequence at `at`, 0 when it is not one (overlong forms and surrogates included).
size_t SequenceLength(std::string_view text, size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  size_t length = lead < 0x80                    ? 1
                  : lead >= 0xC2 && lead <= 0xDF ? 2
                  : lead >= 0xE0 && lead <= 0xEF ? 3
                  : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                 : 0;
  if (length == 0 || at + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    if (!IsUtf8Continuation(static_cast<unsigned char>(text[at + i]))) return 0;
  }
  if (length == 1) return 1;
  const auto second = static_cast<unsigned char>(text[at + 1]);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90)) {
    return 0;
  }
  return length;
}

}  // namespace

std::span<const CharsetChoice> CommonCharsets() {
  return kCommon;
}

std::string ConverterName(std::string_view name) {
  const std::string key = Key(name);
  for (const CharsetChoice& choice : kCommon) {
    if (key == Key(choice.Label) || key == Key(choice.Converter)) return std::string(choice.Converter);
  }
  return std::string(name);
}

std::optional<std::string> ChosenCharset(std::string_view guess, size_t nonAsciiBytes, bool hasC1Bytes) {
  const std::string key = Key(guess);
  if (nonAsciiBytes < kLeastEvidence || key.empty() || key == "ASCII") return std::nullopt;
  for (const Widening& widening : kWidenings) {
    if (key == Key(widening.Guess) && (!widening.OnlyWithC1 || hasC1Bytes))
      return std::string(widening.Charset);
  }
  return key;
}

bool IsUtf8(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    const size_t length = SequenceLength(text, at);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace sonvela
