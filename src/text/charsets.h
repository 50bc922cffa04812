#pragma once
// The charsets that song texts come in, by the names the converter knows them by, and how a detector's
// guess becomes the charset used: the Windows code pages that karaoke files were written with are
// supersets of the ISO and EUC charsets a detector names, so a guess takes its wider form.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace sonvela {

// What the user picks to let each song's texts choose their charset.
inline constexpr std::string_view kAutomaticCharset = "Automatico";
// Where detection cannot tell (too little text, no guess): the charset of most older song files.
inline constexpr std::string_view kFallbackCharset = "WINDOWS-1252";
inline constexpr std::string_view kUtf8Charset = "UTF-8";

struct CharsetChoice {
  std::string_view Label;      // as the menu shows it
  std::string_view Converter;  // the converter's name for it
};

// The common charsets, in the order the menu offers them (after kAutomaticCharset).
std::span<const CharsetChoice> CommonCharsets();

// The converter's name for a charset named by the user: a label or converter name of CommonCharsets
// (case and "-"/"_" aside), else the name as it stands, for the converter to accept or refuse.
std::string ConverterName(std::string_view name);

// The charset to decode with, given what a detector guessed over the texts that are not UTF-8 and how
// many of their bytes are not ASCII; nullopt when the guess is too weak to use.
std::optional<std::string> ChosenCharset(std::string_view guess, size_t nonAsciiBytes, bool hasC1Bytes);

bool IsUtf8(std::string_view text);
bool IsAscii(std::string_view text);
constexpr bool IsUtf8Continuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

}  // namespace sonvela
