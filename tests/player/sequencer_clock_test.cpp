#include <gtest/gtest.h>

#include "player/fake_ports.h"
#include "player/sequencer_clock.h"

namespace sonvela {
namespace {

TEST(SequencerClock, SlotsHoldTheirTimerUntilKilled) {
  ManualTimers timers;
  Logs logs;
  SequencerClock clock(timers, logs);
  EXPECT_EQ(clock.MMTimerStart(4, 10), 0u);
  EXPECT_EQ(logs.Debug.Back(), "Problemi in MMTimerStart");
  clock.MMTimerStart(kSecondSlot, kSecondPeriodMs);
  clock.StartSongTimers();
  clock.KillSongTimers();
  EXPECT_EQ(clock.SequencerTimer(kSequencerSlot), 0u);
  EXPECT_NE(clock.SequencerTimer(kSecondSlot), 0u);
  clock.MMTimerKill(0);
  EXPECT_EQ(clock.SequencerTimer(kSecondSlot), 0u);
  EXPECT_FALSE(timers.Running(kSecondSlot));
}

}  // namespace
}  // namespace sonvela
