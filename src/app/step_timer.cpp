#include "app/step_timer.h"

#include <utility>

namespace sonvela {

QtStepTimer::QtStepTimer() {
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    // The step may stop or restart the timer: it runs from a copy.
    const std::function<void()> step = step_;
    if (step) step();
  });
}

void QtStepTimer::Start(int intervalMs, std::function<void()> step) {
  step_ = std::move(step);
  timer_.start(intervalMs);
}

void QtStepTimer::Stop() {
  timer_.stop();
  step_ = nullptr;
}

}  // namespace sonvela
