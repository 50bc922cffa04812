#pragma once
// Clocks for the capture file. The recorder only takes differences from the moment of Play, so these count
// from any fixed point: they must never jump, not even at midnight.

#include <chrono>

#include "cli/simulated_ticks.h"
#include "player/wall_clock.h"

namespace sonvela {

class SteadyCaptureClock : public WallClock {
 public:
  double MillisecondsSinceMidnight() override { return MonotonicMs(); }
  double MonotonicMs() override {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  LocalDateTime Now() override { return LocalDateTimeNow(); }
};

class SimulatedCaptureClock : public WallClock {
 public:
  explicit SimulatedCaptureClock(SimulatedTicks& ticks) : ticks_(ticks) {}
  double MillisecondsSinceMidnight() override { return MonotonicMs(); }
  double MonotonicMs() override { return static_cast<double>(ticks_.ElapsedMs()); }
  LocalDateTime Now() override { return ticks_.Now(); }

 private:
  SimulatedTicks& ticks_;
};

}  // namespace sonvela
