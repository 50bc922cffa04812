#pragma once
// The timer slot table over the TickTimers port: which of the three periodic timers run.

#include <array>
#include <cstdint>

#include "player/tick_timers.h"
#include "text/logs.h"

namespace sonvela {

class SequencerClock {
 public:
  SequencerClock(TickTimers& timers, Logs& logs) : timers_(timers), logs_(logs) {}

  // Starts the slot's periodic timer and returns its id, 0 when it could not start. Starting a running
  // slot replaces its timer.
  uint32_t MMTimerStart(int slot, int periodMs);
  // Kills one slot, or with slot 0 all three.
  void MMTimerKill(int slot);
  // 0 when the slot's timer does not run.
  uint32_t SequencerTimer(int slot) const { return SequencerTimers[static_cast<size_t>(slot)]; }

  // The song timers (clock and progress) start and stop together.
  void StartSongTimers();
  void KillSongTimers();

  // Slot 0 is never used.
  std::array<uint32_t, 4> SequencerTimers{};

 private:
  TickTimers& timers_;
  Logs& logs_;
};

}  // namespace sonvela
