#pragma once
// The periodic timer slots on the thread of a Qt event loop, without drift.

#include <QTimer>

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

#include "player/tick_timers.h"

class QSocketNotifier;

namespace sonvela {

// QTimer alone drops ticks that are late, which would let song time slip behind wall time. So each slot keeps
// its own schedule on steady_clock and every due tick is delivered, late ones caught up one by one: after T
// ms of a 10 ms slot exactly floor(T / 10) ticks have reached the sink. The thread sleeps in its event loop
// until the next due time: a timer descriptor armed at that very time wakes it (a QTimer counts whole
// milliseconds, which would make every tick up to 1 ms late; it serves only where the descriptor cannot be
// had). Create and use it on the event loop's thread.
class QtTickTimers : public TickTimers {
 public:
  explicit QtTickTimers(TickSink& sink);
  ~QtTickTimers() override;
  QtTickTimers(const QtTickTimers&) = delete;
  QtTickTimers& operator=(const QtTickTimers&) = delete;

  // Slots 1..3 and a positive period, else 0. Restarting a slot starts a fresh schedule from now.
  uint32_t Start(int slot, int periodMs) override;
  // Slot 0 kills all slots.
  void Kill(int slot) override;
  std::optional<double> DeliveringDueMs() const override;

 private:
  using Clock = std::chrono::steady_clock;
  struct Slot {
    uint32_t id = 0;  // 0: not running
    Clock::duration period{};
    Clock::time_point start;
    int64_t delivered = 0;
    Clock::time_point NextDue() const { return start + period * (delivered + 1); }
  };
  static constexpr int kSlotCount = 3;
  // A sink slower than its ticks must not starve the rest of the event loop.
  static constexpr int kMaxTicksPerWakeUp = 100;

  void DeliverDueTicks();
  void OnWakeUp();
  int EarliestSlot() const;
  void Reschedule();

  TickSink& sink_;
  std::array<Slot, kSlotCount + 1> slots_{};  // index = slot number; 0 unused
  uint32_t lastId_ = 0;
  // The ideal time of the tick the sink is handling (nested event loops may deliver ticks within it).
  std::optional<Clock::time_point> delivering_;
  int wakeUpFd_ = -1;
  std::unique_ptr<QSocketNotifier> wakeUp_;
  QTimer timer_;  // without the descriptor
};

}  // namespace sonvela
