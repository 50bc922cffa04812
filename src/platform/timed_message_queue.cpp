#include "platform/timed_message_queue.h"

#include <algorithm>

namespace sonvela {

TimedMessageQueue::TimedMessageQueue() : ring_(kInitialRoom) {}

void TimedMessageQueue::Push(uint32_t word, double dueMs) {
  {
    std::lock_guard lock(mutex_);
    if (count_ == ring_.size()) {
      // Full: the ring doubles, its messages in order from the start. Rare, as the room only grows.
      std::vector<TimedMessage> larger(ring_.size() * 2);
      for (size_t index = 0; index < count_; ++index) larger[index] = ring_[(head_ + index) % ring_.size()];
      ring_ = std::move(larger);
      head_ = 0;
    }
    dueMs = std::max(dueMs, lastDueMs_);
    lastDueMs_ = dueMs;
    ring_[(head_ + count_) % ring_.size()] = {dueMs, word};
    ++count_;
  }
  pushed_.notify_one();
}

TimedMessage TimedMessageQueue::PopFront() {
  const TimedMessage message = ring_[head_];
  head_ = (head_ + 1) % ring_.size();
  --count_;
  return message;
}

std::optional<TimedMessage> TimedMessageQueue::PopDueBy(double untilMs) {
  std::lock_guard lock(mutex_);
  if (count_ == 0 || Front().dueMs > untilMs) return std::nullopt;
  return PopFront();
}

std::optional<TimedMessage> TimedMessageQueue::Pop() {
  std::lock_guard lock(mutex_);
  if (count_ == 0) return std::nullopt;
  return PopFront();
}

bool TimedMessageQueue::WaitUntilDue(double latencyMs, const std::atomic<bool>& stop) {
  using Clock = std::chrono::steady_clock;
  std::unique_lock lock(mutex_);
  while (!stop) {
    if (count_ == 0) {
      pushed_.wait(lock);
      continue;
    }
    // Later pushes never go before the oldest, so only its own due time (or a stop) ends the wait.
    const Clock::time_point due{std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double, std::milli>(Front().dueMs + latencyMs))};
    if (Clock::now() >= due) return true;
    pushed_.wait_until(lock, due);
  }
  return false;
}

void TimedMessageQueue::Wake() {
  { std::lock_guard lock(mutex_); }
  pushed_.notify_all();
}

size_t TimedMessageQueue::Size() const {
  std::lock_guard lock(mutex_);
  return count_;
}

}  // namespace sonvela
