#include "session/simulated_ticks.h"

namespace sonvela {

namespace {
constexpr int64_t kMsPerSecond = 1000;
constexpr int64_t kMsPerDay = 86400 * kMsPerSecond;
}  // namespace

SimulatedTicks::SimulatedTicks(const LocalDateTime& start) : start_(start) {
  startMs_ = ((start_.hour * 60 + start_.minute) * 60 + start_.second) * kMsPerSecond;
}

uint32_t SimulatedTicks::Start(int slot, int periodMs) {
  if (slot < kSequencerSlot || slot > kProgressSlot || periodMs <= 0) return 0;
  if (++lastId_ == 0) ++lastId_;
  slots_[static_cast<size_t>(slot)] = Slot{lastId_, periodMs, nowMs_ + periodMs};
  return lastId_;
}

void SimulatedTicks::Kill(int slot) {
  if (slot == 0) {
    for (Slot& each : slots_) each.id = 0;
  } else if (slot >= kSequencerSlot && slot <= kProgressSlot) {
    slots_[static_cast<size_t>(slot)].id = 0;
  }
}

double SimulatedTicks::MillisecondsSinceMidnight() {
  return static_cast<double>((startMs_ + nowMs_) % kMsPerDay);
}

LocalDateTime SimulatedTicks::Now() {
  // The date stays that of the start: only the time of day is ever shown.
  const int64_t seconds = (startMs_ + nowMs_) % kMsPerDay / kMsPerSecond;
  LocalDateTime now = start_;
  now.hour = static_cast<int>(seconds / 3600);
  now.minute = static_cast<int>(seconds / 60 % 60);
  now.second = static_cast<int>(seconds % 60);
  return now;
}

int SimulatedTicks::DueSlot() const {
  int due = 0;
  for (int slot = kSequencerSlot; slot <= kProgressSlot; ++slot) {
    const Slot& each = slots_[static_cast<size_t>(slot)];
    if (each.id == 0 || each.nextDueMs > nowMs_) continue;
    if (due == 0 || each.nextDueMs < slots_[static_cast<size_t>(due)].nextDueMs) due = slot;
  }
  return due;
}

void SimulatedTicks::Step(TickSink& sink) {
  nowMs_ += kSequencerPeriodMs;
  // The sink may start or kill slots; a slot started now first falls due a period later.
  for (int slot = DueSlot(); slot != 0; slot = DueSlot()) {
    Slot& each = slots_[static_cast<size_t>(slot)];
    each.nextDueMs += each.periodMs;
    sink.OnTimerTick(slot);
  }
}

}  // namespace sonvela

namespace sonvela {

void SimulatedTicks::Skip(int64_t steps) {
  if (steps <= 0) return;
  nowMs_ += steps * kSequencerPeriodMs;
  for (Slot& each : slots_) {
    if (each.id == 0 || each.nextDueMs > nowMs_) continue;
    each.nextDueMs += ((nowMs_ - each.nextDueMs) / each.periodMs + 1) * each.periodMs;
  }
}

}  // namespace sonvela
