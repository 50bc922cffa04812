#pragma once
// The bytes of a composed Standard MIDI File: format 0, one track, fixed header and meta events.

#include <cstdint>
#include <string>
#include <vector>

#include "compose/event_line.h"

namespace sonvela {

struct ProgramChange {
  int32_t channel = 0;
  int16_t program = 0;
};

// The programs go out at time 0 in the given order, then one channel event per line in line order.
std::string ComposedFileBytes(const std::vector<ProgramChange>& programs,
                              const std::vector<EventLine>& lines);

}  // namespace sonvela
