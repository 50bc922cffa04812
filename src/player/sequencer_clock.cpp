#include "player/sequencer_clock.h"

namespace sonvela {

uint32_t SequencerClock::MMTimerStart(int slot, int periodMs) {
  if (slot < kSequencerSlot || slot > kProgressSlot) {
    DebugLog(logs_, "Problemi in MMTimerStart");
    return 0;
  }
  const uint32_t id = timers_.Start(slot, periodMs);
  SequencerTimers[static_cast<size_t>(slot)] = id;
  return id;
}

void SequencerClock::MMTimerKill(int slot) {
  if (slot > 0) {
    if (slot > kProgressSlot) return;
    timers_.Kill(slot);
    SequencerTimers[static_cast<size_t>(slot)] = 0;
    return;
  }
  for (int each = kSequencerSlot; each <= kProgressSlot; ++each) {
    timers_.Kill(each);
    SequencerTimers[static_cast<size_t>(each)] = 0;
  }
}

void SequencerClock::StartSongTimers() {
  MMTimerStart(kSequencerSlot, kSequencerPeriodMs);
  MMTimerStart(kProgressSlot, kProgressPeriodMs);
}

void SequencerClock::KillSongTimers() {
  MMTimerKill(kSequencerSlot);
  MMTimerKill(kProgressSlot);
}

}  // namespace sonvela
