#include <cmath>
#include <limits>

#include "player/player_bench.h"
#include "player/progress_text.h"

namespace sonvela {
namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::IsEmpty;
using ::testing::StartsWith;

using DisplayTest = PlayerBench;

TEST_F(DisplayTest, ProgressTextShowsPlayedAndWholeSecondsAndPercent) {
  Play({{0x90, 60, 100, 0}}, 96 * 2 * 185, 96, 120);  // 185 s at 120 BPM
  clock.Advance(12340);
  transport.ContinueFromPercent(6.66f);
  transport.OnProgressTick();
  EXPECT_EQ(transport.State().ProgressText, "Tempo:  12.3 s  ( 185.0 s)   6.7% ");
  EXPECT_EQ(screen.texts[kProgressLabel], transport.State().ProgressText);
  // No length or no time to divide by shows zeros.
  std::string text = "old";
  FormatProgressText(text, 0.04, std::numeric_limits<double>::infinity(), std::nan(""));
  EXPECT_EQ(text, "Tempo:   0.0 s  (   0.0 s)   0.0% ");
}

TEST_F(DisplayTest, ProgressNeverShowsMoreThanTheSongNorTimeThatDidNotPlay) {
  // 700 ticks at 96 a beat, 120 BPM: 3.65 s, ending between two clock ticks; the end shows the song whole.
  Play({{0x90, 60, 100, 0}, {0x80, 60, 0, 700}}, -1, 96, 120);
  Tick(365);
  EXPECT_EQ(transport.State().PlayStatus, "finito");
  EXPECT_EQ(screen.texts[kProgressLabel], "Tempo:   3.6 s  (   3.6 s) 100.0% ");
  // An output that failed to open: the clock ticks on a minute, and nothing has played.
  midi.OpenResult = 2;
  Start();
  clock.Advance(60000);
  Tick(6000);
  transport.OnProgressTick();
  EXPECT_EQ(screen.texts[kProgressLabel], "Tempo:   0.0 s  (   3.6 s)   0.0% ");
}

TEST_F(DisplayTest, PercentTakesTheHundredfoldPositionSoATieRoundsAsItLies) {
  // One clock tick of 21 x 1 x 10 units into a song of one tick is 0.35 %: 21000 / 60000 lies just below
  // the tie, 100 x (210 / 60000) just above it.
  Play({{0x90, 60, 100, 0}}, 1, 21, 1);
  Tick();
  transport.OnProgressTick();
  EXPECT_THAT(transport.State().ProgressText, EndsWith("   0.3% "));
  EXPECT_EQ(PlayedPercent(210, 0), 0);
}

TEST(LoopEndPosition, IsTheFirstPositionWhoseFractionReachesTheMark) {
  for (const int64_t length : {int64_t{1}, int64_t{3}, int64_t{1824}, int64_t{1} << 40}) {
    for (const float percent : {0.001f, 1.0001f, 33.3f, 99.99f, 100.0f, 150.0f}) {
      const double fraction = static_cast<double>(percent) / 100;
      const auto position = FirstPositionAtFraction(fraction, length);
      ASSERT_TRUE(position.has_value()) << length << " " << percent;
      EXPECT_GE(PlayedFraction(*position, length), fraction) << length << " " << percent;
      EXPECT_LT(PlayedFraction(*position - 1, length), fraction) << length << " " << percent;
    }
  }
  // A song of no length is never anywhere: no loop end is reached.
  EXPECT_EQ(FirstPositionAtFraction(0.5, 0), std::nullopt);
}

TEST_F(DisplayTest, LevelsFallByTenAfterTheNoteOffButOneStays) {
  Play({{0x92, 60, 127, 0}, {0x93, 61, 1, 0}, {0x82, 60, 0, 1}, {0x83, 61, 0, 1}}, 10000);
  transport.OnProgressTick();
  EXPECT_EQ(screen.levels[ChannelControl(kLevelBarBase, 3)].back(), 127);  // still sounding
  Tick();
  screen.levels.clear();
  for (int i = 0; i < 14; ++i) transport.OnProgressTick();
  EXPECT_THAT(screen.levels[ChannelControl(kLevelBarBase, 3)],
              ElementsAre(117, 107, 97, 87, 77, 67, 57, 47, 37, 27, 17, 7, 0, 0));
  EXPECT_EQ(screen.levels[ChannelControl(kLevelBarBase, 4)].back(), 1);
  EXPECT_EQ(screen.levels.size(), 16u);
}

TEST_F(DisplayTest, IntroStopsAfterFourSecondsOnTheMonotonicClockWhateverTheTimeOfDayDoes) {
  transport.ToggleIntro();
  clock.ms = SettableClock::kMsPerDay - 1000;  // a second before midnight
  Play({{0x90, 60, 100, 0}}, 100000);
  EXPECT_EQ(logs.Messages.Back(), "song.mid iniziato alle 23:59:59");
  Tick(200);                             // past midnight
  clock.ms = 23 * 3600 * 1000.0 + 1000;  // and the system time is put back an hour
  Tick(100);
  EXPECT_TRUE(Playing());
  EXPECT_THAT(screen.texts[kProgressLabel], StartsWith("Tempo:   3.0 s "));
  transport.OnSecondTick();
  EXPECT_EQ(screen.texts[kTimeLabel], "Ora: 23:00:02");  // the time of day is what the label shows
  Tick(100);
  EXPECT_TRUE(Playing());
  Tick(10);
  EXPECT_FALSE(Playing());
  EXPECT_EQ(transport.State().PlayStatus, "finito");
  transport.OnSecondTick();  // for good, without Continuo
  EXPECT_FALSE(transport.TakeEvents().ContinuoDue);
}

TEST_F(DisplayTest, TheLoopBarShowsThePositionOnTheProgressTickNotAtEachEvent) {
  std::vector<TrackEvent> events;
  for (int64_t tick = 1; tick <= 20; ++tick) events.push_back({0x90, 40 + static_cast<int>(tick), 100, tick});
  Play(events, 20);
  screen.loopBars.clear();
  Tick(9);  // an event on every tick
  EXPECT_THAT(screen.loopBars, IsEmpty());
  Tick();  // with the progress tick
  ASSERT_EQ(screen.loopBars.size(), 1u);
  EXPECT_DOUBLE_EQ(screen.loopBars[0].played, 0.5);
  // A loop mark shows at once.
  transport.SetLoopStart(70);
  ASSERT_EQ(screen.loopBars.size(), 2u);
  EXPECT_EQ(screen.loopBars[1].start, 70);
  EXPECT_EQ(screen.loopBars[1].end, 71);
  transport.CancelLoop();
  EXPECT_EQ(screen.loopBars.size(), 3u);
  // The end of the song shows where it stopped.
  Tick(5);
  EXPECT_EQ(screen.loopBars.size(), 3u);
  Tick(5);
  EXPECT_EQ(transport.State().PlayStatus, "finito");
  EXPECT_DOUBLE_EQ(screen.loopBars.back().played, 1.0);
  screen.loopBars.clear();
  Tick(10);  // the timers are killed: nothing more
  EXPECT_THAT(screen.loopBars, IsEmpty());
}

}  // namespace
}  // namespace sonvela
