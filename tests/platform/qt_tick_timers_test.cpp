#include "platform/qt_tick_timers.h"

#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

namespace sonvela {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct RecordingSink : TickSink {
  void OnTimerTick(int slot) override {
    ticks.emplace_back(slot, Clock::now());
    if (onTick) onTick(slot);
  }
  int Count(int slot) const { return static_cast<int>(std::ranges::count(ticks, slot, &Tick::first)); }
  // Every tick due before the last one delivered must have come: they come in time order.
  int64_t DueBeforeLast(int slot, Clock::time_point since, Clock::duration period) const {
    const auto last = std::ranges::find(ticks.rbegin(), ticks.rend(), slot, &Tick::first);
    return last == ticks.rend() ? 0 : (last->second - since) / period - 1;
  }
  using Tick = std::pair<int, Clock::time_point>;
  std::vector<Tick> ticks;
  std::function<void(int)> onTick;
};

void RunEventLoop(std::chrono::milliseconds duration) {
  QEventLoop loop;
  QTimer::singleShot(duration, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec();
}

class QtTickTimersTest : public ::testing::Test {
 protected:
  RecordingSink sink;
  QtTickTimers timers{sink};
};

TEST_F(QtTickTimersTest, CatchesUpEveryTickInTimeOrderAfterTheLoopWasBlocked) {
  const auto before = Clock::now();
  EXPECT_NE(timers.Start(kSequencerSlot, 10), 0u);
  timers.Start(kProgressSlot, 100);
  QTimer::singleShot(5ms, Qt::PreciseTimer, [] { std::this_thread::sleep_for(250ms); });  // a busy handler
  RunEventLoop(305ms);
  int sequencerTicks = 0, progressTicks = 0;
  for (const auto& [slot, at] : sink.ticks) {
    if (slot == kSequencerSlot) {
      EXPECT_GE(at - before, ++sequencerTicks * 10ms) << "tick " << sequencerTicks << " came early";
    } else {  // in the order they fell due: the k-th 100 ms tick after the (10k)-th 10 ms tick
      ++progressTicks;
      EXPECT_TRUE(sequencerTicks >= 10 * progressTicks && sequencerTicks <= 10 * progressTicks + 1)
          << sequencerTicks << " before progress tick " << progressTicks;
    }
  }
  // None lost (one more may fall due during the burst), no more than were due.
  ASSERT_GE(sequencerTicks, 25);
  EXPECT_GE(sequencerTicks, sink.DueBeforeLast(kSequencerSlot, before, 10ms));
  EXPECT_LE(sequencerTicks, (Clock::now() - before) / 10ms);
  EXPECT_GE(progressTicks, 2);
}

TEST_F(QtTickTimersTest, KillDropsPendingTicksAndStopsTheSlot) {
  timers.Start(kSequencerSlot, 10);
  std::this_thread::sleep_for(55ms);  // five ticks due, none delivered
  timers.Kill(kSequencerSlot);
  RunEventLoop(60ms);
  EXPECT_EQ(sink.Count(kSequencerSlot), 0);
  sink.onTick = [this](int slot) {  // killed from a tick while more late ticks wait
    if (sink.Count(slot) == 3) timers.Kill(slot);
  };
  timers.Start(kSequencerSlot, 10);
  std::this_thread::sleep_for(80ms);
  RunEventLoop(60ms);
  EXPECT_EQ(sink.Count(kSequencerSlot), 3);
  for (int slot : {kProgressSlot, kSecondSlot}) timers.Start(slot, 10);
  timers.Kill(0);
  RunEventLoop(40ms);
  EXPECT_EQ(sink.Count(kProgressSlot) + sink.Count(kSecondSlot), 0);
}

TEST_F(QtTickTimersTest, RestartingASlotKeepsItsRateAndBadSlotsStartNothing) {
  for (auto [slot, ms] : {std::pair{0, 10}, {4, 10}, {kSequencerSlot, 0}})
    EXPECT_EQ(timers.Start(slot, ms), 0u);
  const uint32_t first = timers.Start(kSequencerSlot, 10);
  RunEventLoop(50ms);
  const size_t beforeRestart = sink.ticks.size();
  const auto restart = Clock::now();
  const uint32_t second = timers.Start(kSequencerSlot, 10);
  EXPECT_TRUE(second != 0 && second != first) << first << " then " << second;
  RunEventLoop(205ms);
  const auto afterRestart = static_cast<int64_t>(sink.ticks.size() - beforeRestart);
  ASSERT_GE(afterRestart, 10);
  EXPECT_GE(afterRestart, sink.DueBeforeLast(kSequencerSlot, restart, 10ms));
  EXPECT_LE(afterRestart, (Clock::now() - restart) / 10ms) << "the replaced timer must not tick on";
}

}  // namespace
}  // namespace sonvela
