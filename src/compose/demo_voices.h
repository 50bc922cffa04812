#pragma once
// The fixed demonstration piece: sixteen voices, most of them empty.

#include <array>
#include <cstdint>
#include <string>

namespace sonvela {

inline constexpr int kVoiceCount = 16;
inline constexpr int16_t kNoProgram = -1;

struct Voice {
  std::string VoiceText;  // before ParseVoiceText: tokens and blanks still in it
  std::string VoiceMode;
  int16_t VoiceStep = 0;
  int16_t VoiceLength = 0;
  int16_t VoiceChannel = 0;      // 0: the voice's own channel; n: channel index n - 1
  int16_t Program = kNoProgram;  // sent at time 0 on the voice's channel
};

// Voice v (1..16) is element v - 1.
std::array<Voice, kVoiceCount> DemoVoices();

}  // namespace sonvela
