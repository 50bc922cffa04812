#pragma once
// A termination request (SIGTERM, SIGINT, SIGHUP) ends the program the way Escape does: timers stopped,
// notes off, output closed, the capture written. Without this a script that stops the program would kill it
// in the middle of a song.

#include <QSocketNotifier>

#include <functional>
#include <memory>

#include "platform/interrupt_signal.h"

namespace sonvela {

class EndOnSignal {
 public:
  // Blocks the signals for this thread and every thread started later: make it first thing in main. A
  // signal that was ignored when the program started (nohup) stays ignored.
  EndOnSignal() = default;

  // Once the event loop's application exists: `end` runs on its thread when a signal arrives.
  void Watch(std::function<void()> end);

 private:
  InterruptSignal signals_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace sonvela
