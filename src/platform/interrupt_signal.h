#pragma once
// Ctrl-C (SIGINT) and termination requests (SIGTERM, SIGHUP) as something to read, not a handler: the command
// notices them where it can stop cleanly (all notes off, files finished) instead of dying mid-song.

namespace sonvela {

class InterruptSignal {
 public:
  // Blocks the signals for this thread and every thread started later, so make it before any output starts
  // its threads. A signal the caller chose to ignore (nohup, a background job) stays ignored.
  InterruptSignal();
  ~InterruptSignal();
  InterruptSignal(const InterruptSignal&) = delete;
  InterruptSignal& operator=(const InterruptSignal&) = delete;

  // Readable when a signal is pending: for an event loop to watch. -1 when it could not be made.
  int Descriptor() const { return fd_; }
  // The number of a signal that has arrived since the last call, 0 for none. Reading them keeps the
  // descriptor from staying readable.
  int Arrived();

 private:
  int fd_ = -1;
};

// The exit status of a command stopped by a signal, as shells report it (130 for Ctrl-C).
constexpr int ExitStatusForSignal(int signal) {
  return 128 + signal;
}

}  // namespace sonvela
