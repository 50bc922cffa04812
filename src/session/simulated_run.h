#pragma once
// Playing on simulated time as fast as it goes: the toolbox's --fast, the renderer and tests.

#include <cstdint>
#include <functional>

#include "player/tick_timers.h"
#include "session/simulated_ticks.h"

namespace sonvela {

struct SimulatedRun {
  // Asked before every step: stop now.
  std::function<bool()> done;
  // How many coming 10 ms steps would do nothing but move song time on (may be empty: none). They are
  // passed in one go: the sink is told with passQuiet, then the clock skips them.
  std::function<int64_t()> quietSteps;
  std::function<void(int64_t steps)> passQuiet;
  // Runs before time moves on by `steps` steps, with everything due up to the present already sent: a
  // renderer renders the time that leads to the next tick there.
  std::function<void(int64_t steps)> beforeSteps;
};

// Steps simulated time until `run.done` says so, delivering the ticks to `sink`. Skipping the quiet
// stretches gives exactly what stepping through them would: the same messages at the same times.
void RunSimulated(SimulatedTicks& ticks, TickSink& sink, const SimulatedRun& run);

}  // namespace sonvela
