#pragma once
// The letter language of a composed voice: one character per note, tokens in brackets set how each
// note is doubled.

#include <string>

namespace sonvela {

// Each note also sounds an octave higher.
inline constexpr char kModeOctaveUp[] = "AC";
// Each note also sounds three semitones lower.
inline constexpr char kModeThirdDown[] = "00";

// Removes the "[AC]" and "[00]" tokens from the text, setting the mode for each kind found ("00" wins
// when both are present), and turns every blank into the rest character 0. A text without tokens
// leaves the mode as it was.
void ParseVoiceText(std::string& text, std::string& mode);

}  // namespace sonvela
