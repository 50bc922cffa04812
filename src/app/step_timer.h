#pragma once
// A step that repeats on the UI thread at a fixed interval: the clock of timed sequences that must leave the
// window answering between their steps. The window runs it on a Qt timer; tests step it by hand.

#include <QTimer>

#include <functional>

namespace sonvela {

class StepTimer {
 public:
  virtual ~StepTimer() = default;
  // Calls `step` every `intervalMs` milliseconds, the first time one interval from now, until Stop.
  // Starting again replaces the running step.
  virtual void Start(int intervalMs, std::function<void()> step) = 0;
  virtual void Stop() = 0;
};

// On a precise Qt timer of the calling thread. Each step comes a whole interval after the previous one: a
// step that comes late pushes the later ones back, so every timed note sounds its whole interval.
class QtStepTimer : public StepTimer {
 public:
  QtStepTimer();
  void Start(int intervalMs, std::function<void()> step) override;
  void Stop() override;

 private:
  QTimer timer_;
  std::function<void()> step_;
  int intervalMs_ = 0;
  unsigned starts_ = 0;
};

}  // namespace sonvela
