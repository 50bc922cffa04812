#include <cmath>
#include <limits>

#include "player/player_bench.h"
#include "player/progress_text.h"

namespace sonvela {
namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;

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

TEST_F(DisplayTest, PercentTakesTheHundredfoldPositionSoATieRoundsAsItLies) {
  // One clock tick of 21 x 1 x 10 units into a song of one tick is 0.35 %: 21000 / 60000 lies just below
  // the tie, 100 x (210 / 60000) just above it.
  Play({{0x90, 60, 100, 0}}, 1, 21, 1);
  Tick();
  transport.OnProgressTick();
  EXPECT_THAT(transport.State().ProgressText, EndsWith("   0.3% "));
  EXPECT_EQ(PlayedPercent(210, 0), 0);
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

TEST_F(DisplayTest, IntroStopsTheSongAfterFourSecondsForGoodWithoutContinuo) {
  transport.ToggleIntro();
  Play({{0x90, 60, 100, 0}}, 100000);
  Tick(400);
  EXPECT_TRUE(Playing());
  Tick(10);
  EXPECT_FALSE(Playing());
  EXPECT_EQ(transport.State().PlayStatus, "finito");
  transport.OnSecondTick();
  EXPECT_EQ(screen.nextSongRequests, 0);
}

TEST_F(DisplayTest, ContinuoPlaysTheNextSongOfTheListAndWraps) {
  const std::vector<std::string> list = {"a.mid", "b.mid"};
  size_t selected = list.size() - 1;
  screen.onPlayNext = [&] {
    selected = (selected + 1) % list.size();
    transport.ResetSong();
    Play({{0x90, 60, 100, 0}, {0x80, 60, 0, 5}}, -1);
    song.SongFileName = list[selected];
  };
  transport.ToggleContinuo();
  screen.onPlayNext();
  std::vector<std::string> started;
  for (int second = 0; second < 3; ++second) {
    started.push_back(song.SongFileName);
    Tick(5);
    EXPECT_EQ(transport.State().PlayStatus, "finito");
    transport.StartSecondTick();
    timers.Tick(transport, kSecondSlot);
    EXPECT_EQ(transport.State().PlayStatus, "suono");
  }
  EXPECT_THAT(started, ElementsAre("a.mid", "b.mid", "a.mid"));
  EXPECT_EQ(screen.texts[kTimeLabel], "Ora: 10:00:00");
}

}  // namespace
}  // namespace sonvela
