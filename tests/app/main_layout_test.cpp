#include "app/main_layout.h"

#include <gtest/gtest.h>
#include <string>

#include "app/command_line.h"
#include "player/control_ids.h"

namespace sonvela {
namespace {

// The 1024 x 768 layout is pinned on the real widgets (windows_test.cpp); here what other sizes give.
TEST(MainLayout, RoundsRowHeightsToTheEvenNeighbourOnATie) {
  EXPECT_EQ(MainLayout::Compute(1024, 760).RowHeight, 28);  // 28.5
  EXPECT_EQ(MainLayout::Compute(1024, 840).RowHeight, 32);  // 31.5
  EXPECT_EQ(MainLayout::Compute(1024, 800).RowHeight, 30);
  EXPECT_EQ(RoundRatio(5, 2), 2);
  EXPECT_EQ(RoundRatio(7, 2), 4);
  EXPECT_EQ(RoundRatio(-5, 2), -2);
  EXPECT_EQ(RoundRatio(-7, 2), -4);
}

// Down to 1024 x 600 and below, every part stays whole and apart: the channel rows give way.
TEST(MainLayout, BelowAbout768PixelsTheChannelRowsGiveWayAndTheRestStaysWholeAndApart) {
  for (const int width : {1024, 1366}) {
    for (int height = 520; height <= 1200; height += 7) {
      const MainLayout layout = MainLayout::Compute(width, height);
      const auto rect = [&](int id) { return *MainControlRect(id, layout); };
      const auto bottom = [&](int id) { return rect(id).y + rect(id).height; };
      SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
      EXPECT_LE(bottom(kMessageLogList), kFirstRowTop);
      EXPECT_LE(layout.RowsEnd(), rect(kCancelLoopButton).y);
      EXPECT_EQ(rect(kInfoLabel).y, rect(kCancelLoopButton).y);
      EXPECT_LE(bottom(kCancelLoopButton), rect(kLyricPanel).y);
      EXPECT_LT(bottom(kLyricPanel), rect(kLoopBar).y);
      EXPECT_LE(bottom(kLoopBar), rect(kSongMap).y);
      EXPECT_LE(bottom(kSongMap), height);
      EXPECT_EQ(rect(kLyricPanel).height, 40);
      EXPECT_EQ(rect(kSongMap).height, 90);
      // Where there is room (from 768 pixels up), the rows keep their share of the height.
      if (height >= 768) {
        EXPECT_EQ(layout.RowHeight, RoundRatio(height * 6LL, 160));
      }
    }
  }
}

TEST(MainLayout, KeyboardsAreWholeWhiteKeysWideAtEverySize) {
  for (int width = 640; width <= 4000; width += 37) {
    const MainLayout layout = MainLayout::Compute(width, 700);
    EXPECT_EQ((layout.KeyboardWidth - 1) % 63, 0) << width;
    EXPECT_EQ((layout.KeyboardWindowWidth - 1) % 63, 0) << width;
    EXPECT_LE(layout.KeyboardWindowWidth, width + 1) << width;
  }
}

TEST(CommandLine, ArgumentsMakeOneSongPathWithoutQuotes) {
  EXPECT_EQ(SongFromArguments(ArgumentsText({})), "");
  EXPECT_EQ(SongFromArguments(ArgumentsText({"\"C:\\My Songs\\Tune.kar\""})), "C:\\My Songs\\Tune.kar");
  EXPECT_EQ(SongFromArguments(ArgumentsText({"/music/My", "Song.mid"})), "/music/My Song.mid");
  EXPECT_EQ(SongFromArguments("\"a\"b\""), "ab");
}

TEST(CommandLine, ASecondCopyWarnsOnlyWhenStartedOnAMidiFile) {
  EXPECT_TRUE(NamesMidiFile("/music/Song.MID"));
  EXPECT_TRUE(NamesMidiFile("\"x.mid\""));
  EXPECT_TRUE(NamesMidiFile("a.midi b"));
  EXPECT_FALSE(NamesMidiFile("/music/Song.kar"));
  EXPECT_FALSE(NamesMidiFile(""));
}

}  // namespace
}  // namespace sonvela
