#pragma once
// Voices into timed notes: every character of a parsed voice text is one note, a fixed step after
// the previous one.

#include <cstdint>
#include <string_view>
#include <vector>

namespace sonvela {

struct ComposedEvent {
  int16_t note = 0;
  int64_t start = 0;  // ticks
  int64_t end = 0;
  int32_t channel = 0;  // index 0..15
};

// Shorter steps and lengths are raised to these, so notes never pile up or vanish.
inline constexpr int16_t kMinVoiceStep = 50;
inline constexpr int16_t kMinVoiceLength = 20;

// The channel index of voice `voiceNumber` (1..16): its own by default, else `voiceChannel` - 1.
int32_t VoiceChannelIndex(int voiceNumber, int16_t voiceChannel);

// The events of one parsed voice text. A rest (character 0) is still an event with note 0 but is
// never doubled by the mode.
std::vector<ComposedEvent> ComposeVoiceEvents(std::string_view text, std::string_view mode, int16_t step,
                                              int16_t length, int32_t channel);

}  // namespace sonvela
