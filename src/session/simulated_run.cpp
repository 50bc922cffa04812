#include "session/simulated_run.h"

namespace sonvela {

void RunSimulated(SimulatedTicks& ticks, TickSink& sink, const SimulatedRun& run) {
  while (!run.done()) {
    const int64_t quiet = run.quietSteps && run.passQuiet ? run.quietSteps() : 0;
    if (quiet > 0) {
      if (run.beforeSteps) run.beforeSteps(quiet);
      run.passQuiet(quiet);
      ticks.Skip(quiet);
      continue;
    }
    if (run.beforeSteps) run.beforeSteps(1);
    ticks.Step(sink);
  }
}

}  // namespace sonvela
