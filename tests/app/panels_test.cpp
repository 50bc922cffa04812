// What playback shows on the real surfaces and labels of the main window.

#include "app/program_bench.h"
#include "views/channel_displays.h"
#include "views/lyric_line.h"
#include "views/pixels.h"

namespace sonvela::test {
namespace {

using Panels = ProgramBench;

TEST_F(Panels, AfterPlayChannelsWithoutNotesReadNonUsatoAndLevelsFallOnTheProgressTick) {
  // Notes on channels 1 and 10 only: channel 1 at velocity 127 for half a second, the drum at 1, short.
  Write("two.mid", Song(NoteOn(0, 1, 60, 127) + NoteOn(0, 10, 36, 1) + NoteOff(2, 10, 36) +
                        NoteOff(94, 1, 60) + Meta(960, 0x01, "x")));
  StartProgram();
  ClickSongEntry(0);
  QImage unused(Picture(kInstrumentLabelBase).size(), QImage::Format_RGB32);
  DrawChannelUsageLabel(unused, false);
  QImage used = unused;
  DrawChannelUsageLabel(used, true);
  for (int row = 0; row < 16; ++row) {
    EXPECT_EQ(Picture(kInstrumentLabelBase + row), row == 0 || row == 9 ? used : unused) << row;
  }

  const auto expectLevel = [this](int row, int level) {
    QImage expected(Picture(kLevelBarBase + row).size(), QImage::Format_RGB32);
    DrawLevelBar(expected, level);
    EXPECT_EQ(Picture(kLevelBarBase + row), expected) << "row " << row << " level " << level;
  };
  // The first progress tick: 127 on channel 1, a full red bar; the drum's 1 stays 1 after its note-off.
  Tick(10);
  expectLevel(0, 127);
  EXPECT_EQ(test::PixelAt(Picture(kLevelBarBase), 0, Picture(kLevelBarBase).height() - 1), Rgb(255, 0, 0));
  expectLevel(9, 1);
  expectLevel(5, 0);
  // The note-off half a second in, then 10 less on each progress tick.
  Tick(40);
  expectLevel(0, 117);
  Tick(10);
  expectLevel(0, 107);
  expectLevel(9, 1);
  // The activity indicator of channel 1 went back to its neutral look after the note-off.
  EXPECT_EQ(LabelText(kChannelIndicatorBase), "-");
}

TEST_F(Panels, APlayedKeyLightsOnItsChannelKeyboardOnlyWhereItLies) {
  Write("key.mid", Song(NoteOn(0, 3, 60, 100) + NoteOff(96, 3, 60)));
  StartProgram();
  ClickSongEntry(0);
  const QImage keyboard = Picture(kChannelKeyboardBase + 2);
  const QRect lit = test::BoundsOf(keyboard, kChannelColour[3]);
  ASSERT_FALSE(lit.isEmpty());
  // Key 61 (middle C) is the first key of the sixth octave: slot 35 of 63.
  const int whiteWidth = static_cast<int>(std::lrint(keyboard.width() / 63.0));
  EXPECT_NEAR(lit.left(), 35 * whiteWidth, 1);
  EXPECT_LE(lit.width(), whiteWidth);
  EXPECT_TRUE(test::BoundsOf(Picture(kChannelKeyboardBase), kChannelColour[3]).isEmpty());
  EXPECT_EQ(LabelText(kChannelIndicatorBase + 2), "do");
  Tick(50);
  EXPECT_TRUE(test::BoundsOf(Picture(kChannelKeyboardBase + 2), kChannelColour[3]).isEmpty());
}

TEST_F(Panels, ATicksMessagesAreAllSentBeforeItsKeysAreDrawn) {
  // Two notes due in the same tick, and the big keyboard with its history shown.
  Write("chord.mid", Song(NoteOn(10, 3, 60, 100) + NoteOn(0, 3, 64, 100) + NoteOff(96, 3, 60)));
  StartProgram();
  Click(kBigKeyboardToggle);
  Click(kHistoryToggle);
  ClickSongEntry(0);
  const auto litKeys = [this] {
    return !test::BoundsOf(Picture(kChannelKeyboardBase + 2), kChannelColour[3]).isEmpty() ||
           !test::BoundsOf(Picture(kBigKeyboard), kChannelColour[1]).isEmpty();
  };
  ASSERT_FALSE(litKeys());
  std::vector<bool> litAtSend;
  midi.OnSend = [&](uint32_t) { litAtSend.push_back(litKeys()); };
  Tick(20);
  midi.OnSend = nullptr;
  EXPECT_EQ(litAtSend, std::vector<bool>(2, false));
  // Then both are drawn, in the tick that sent them: keys 61 and 65, white slots 35 and 37.
  // (The big keyboard lights every channel's keys in one colour.)
  for (const auto& [id, colour] :
       {std::pair{kChannelKeyboardBase + 2, kChannelColour[3]}, std::pair{kBigKeyboard, kChannelColour[1]}}) {
    const QImage keyboard = Picture(id);
    EXPECT_GT(test::BoundsOf(keyboard, colour).width(), 2 * keyboard.width() / 63) << id;
  }
}

TEST_F(Panels, TheLyricLineGrowsAndStartsAgainAfterASlash) {
  Write("song.kar", Song(Meta(0, 0x01, "Hel") + Meta(10, 0x01, "lo") + Meta(10, 0x01, "/wor") +
                         Meta(10, 0x01, "ld") + Meta(10, 0x01, "\xE0")));
  StartProgram();
  ClickSongEntry(0);
  EXPECT_EQ(program->Screen().Lyric().Text, "Hel");
  Tick(25);
  EXPECT_EQ(program->Screen().Lyric().Text, "world\xE0");
  // The bytes stay as the song has them; the panel shows them decoded, "worldà".
  QImage expected(Picture(kLyricPanel).size(), QImage::Format_RGB32);
  DrawLyricLine(expected, QString::fromUtf8("world\xC3\xA0"));
  EXPECT_EQ(Picture(kLyricPanel), expected);
}

}  // namespace
}  // namespace sonvela::test
