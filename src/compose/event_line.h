#pragma once
// Note On and Note Off events in a text form whose byte order is the order they are written in.

#include <cstdint>
#include <string>
#include <vector>

#include "compose/voice_events.h"

namespace sonvela {

struct EventLine {
  // "0000000050  on:nota 66 canale: 0": the sort key.
  std::string text;
  int64_t time = 0;
  bool noteOn = false;
  int16_t note = 0;
  int32_t channel = 0;
};

EventLine MakeEventLine(int64_t time, bool noteOn, int16_t note, int32_t channel);

// A Note On at each start and a Note Off at each end, in ascending byte order of their text: by time,
// then every Note On before every Note Off, then by the note's and channel's number text.
std::vector<EventLine> SortedEventLines(const std::vector<ComposedEvent>& events);

}  // namespace sonvela
