#pragma once
// The machine's local time.

#include "player/wall_clock.h"

namespace sonvela {

class SystemWallClock : public WallClock {
 public:
  double MillisecondsSinceMidnight() override;
  LocalDateTime Now() override;
};

}  // namespace sonvela
