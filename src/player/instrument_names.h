#pragma once
// The General MIDI instrument names that the instrument labels and lists show, each led by its 1-based
// program number ("1 Acoustic Grand" .. "128 Gunshot").

#include <string_view>

namespace sonvela {

constexpr int kInstrumentCount = 128;
// The table has room for a whole byte of program numbers; 128..255 stay empty.
constexpr int kInstrumentNameSlots = 256;

// The text for program 0..127; empty for any other value.
std::string_view InstrumentNames(int program);

}  // namespace sonvela
