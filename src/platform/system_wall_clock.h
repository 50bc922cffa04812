#pragma once
// The machine's local time, and its steady clock for elapsed times.

#include "player/wall_clock.h"

namespace sonvela {

// The steady clock in milliseconds from its own epoch: MonotonicMs, for any thread (audio threads too).
double SteadyNowMs();

class SystemWallClock : public WallClock {
 public:
  double MillisecondsSinceMidnight() override;
  double MonotonicMs() override;
  LocalDateTime Now() override;
};

}  // namespace sonvela
