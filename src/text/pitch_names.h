#pragma once
// The names of the twelve pitch classes: the solfege names the displays show ("do" .. "si") and the
// letters the listing adds ("C" .. "B").

#include <array>
#include <string_view>

namespace sonvela {

inline constexpr std::array<std::string_view, 12> kSolfegeNames = {"do",  "do#", "re",   "re#", "mi",  "fa",
                                                                   "fa#", "sol", "sol#", "la",  "la#", "si"};
inline constexpr std::array<std::string_view, 12> kLetterNames = {"C",  "C#", "D",  "D#", "E",  "F",
                                                                  "F#", "G",  "G#", "A",  "A#", "B"};

// The pitch class of any key number, negative ones too.
constexpr size_t PitchClass(int key) {
  return static_cast<size_t>((key % 12 + 12) % 12);
}

}  // namespace sonvela
