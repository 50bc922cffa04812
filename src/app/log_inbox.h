#pragma once
// Lines that the platform layer writes from its own threads (the SoundFont loader, audio and MIDI threads)
// are brought to the UI thread, where the debug log lives.

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/log_sink.h"

namespace sonvela {

class LogInbox : public std::enable_shared_from_this<LogInbox> {
 public:
  using Deliver = std::function<void(const std::string& line)>;
  // `deliver` runs on the UI thread, once for each line, in order.
  static std::shared_ptr<LogInbox> Make(Deliver deliver);

  // A sink for any thread.
  LogSink Sink();
  // UI thread: nothing is delivered from now on (its receiver is going).
  void Close();
  // UI thread: delivers what has come so far.
  void DeliverNow();

 private:
  explicit LogInbox(Deliver deliver) : deliver_(std::move(deliver)) {}
  void Post(const std::string& line);

  std::mutex mutex_;
  std::vector<std::string> lines_;
  bool wakeUpPosted_ = false;
  Deliver deliver_;  // UI thread only
};

}  // namespace sonvela
