#include "cli/tick_drivers.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <memory>

#include "session/simulated_run.h"

namespace sonvela {

namespace {
// Looking for Ctrl-C costs a system call: once every this many steps is still well under a second.
constexpr int kStepsPerInterruptCheck = 256;
}  // namespace

void DriveSimulated(PlayRun& run, SimulatedTicks& ticks, InterruptSignal& interrupt,
                    const std::function<void(int64_t steps)>& beforeSteps) {
  int steps = 0;
  const auto done = [&] {
    if (++steps % kStepsPerInterruptCheck == 0) {
      if (const int signal = interrupt.Arrived(); signal != 0) run.Interrupt(signal);
    }
    return run.Finished();
  };
  SimulatedRun simulated{done, [&run] { return run.QuietSteps(); },
                         [&run](int64_t steps) { run.Session().Player().PassQuietTicks(steps); },
                         beforeSteps};
  RunSimulated(ticks, run, simulated);
}

void DriveRealTime(PlayRun& run, InterruptSignal& interrupt, int tailMs) {
  if (run.Finished()) return;
  std::unique_ptr<QSocketNotifier> notifier;
  if (interrupt.Descriptor() >= 0) {
    notifier = std::make_unique<QSocketNotifier>(interrupt.Descriptor(), QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, [&] {
      const int signal = interrupt.Arrived();
      if (signal == 0) return;
      // A second Ctrl-C, while the last notes ring out, does not wait for them.
      if (run.Finished()) {
        QCoreApplication::exit();
      } else {
        run.Interrupt(signal);
      }
    });
  }
  run.onFinished = [tailMs] { QTimer::singleShot(tailMs, [] { QCoreApplication::exit(); }); };
  QCoreApplication::exec();
  run.onFinished = nullptr;
}

}  // namespace sonvela
