#pragma once
// The real timers need their sink when they are made, and the session needs the timers when it is made:
// this passes ticks on to a sink named later.

#include "player/tick_timers.h"

namespace sonvela {

class TickRelay : public TickSink {
 public:
  void OnTimerTick(int slot) override {
    if (target) target->OnTimerTick(slot);
  }
  TickSink* target = nullptr;
};

}  // namespace sonvela
