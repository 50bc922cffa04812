#include "app/main_layout.h"

#include <gtest/gtest.h>

#include "app/command_line.h"
#include "player/control_ids.h"

namespace sonvela {
namespace {

TEST(MainLayout, ComputesTheChannelRowsAndTheAreaBelowThemFromTheClientArea) {
  const MainLayout layout = MainLayout::Compute(1024, 768);
  EXPECT_EQ(layout.RowHeight, 29);       // 768 x 0.6 / 16 = 28.8
  EXPECT_EQ(layout.KeyboardWidth, 631);  // 1024 x 0.64 = 655.36; 655 div 63 x 63 + 1
  EXPECT_EQ(layout.SongListLeft(), 816);
  EXPECT_EQ(layout.SongListWidth(), 204);
  EXPECT_EQ(layout.RowsEnd(), 592);
  EXPECT_EQ(layout.BelowRows, 596);
  EXPECT_EQ(layout.KeyboardWindowWidth, 1009);

  EXPECT_EQ(MainControlRect(kSongFileList, layout), (ControlRect{816, 128, 204, 464}));
  EXPECT_EQ(MainControlRect(kChannelKeyboardBase + 15, layout), (ControlRect{4, 563, 631, 29}));
  EXPECT_EQ(MainControlRect(kInstrumentLabelBase + 1, layout), (ControlRect{705, 157, 110, 29}));
  EXPECT_EQ(MainControlRect(kSongMap, layout), (ControlRect{4, 674, 1016, 90}));
  EXPECT_FALSE(MainControlRect(kListingList, layout));
  EXPECT_FALSE(MainControlRect(kChannelKeyboardBase + 16, layout));
}

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
