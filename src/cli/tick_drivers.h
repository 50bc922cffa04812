#pragma once
// What drives a run's ticks until it finishes: simulated time as fast as it goes, or the event loop in
// real time. Both stop cleanly on Ctrl-C.

#include <cstdint>
#include <functional>

#include "cli/play_run.h"
#include "platform/interrupt_signal.h"
#include "session/simulated_ticks.h"

namespace sonvela {

// Steps simulated time, 10 ms a step, passing stretches where nothing happens in one go. `beforeSteps`
// (may be empty) runs before time moves on, with everything due up to the present already sent: the
// renderer renders the time that leads to the next tick there.
void DriveSimulated(PlayRun& run, SimulatedTicks& ticks, InterruptSignal& interrupt,
                    const std::function<void(int64_t steps)>& beforeSteps);
// Runs the Qt event loop while the run plays; once it has finished, goes on `tailMs` longer so the last
// notes can ring out on a sounding output.
void DriveRealTime(PlayRun& run, InterruptSignal& interrupt, int tailMs);

}  // namespace sonvela
