#pragma once
// Playing on simulated time as fast as it goes: the toolbox's --fast, the renderer and tests.

#include <functional>

#include "player/tick_timers.h"
#include "session/simulated_ticks.h"

namespace sonvela {

// Steps simulated time, 10 ms a step, delivering the ticks to `sink` until `done` says so (asked before
// every step). `beforeStep` (may be empty) runs before each step, with everything due up to the present
// already sent: a renderer renders the 10 ms that lead to the next tick there.
void RunSimulated(SimulatedTicks& ticks, TickSink& sink, const std::function<bool()>& done,
                  const std::function<void()>& beforeStep = {});

}  // namespace sonvela
