#include "compose/voice_events.h"

#include <algorithm>

#include "compose/voice_text.h"

namespace sonvela {
namespace {

constexpr int kHighestNote = 127;

}  // namespace

int32_t VoiceChannelIndex(int voiceNumber, int16_t voiceChannel) {
  return voiceChannel == 0 ? voiceNumber - 1 : voiceChannel - 1;
}

std::vector<ComposedEvent> ComposeVoiceEvents(std::string_view text, std::string_view mode, int16_t step,
                                              int16_t length, int32_t channel) {
  const int64_t stepTicks = std::max(step, kMinVoiceStep);
  const int64_t lengthTicks = std::max(length, kMinVoiceLength);
  int second = 0;
  if (mode == kModeOctaveUp) second = 12;
  if (mode == kModeThirdDown) second = -3;

  std::vector<ComposedEvent> events;
  events.reserve(text.size() * (second != 0 ? 2 : 1));
  // Notes outside 0..127 would become invalid data bytes in the file; the demonstration never makes
  // them, so such notes are simply left out.
  const auto add = [&](int note, int64_t start) {
    if (note < 0 || note > kHighestNote) return;
    events.push_back({static_cast<int16_t>(note), start, start + lengthTicks, channel});
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const int code = static_cast<unsigned char>(text[i]);
    const int64_t start = stepTicks * static_cast<int64_t>(i);
    add(code, start);
    if (code > 0 && second != 0) add(code + second, start);
  }
  return events;
}

}  // namespace sonvela
