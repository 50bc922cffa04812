#pragma once
// The three periodic timers that drive playback, and where their ticks go.

#include <cstdint>
#include <optional>

namespace sonvela {

constexpr int kSequencerSlot = 1;  // every 10 ms: song clock and due events
constexpr int kSecondSlot = 2;     // every 1000 ms: wall clock, automatic next song
constexpr int kProgressSlot = 3;   // every 100 ms: progress text, intro limit, level meters
constexpr int kSequencerPeriodMs = 10;
constexpr int kSecondPeriodMs = 1000;
constexpr int kProgressPeriodMs = 100;

// Receives the ticks, always on the UI thread, in order.
class TickSink {
 public:
  virtual ~TickSink() = default;
  virtual void OnTimerTick(int slot) = 0;
};

class TickTimers {
 public:
  virtual ~TickTimers() = default;
  // Starts a periodic timer for the slot (1..3); returns its id (non-zero), or 0 on failure.
  // Starting a running slot replaces its timer: only the newest timer's ticks are delivered.
  virtual uint32_t Start(int slot, int periodMs) = 0;
  // Stops the slot's timer; ticks of it not yet delivered are dropped.
  virtual void Kill(int slot) = 0;
  // While a tick is being delivered: its ideal time (WallClock::MonotonicMs), which may lie before the
  // present when the tick is late. None outside ticks, and from timers whose ticks are never late.
  virtual std::optional<double> DeliveringDueMs() const { return std::nullopt; }
};

}  // namespace sonvela
