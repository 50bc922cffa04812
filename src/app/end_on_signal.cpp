#include "app/end_on_signal.h"

#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <csignal>

namespace sonvela {

namespace {

sigset_t EndingSignals() {
  sigset_t ending;
  sigemptyset(&ending);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current {};
    if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
    sigaddset(&ending, signal);
  }
  return ending;
}

}  // namespace

EndOnSignal::EndOnSignal() {
  const sigset_t ending = EndingSignals();
  // Without a descriptor to read them from, the ending keep their default action.
  if (pthread_sigmask(SIG_BLOCK, &ending, nullptr) != 0) return;
  fd_ = signalfd(-1, &ending, SFD_NONBLOCK | SFD_CLOEXEC);
  if (fd_ < 0) pthread_sigmask(SIG_UNBLOCK, &ending, nullptr);
}

EndOnSignal::~EndOnSignal() {
  notifier_.reset();
  if (fd_ >= 0) close(fd_);
}

void EndOnSignal::Watch(std::function<void()> end) {
  if (fd_ < 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this, end = std::move(end)] {
    signalfd_siginfo info;
    bool arrived = false;
    while (read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) arrived = true;
    if (arrived && end) end();
  });
}

}  // namespace sonvela
