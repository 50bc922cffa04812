#include "app/step_timer.h"

#include <utility>

namespace sonvela {

QtStepTimer::QtStepTimer() {
  timer_.setTimerType(Qt::PreciseTimer);
  timer_.setSingleShot(true);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    // The step may stop or restart the timer: it runs from a copy, and the next interval is counted from
    // its end only when it did neither.
    const std::function<void()> step = step_;
    const unsigned started = starts_;
    if (step) step();
    if (step_ && starts_ == started) timer_.start(intervalMs_);
  });
}

void QtStepTimer::Start(int intervalMs, std::function<void()> step) {
  step_ = std::move(step);
  intervalMs_ = intervalMs;
  ++starts_;
  timer_.start(intervalMs);
}

void QtStepTimer::Stop() {
  timer_.stop();
  step_ = nullptr;
}

}  // namespace sonvela
