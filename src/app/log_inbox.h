#pragma once
// Lines that the platform layer writes from its own threads (the SoundFont loader, audio and MIDI threads)
// are brought to the UI thread, where the debug log lives.

#include <functional>
#include <memory>
#include <string>

#include "platform/log_sink.h"
#include "platform/ui_thread_queue.h"

namespace sonvela {

class LogInbox {
 public:
  using Deliver = std::function<void(const std::string& line)>;
  // On the UI thread: `deliver` runs there, once for each line, in order.
  static std::shared_ptr<LogInbox> Make(Deliver deliver) {
    return std::shared_ptr<LogInbox>(new LogInbox(std::move(deliver)));
  }

  // A sink for any thread; it may outlive the inbox's receiver.
  LogSink Sink() {
    return [queue = queue_](const std::string& line) { queue->Post(line); };
  }
  // UI thread: nothing is delivered from now on (its receiver is going).
  void Close() { queue_->Close(); }

 private:
  explicit LogInbox(Deliver deliver)
      : queue_(UiThreadQueue<std::string>::Make(
            [deliver = std::move(deliver)](std::string& line) { deliver(line); })) {}

  std::shared_ptr<UiThreadQueue<std::string>> queue_;
};

}  // namespace sonvela
