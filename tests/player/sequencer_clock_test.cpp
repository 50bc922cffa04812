#include <gtest/gtest.h>

#include "player/fake_ports.h"
#include "player/sequencer_clock.h"

namespace sonvela {
namespace {

TEST(SequencerClock, KeepsTheIdOfEachSlotsTimer) {
  ManualTimers timers;
  Logs logs;
  SequencerClock clock(timers, logs);
  EXPECT_EQ(clock.MMTimerStart(kSecondSlot, kSecondPeriodMs), 1u);
  clock.StartSongTimers();
  // A second start replaces the slot's timer: only the newest one counts.
  EXPECT_EQ(clock.MMTimerStart(kSequencerSlot, kSequencerPeriodMs), 4u);
  EXPECT_EQ(clock.SequencerTimer(kSequencerSlot), 4u);
  EXPECT_EQ(timers.running[kSequencerSlot], 4u);

  clock.KillSongTimers();
  EXPECT_EQ(clock.SequencerTimer(kSequencerSlot), 0u);
  EXPECT_EQ(clock.SequencerTimer(kProgressSlot), 0u);
  EXPECT_EQ(clock.SequencerTimer(kSecondSlot), 1u);
  clock.MMTimerKill(0);
  EXPECT_FALSE(timers.Running(kSecondSlot));
  EXPECT_EQ(clock.SequencerTimer(kSecondSlot), 0u);
  EXPECT_TRUE(logs.Debug.Empty());
}

TEST(SequencerClock, RefusesASlotBeyondThree) {
  ManualTimers timers;
  Logs logs;
  SequencerClock clock(timers, logs);
  EXPECT_EQ(clock.MMTimerStart(4, 10), 0u);
  ASSERT_EQ(logs.Debug.Size(), 1u);
  EXPECT_EQ(logs.Debug[0], "Problemi in MMTimerStart");
  EXPECT_EQ(timers.lastId, 0u);
}

}  // namespace
}  // namespace sonvela
