#pragma once
// Timer slots and a wall clock on simulated time: each Step moves time on by one 10 ms sequencer period and
// delivers every tick then due, without waiting. Playback then keeps its exact tick arithmetic and the wall
// clock agrees with it (10 ms a step), so Intro and the progress text behave as in real time.

#include <array>
#include <cstddef>
#include <cstdint>

#include "player/tick_timers.h"
#include "player/wall_clock.h"

namespace sonvela {

class SimulatedTicks : public TickTimers, public WallClock {
 public:
  // Simulated time starts at the given time of day (the machine's, read by its clock), in whole
  // milliseconds so that differences of simulated times are exact.
  explicit SimulatedTicks(const LocalDateTime& start);

  uint32_t Start(int slot, int periodMs) override;
  void Kill(int slot) override;
  double MillisecondsSinceMidnight() override;
  double MonotonicMs() override { return static_cast<double>(nowMs_); }
  LocalDateTime Now() override;

  // One 10 ms step; ticks due at the same moment go out in slot order, as the real timers deliver them.
  void Step(TickSink& sink);
  // Moves time on by `steps` periods of 10 ms at once, delivering nothing: the ticks that fell due meanwhile
  // are passed over, as if they had been delivered. For stretches where the ticks would do nothing.
  void Skip(int64_t steps);
  bool Running(int slot) const { return slots_[static_cast<size_t>(slot)].id != 0; }
  // Simulated milliseconds since the clock was made.
  int64_t ElapsedMs() const { return nowMs_; }

 private:
  struct Slot {
    uint32_t id = 0;  // 0: not running
    int64_t periodMs = 0;
    int64_t nextDueMs = 0;
  };
  int DueSlot() const;

  LocalDateTime start_;
  int64_t startMs_ = 0;
  int64_t nowMs_ = 0;
  uint32_t lastId_ = 0;
  std::array<Slot, 4> slots_{};  // index = slot number; 0 unused
};

}  // namespace sonvela
