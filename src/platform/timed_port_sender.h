#pragma once
// Sends the song's messages to a MIDI port at their due time plus the output latency, from a thread of its
// own (at real-time priority where the system grants it), so that no repaint, dialog or load on the UI
// thread holds a port send back.

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

#include "platform/log_sink.h"
#include "platform/timed_message_queue.h"

namespace sonvela {

class TimedPortSender {
 public:
  // `sendDue` runs on the sender's thread whenever a message is due: it takes every due message with
  // TakeDue and sends it, under the lock that guards the port.
  TimedPortSender(double latencyMs, std::function<void()> sendDue, LogSink log);
  ~TimedPortSender();
  TimedPortSender(const TimedPortSender&) = delete;
  TimedPortSender& operator=(const TimedPortSender&) = delete;

  // Any thread.
  void SendAt(uint32_t word, double dueMs) { queue_.Push(word, dueMs); }
  // Messages taken and not yet due.
  size_t Pending() const { return queue_.Size(); }
  // The next message due by `nowMs` (the steady clock's ms), or, with `all`, the next one whatever its time.
  std::optional<TimedMessage> TakeDue(double nowMs, bool all = false) {
    return all ? queue_.Pop() : queue_.PopDueBy(nowMs - latencyMs_);
  }

 private:
  void Run();

  double latencyMs_;
  std::function<void()> sendDue_;
  LogSink log_;
  TimedMessageQueue queue_;
  std::atomic<bool> stop_ = false;
  std::thread thread_;
};

}  // namespace sonvela
