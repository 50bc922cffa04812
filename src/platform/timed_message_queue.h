#pragma once
// Messages of the song on their way to an output that plays them at their due time: pushed by the senders,
// taken in order by the one thread that plays them (the synth's audio thread, or a port's sender thread).

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace sonvela {

struct TimedMessage {
  double dueMs = 0;  // WallClock::MonotonicMs
  uint32_t word = 0;
};

// A note that starts to sound: what a queue emptied at a close leaves out, as the note would be cut off at
// once, or left hanging after the close's All Notes Off.
inline bool IsNoteOn(uint32_t word) {
  return (word & 0xF0) == 0x90 && (word >> 16 & 0x7F) != 0;
}

class TimedMessageQueue {
 public:
  TimedMessageQueue();

  // Any thread. The order of the sends is kept: a message due before one pushed earlier is due with it.
  // The lock is held only to store the message, so the audio thread never waits long for it.
  void Push(uint32_t word, double dueMs);
  // The consumer: the oldest message if it is due by `untilMs`.
  std::optional<TimedMessage> PopDueBy(double untilMs);
  // The oldest message, due or not.
  std::optional<TimedMessage> Pop();
  // A consumer that may sleep: waits until the oldest message is due at `dueMs + latencyMs` on the steady
  // clock (true), or `stop` is set and Wake called (false).
  bool WaitUntilDue(double latencyMs, const std::atomic<bool>& stop);
  // Wakes a consumer waiting in WaitUntilDue to look at `stop`.
  void Wake();
  // Messages pushed and not yet taken.
  size_t Size() const;

 private:
  static constexpr size_t kInitialRoom = 4096;
  TimedMessage& Front() { return ring_[head_]; }
  TimedMessage PopFront();

  mutable std::mutex mutex_;
  std::condition_variable pushed_;
  std::vector<TimedMessage> ring_;  // a ring: `count_` messages from `head_` on
  size_t head_ = 0;
  size_t count_ = 0;
  double lastDueMs_ = 0;
};

}  // namespace sonvela
