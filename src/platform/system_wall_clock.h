#pragma once
// The machine's local time, and its steady clock for elapsed times.

#include "player/wall_clock.h"

namespace sonvela {

class SystemWallClock : public WallClock {
 public:
  double MillisecondsSinceMidnight() override;
  double MonotonicMs() override;
  LocalDateTime Now() override;
};

}  // namespace sonvela
