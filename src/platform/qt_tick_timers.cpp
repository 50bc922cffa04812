#include "platform/qt_tick_timers.h"

namespace sonvela {

QtTickTimers::QtTickTimers(TickSink& sink) : sink_(sink) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] { DeliverDueTicks(); });
}

uint32_t QtTickTimers::Start(int slot, int periodMs) {
  if (slot < 1 || slot > kSlotCount || periodMs <= 0) return 0;
  if (++lastId_ == 0) ++lastId_;
  // Replacing the slot's schedule drops the old timer's pending ticks: only the newest timer delivers.
  slots_[slot] = Slot{lastId_, std::chrono::milliseconds(periodMs), Clock::now(), 0};
  Reschedule();
  return lastId_;
}

void QtTickTimers::Kill(int slot) {
  if (slot == 0) {
    for (Slot& each : slots_) each.id = 0;
  } else if (slot >= 1 && slot <= kSlotCount) {
    slots_[slot].id = 0;
  }
  Reschedule();
}

int QtTickTimers::EarliestSlot() const {
  int earliest = 0;
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    if (slots_[slot].id == 0) continue;
    // Ties go to the lower slot, so the order is fixed.
    if (earliest == 0 || slots_[slot].NextDue() < slots_[earliest].NextDue()) earliest = slot;
  }
  return earliest;
}

void QtTickTimers::DeliverDueTicks() {
  for (int count = 0; count < kMaxTicksPerWakeUp; ++count) {
    const int slot = EarliestSlot();
    if (slot == 0 || slots_[slot].NextDue() > Clock::now()) break;
    // Counted before the sink runs: the sink may start or kill slots, or run a nested event loop that
    // delivers further ticks; the timer stays armed for those.
    ++slots_[slot].delivered;
    Reschedule();
    sink_.OnTimerTick(slot);
  }
  Reschedule();
}

void QtTickTimers::Reschedule() {
  const int slot = EarliestSlot();
  if (slot == 0) {
    timer_.stop();
    return;
  }
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(slots_[slot].NextDue() - Clock::now());
  timer_.start(std::max(wait, std::chrono::milliseconds(0)));
}

}  // namespace sonvela
