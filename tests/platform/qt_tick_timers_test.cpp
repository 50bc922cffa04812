#include "platform/qt_tick_timers.h"

#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>
#include <vector>

namespace sonvela {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct Tick {
  int slot;
  Clock::time_point at;
};

class RecordingSink : public TickSink {
 public:
  void OnTimerTick(int slot) override {
    ticks.push_back({slot, Clock::now()});
    if (onTick) onTick(slot);
  }
  int Count(int slot) const {
    int count = 0;
    for (const Tick& tick : ticks) count += tick.slot == slot;
    return count;
  }
  std::vector<Tick> ticks;
  std::function<void(int)> onTick;
};

// Runs the event loop for `duration` from now.
void RunEventLoop(Clock::duration duration) {
  QEventLoop loop;
  QTimer::singleShot(std::chrono::ceil<std::chrono::milliseconds>(duration), Qt::PreciseTimer, &loop,
                     &QEventLoop::quit);
  loop.exec();
}

// Keeps the event loop's thread busy, as a long handler would.
void BlockEventLoopAfter(std::chrono::milliseconds delay, std::chrono::milliseconds busy) {
  QTimer::singleShot(delay, Qt::PreciseTimer, [busy] { std::this_thread::sleep_for(busy); });
}

int64_t WholePeriods(Clock::duration elapsed, std::chrono::milliseconds period) {
  return elapsed / period;
}

TEST(QtTickTimersTest, CatchesUpEveryTickAfterTheLoopWasBlocked) {
  RecordingSink sink;
  QtTickTimers timers(sink);
  const auto before = Clock::now();
  EXPECT_NE(timers.Start(kSequencerSlot, 10), 0u);
  BlockEventLoopAfter(100ms, 50ms);
  RunEventLoop(305ms);
  const auto end = Clock::now();

  // Never early: tick k comes no sooner than k periods after the start.
  for (size_t k = 1; k <= sink.ticks.size(); ++k) {
    EXPECT_GE(sink.ticks[k - 1].at - before, k * 10ms) << "tick " << k;
  }
  // None lost: the 50 ms the loop was blocked are made up, so by 300 ms all 30 ticks are there.
  EXPECT_GE(sink.Count(kSequencerSlot), 30);
  EXPECT_LE(sink.Count(kSequencerSlot), WholePeriods(end - before, 10ms));
}

TEST(QtTickTimersTest, KillDropsPendingTicksAndStopsTheSlot) {
  RecordingSink sink;
  QtTickTimers timers(sink);
  timers.Start(kSequencerSlot, 10);
  std::this_thread::sleep_for(55ms);  // five ticks due but not yet delivered
  timers.Kill(kSequencerSlot);
  RunEventLoop(60ms);
  EXPECT_EQ(sink.Count(kSequencerSlot), 0);

  // Killed from inside a tick while more late ticks are waiting: the rest are dropped too.
  sink.onTick = [&timers, &sink](int slot) {
    if (sink.Count(slot) == 3) timers.Kill(slot);
  };
  timers.Start(kSequencerSlot, 10);
  std::this_thread::sleep_for(80ms);
  RunEventLoop(60ms);
  EXPECT_EQ(sink.Count(kSequencerSlot), 3);

  sink.onTick = nullptr;
  timers.Start(kProgressSlot, 10);
  timers.Start(kSecondSlot, 10);
  timers.Kill(0);
  RunEventLoop(40ms);
  EXPECT_EQ(sink.Count(kProgressSlot) + sink.Count(kSecondSlot), 0);
}

TEST(QtTickTimersTest, RestartingASlotKeepsItsRate) {
  RecordingSink sink;
  QtTickTimers timers(sink);
  const uint32_t first = timers.Start(kSequencerSlot, 10);
  RunEventLoop(50ms);
  const size_t beforeRestart = sink.ticks.size();
  const auto restart = Clock::now();
  const uint32_t second = timers.Start(kSequencerSlot, 10);
  EXPECT_NE(second, 0u);
  EXPECT_NE(second, first);
  RunEventLoop(205ms);
  const auto end = Clock::now();

  const int64_t afterRestart = static_cast<int64_t>(sink.ticks.size() - beforeRestart);
  EXPECT_GE(afterRestart, 20);
  EXPECT_LE(afterRestart, WholePeriods(end - restart, 10ms)) << "the replaced timer must not tick on";
}

TEST(QtTickTimersTest, DeliversSlotsInTimeOrderAfterABlock) {
  RecordingSink sink;
  QtTickTimers timers(sink);
  EXPECT_EQ(timers.Start(0, 10), 0u);
  EXPECT_EQ(timers.Start(4, 10), 0u);
  EXPECT_EQ(timers.Start(kSequencerSlot, 0), 0u);
  timers.Start(kSequencerSlot, 10);
  timers.Start(kProgressSlot, 100);
  BlockEventLoopAfter(5ms, 250ms);
  RunEventLoop(305ms);

  ASSERT_GE(sink.Count(kProgressSlot), 3);
  // Caught-up ticks come in the order they fell due: the k-th 100 ms tick after the tenth 10 ms tick.
  int sequencerTicks = 0;
  int progressTicks = 0;
  for (const Tick& tick : sink.ticks) {
    if (tick.slot == kSequencerSlot) ++sequencerTicks;
    if (tick.slot == kProgressSlot) {
      ++progressTicks;
      EXPECT_GE(sequencerTicks, 10 * progressTicks);
      EXPECT_LE(sequencerTicks, 10 * progressTicks + 1);
    }
  }
}

}  // namespace
}  // namespace sonvela
