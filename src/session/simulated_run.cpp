#include "session/simulated_run.h"

namespace sonvela {

void RunSimulated(SimulatedTicks& ticks, TickSink& sink, const std::function<bool()>& done,
                  const std::function<void()>& beforeStep) {
  while (!done()) {
    if (beforeStep) beforeStep();
    ticks.Step(sink);
  }
}

}  // namespace sonvela
