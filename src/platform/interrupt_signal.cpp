#include "platform/interrupt_signal.h"

#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <csignal>
#include <initializer_list>

namespace sonvela {

namespace {

sigset_t InterruptSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current {};
    if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
    sigaddset(&signals, signal);
  }
  return signals;
}

}  // namespace

InterruptSignal::InterruptSignal() {
  const sigset_t signals = InterruptSignals();
  // Without the descriptor the signals keep their default action: better than signals nobody reads.
  if (pthread_sigmask(SIG_BLOCK, &signals, nullptr) != 0) return;
  fd_ = signalfd(-1, &signals, SFD_NONBLOCK | SFD_CLOEXEC);
  if (fd_ < 0) pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
}

InterruptSignal::~InterruptSignal() {
  if (fd_ >= 0) close(fd_);
}

int InterruptSignal::Arrived() {
  int arrived = 0;
  signalfd_siginfo info;
  while (fd_ >= 0 && read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
    arrived = static_cast<int>(info.ssi_signo);
  }
  return arrived;
}

}  // namespace sonvela
