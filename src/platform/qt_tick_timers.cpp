#include "platform/qt_tick_timers.h"

#include <QSocketNotifier>

#include <sys/timerfd.h>
#include <unistd.h>

#include <utility>

namespace sonvela {

QtTickTimers::QtTickTimers(TickSink& sink) : sink_(sink) {
  wakeUpFd_ = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
  if (wakeUpFd_ >= 0) {
    wakeUp_ = std::make_unique<QSocketNotifier>(wakeUpFd_, QSocketNotifier::Read);
    QObject::connect(wakeUp_.get(), &QSocketNotifier::activated, [this] { OnWakeUp(); });
  }
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] { DeliverDueTicks(); });
}

QtTickTimers::~QtTickTimers() {
  wakeUp_.reset();
  if (wakeUpFd_ >= 0) close(wakeUpFd_);
}

void QtTickTimers::OnWakeUp() {
  // Emptied, so that it is not readable again before its next expiry. Finding nothing (it was armed anew
  // meanwhile, from a nested event loop) does no harm: the due times decide what is delivered.
  uint64_t expirations = 0;
  [[maybe_unused]] const ssize_t got = read(wakeUpFd_, &expirations, sizeof expirations);
  DeliverDueTicks();
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

std::optional<double> QtTickTimers::DeliveringDueMs() const {
  if (!delivering_) return std::nullopt;
  // The monotonic clock that WallClock::MonotonicMs reads: steady_clock from its own epoch.
  return std::chrono::duration<double, std::milli>(delivering_->time_since_epoch()).count();
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
    const Clock::time_point due = slots_[slot].NextDue();
    ++slots_[slot].delivered;
    Reschedule();
    const std::optional<Clock::time_point> outer = std::exchange(delivering_, due);
    sink_.OnTimerTick(slot);
    delivering_ = outer;
  }
  Reschedule();
}

void QtTickTimers::Reschedule() {
  const int slot = EarliestSlot();
  if (wakeUpFd_ >= 0) {
    // steady_clock is CLOCK_MONOTONIC on Linux: the slot's due time is the descriptor's expiry as it is.
    itimerspec when{};  // all zero: disarmed
    if (slot != 0) {
      const auto due = slots_[slot].NextDue().time_since_epoch();
      const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(due);
      when.it_value.tv_sec = static_cast<time_t>(seconds.count());
      when.it_value.tv_nsec = static_cast<long>(std::chrono::nanoseconds(due - seconds).count());
      // A due time of exactly zero would disarm; it is long past anyway.
      if (when.it_value.tv_sec == 0 && when.it_value.tv_nsec == 0) when.it_value.tv_nsec = 1;
    }
    timerfd_settime(wakeUpFd_, TFD_TIMER_ABSTIME, &when, nullptr);
    return;
  }
  if (slot == 0) {
    timer_.stop();
    return;
  }
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(slots_[slot].NextDue() - Clock::now());
  timer_.start(std::max(wait, std::chrono::milliseconds(0)));
}

}  // namespace sonvela
