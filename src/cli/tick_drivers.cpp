#include "cli/tick_drivers.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <memory>

namespace sonvela {

namespace {
// Looking for Ctrl-C costs a system call: once every this many steps is still well under a second.
constexpr int kStepsPerInterruptCheck = 256;
}  // namespace

void DriveSimulated(PlaySession& session, SimulatedTicks& ticks, InterruptSignal& interrupt,
                    const std::function<void()>& beforeStep) {
  for (int step = 1; !session.Finished(); ++step) {
    if (step % kStepsPerInterruptCheck == 0) {
      if (const int signal = interrupt.Arrived(); signal != 0) {
        session.Interrupt(signal);
        break;
      }
    }
    if (beforeStep) beforeStep();
    ticks.Step(session);
  }
}

void DriveRealTime(PlaySession& session, InterruptSignal& interrupt, int tailMs) {
  if (session.Finished()) return;
  std::unique_ptr<QSocketNotifier> notifier;
  if (interrupt.Descriptor() >= 0) {
    notifier = std::make_unique<QSocketNotifier>(interrupt.Descriptor(), QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, [&] {
      const int signal = interrupt.Arrived();
      if (signal == 0) return;
      // A second Ctrl-C, while the last notes ring out, does not wait for them.
      if (session.Finished()) {
        QCoreApplication::exit();
      } else {
        session.Interrupt(signal);
      }
    });
  }
  session.onFinished = [tailMs] { QTimer::singleShot(tailMs, [] { QCoreApplication::exit(); }); };
  QCoreApplication::exec();
  session.onFinished = nullptr;
}

}  // namespace sonvela
