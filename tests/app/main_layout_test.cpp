#include "app/main_layout.h"

#include <gtest/gtest.h>

#include "app/command_line.h"

namespace sonvela {
namespace {

// The 1024 x 768 layout is pinned on the real widgets (windows_test.cpp); here what other sizes give.
TEST(MainLayout, RoundsRowHeightsToTheEvenNeighbourOnATie) {
  EXPECT_EQ(MainLayout::Compute(1024, 760).RowHeight, 28);  // 28.5
  EXPECT_EQ(MainLayout::Compute(1024, 680).RowHeight, 26);  // 25.5
  EXPECT_EQ(MainLayout::Compute(1024, 800).RowHeight, 30);
  EXPECT_EQ(RoundRatio(5, 2), 2);
  EXPECT_EQ(RoundRatio(7, 2), 4);
  EXPECT_EQ(RoundRatio(-5, 2), -2);
  EXPECT_EQ(RoundRatio(-7, 2), -4);
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
