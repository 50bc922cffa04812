// Every control of the windows reaching its operation: what is sent and what is shown.

#include <QComboBox>

#include "app/program_bench.h"
#include "views/channel_displays.h"
#include "views/pixels.h"
#include "views/song_panels.h"

namespace sonvela::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// Channel 1 on program 1 and channel 2 on program 126, both playing a long note; it lasts 20 s.
const std::string kLongSong = Song(ProgramEvent(0, 1, 1) + ProgramEvent(0, 2, 126) + NoteOn(0, 1, 60, 100) +
                                   NoteOn(0, 2, 67, 100) + NoteOff(3840, 1, 60) + NoteOff(0, 2, 67));

class Commands : public ProgramBench {
 protected:
  void SetUp() override {
    ProgramBench::SetUp();
    Write("long.mid", kLongSong);
    StartProgram();
    ClickSongEntry(0);
    Sent();
  }
  QPoint Centre(int id) { return Windows().Control(id)->rect().center(); }
  // The point of a surface's picture at a percent of its width, in the surface's widget pixels.
  QPoint AtPercent(int id, double percent) {
    DrawingSurface* surface = Windows().Surface(id);
    const int x = static_cast<int>(std::lrint(percent / 100 * (surface->Image().width() - 1)));
    return QPoint(x, 5) + surface->contentsRect().topLeft();
  }
};

TEST_F(Commands, TransportButtonsAndTogglesReachThePlayer) {
  Click(kPauseToggle);
  EXPECT_EQ(State().Paused, 1);
  EXPECT_FALSE(timers->Running(kSequencerSlot));
  EXPECT_EQ(Sent(), AllNotesOffWords());
  Click(kPauseToggle);
  EXPECT_TRUE(timers->Running(kSequencerSlot));
  Click(kPauseToggle);
  Click(kStopButton);
  EXPECT_EQ(State().Paused, 0);
  EXPECT_FALSE(Windows().Button(kPauseToggle)->isChecked());
  EXPECT_FALSE(timers->Running(kSequencerSlot));
  Sent();
  Click(kPlayButton);
  EXPECT_TRUE(timers->Running(kSequencerSlot));
  EXPECT_EQ(Sent().back(), Word(0x91, 67, 100));

  Click(kContinuoToggle);
  Click(kIntroToggle);
  Click(kMonitorToggle);
  Click(kTempoFixToggle);
  EXPECT_EQ(State().ContinuoOn, 1);
  EXPECT_EQ(State().IntroSeconds, 4);
  EXPECT_EQ(State().MonitorOn, 1);
  EXPECT_EQ(State().TempoFixed, 1);
  Click(kMuteToggle);
  EXPECT_EQ(State().DataScale, 0.0f);
  EXPECT_EQ(Sent(), AllNotesOffWords());
  Click(kMuteToggle);
  EXPECT_EQ(State().DataScale, 1.0f);

  // Every toggle shows the state it stands for, whoever changed it: a Stop given by the desktop clears
  // Pause, a window closed by itself unchecks its toggle.
  Click(kPauseToggle);
  program->Session().Apply({.kind = CommandKind::kStop});
  EXPECT_FALSE(Windows().Button(kPauseToggle)->isChecked());
  Click(kBigKeyboardToggle);
  QTest::keyClick(&Windows().KeyboardWindow(), Qt::Key_Escape);
  EXPECT_FALSE(Windows().Button(kBigKeyboardToggle)->isChecked());
  Click(kHistoryToggle);
  EXPECT_TRUE(program->Session().View().History);
  for (int toggle : {kContinuoToggle, kIntroToggle, kMonitorToggle, kTempoFixToggle, kHistoryToggle})
    EXPECT_TRUE(Windows().Button(toggle)->isChecked()) << toggle;
  EXPECT_FALSE(Windows().KeyboardWindow().isVisible());
}

TEST_F(Commands, ChannelButtonsMuteOnTheLeftSoloOnTheRightAndSoloOffUndoesBoth) {
  QLabel* third = Windows().Label(kChannelButtonBase + 2);
  Click(kChannelButtonBase + 2);
  EXPECT_EQ(State().ChannelMuted[3], 1);
  EXPECT_EQ(third->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_EQ(Sent(), AllNotesOffWords());
  Click(kChannelButtonBase + 2);
  EXPECT_EQ(State().ChannelMuted[3], 0);
  EXPECT_EQ(Sent(), AllNotesOffWords());
  EXPECT_EQ(third->palette().color(QPalette::WindowText), QColor(0, 255, 0));

  Press(kChannelButtonBase + 4, Qt::RightButton, {5, 5});
  Release(kChannelButtonBase + 4, Qt::RightButton, {5, 5});
  for (int channel = 1; channel <= 16; ++channel)
    EXPECT_EQ(State().ChannelMuted[channel], channel != 5) << channel;
  EXPECT_EQ(LabelText(kInfoLabel), "Left click=channel on/off, Right click=solo on");
  EXPECT_EQ(Sent().size(), 32u);
  Click(kSoloOffButton);
  for (int channel = 1; channel <= 16; ++channel) EXPECT_EQ(State().ChannelMuted[channel], 0) << channel;
}

TEST_F(Commands, HelpTextsStayAfterThePointerLeaves) {
  Move(kInstrumentLabelBase + 3, {10, 10}, Qt::NoButton);
  EXPECT_EQ(LabelText(kInfoLabel), "Left click=next instr, Right click=previous instr");
  Move(kSongMap, {10, 10}, Qt::NoButton);
  EXPECT_EQ(LabelText(kInfoLabel), "Left click=Start from here");
  Move(kLoopBar, {10, 10}, Qt::NoButton);
  EXPECT_EQ(LabelText(kInfoLabel), "Left click=Start loop, Right click=End loop");
  SendMouse(&Main(), QEvent::MouseMove, {300, 20}, Qt::NoButton, Qt::NoButton);
  Move(kLevelBarBase, {3, 3}, Qt::NoButton);
  EXPECT_EQ(LabelText(kInfoLabel), "Left click=Start loop, Right click=End loop");
  EXPECT_THAT(Sent(), IsEmpty());
}

TEST_F(Commands, AHeldButtonStepsTheInstrumentOnEveryMoveAndStillSendsAtTheEnds) {
  // Channel 1 plays program 1: the left button steps down to 0 and stays there, sending each time.
  Press(kInstrumentLabelBase, Qt::LeftButton, {20, 10});
  Move(kInstrumentLabelBase, {21, 10}, Qt::LeftButton);
  Move(kInstrumentLabelBase, {22, 10}, Qt::LeftButton);
  Release(kInstrumentLabelBase, Qt::LeftButton, {22, 10});
  Move(kInstrumentLabelBase, {23, 10}, Qt::NoButton);
  EXPECT_THAT(Sent(), ElementsAre(Word(0xC0, 0, 127), Word(0xC0, 0, 127), Word(0xC0, 0, 127)));
  EXPECT_EQ(State().InstrumentProgram[1], 0);
  // Shown in red on white: "1 Acoustic Grand".
  QImage expected(Picture(kInstrumentLabelBase).size(), QImage::Format_RGB32);
  DrawInstrumentLabel(expected, "1 Acoustic Grand", kProgramStepped);
  EXPECT_EQ(Picture(kInstrumentLabelBase), expected);

  // Channel 2 plays program 126: the right button steps up to 127 and stays there.
  Press(kInstrumentLabelBase + 1, Qt::RightButton, {20, 10});
  Move(kInstrumentLabelBase + 1, {21, 10}, Qt::RightButton);
  Release(kInstrumentLabelBase + 1, Qt::RightButton, {21, 10});
  EXPECT_THAT(Sent(), ElementsAre(Word(0xC1, 127, 127), Word(0xC1, 127, 127)));
  DrawInstrumentLabel(expected, "128 Gunshot", kProgramStepped);
  EXPECT_EQ(Picture(kInstrumentLabelBase + 1), expected);

  // A channel that had no program change stands for none: nothing to step or send.
  Press(kInstrumentLabelBase + 5, Qt::LeftButton, {20, 10});
  Release(kInstrumentLabelBase + 5, Qt::LeftButton, {20, 10});
  EXPECT_THAT(Sent(), IsEmpty());
}

TEST_F(Commands, TempoButtonsChangeTheTempoAndTheBpmLabel) {
  EXPECT_EQ(LabelText(kBpmLabel), "BPM 120");
  Click(kDoubleTempoButton);
  Click(kDoubleTempoButton);
  EXPECT_EQ(LabelText(kBpmLabel), "BPM 480");
  for (const auto& [from, to] : {std::pair{121, "BPM 60"}, {123, "BPM 62"}}) {
    Tables().TempoBpm = from;
    Click(kHalveTempoButton);
    EXPECT_EQ(LabelText(kBpmLabel), to);
  }
}

TEST_F(Commands, TheLoopBarSetsTheLoopAndTheSongMapSeeks) {
  QWidget* bar = Windows().Control(kLoopBar);
  QTest::mouseClick(bar, Qt::LeftButton, {}, AtPercent(kLoopBar, 30));
  EXPECT_NEAR(State().LoopStartPercent, 30, 0.2);
  EXPECT_NEAR(State().LoopEndPercent, 31, 0.2);
  // The right button sets the end, again on every move while it is held.
  Press(kLoopBar, Qt::RightButton, AtPercent(kLoopBar, 50));
  EXPECT_NEAR(State().LoopEndPercent, 50, 0.2);
  Move(kLoopBar, AtPercent(kLoopBar, 60), Qt::RightButton);
  Release(kLoopBar, Qt::RightButton, AtPercent(kLoopBar, 60));
  EXPECT_NEAR(State().LoopEndPercent, 60, 0.2);
  // The loop bar shows the range in red.
  const QRect range = test::BoundsOf(Picture(kLoopBar), kLoopRange);
  const int width = Picture(kLoopBar).width();
  EXPECT_NEAR(range.left(), 0.3 * width, 2);
  EXPECT_NEAR(range.right(), 0.6 * width, 2);
  Click(kCancelLoopButton);
  EXPECT_EQ(State().LoopStartPercent, 0);
  EXPECT_EQ(State().LoopEndPercent, 0);

  Click(kStopButton);
  QTest::mouseClick(Windows().Control(kSongMap), Qt::LeftButton, {}, AtPercent(kSongMap, 50));
  // Half of the 3840-tick song, and the clock running again from there.
  EXPECT_NEAR(static_cast<double>(State().SongPosition) / 60000, 1920, 20);
  EXPECT_TRUE(timers->Running(kSequencerSlot));
}

TEST_F(Commands, TheKeyboardWindowRedrawsItsKeyboardAndClearsItsHistory) {
  Click(kBigKeyboardToggle);
  EXPECT_TRUE(Windows().KeyboardWindow().isVisible());
  // Drawn in full: a white key's middle, a black key's.
  const QImage keyboard = Picture(kBigKeyboard);
  EXPECT_EQ(test::PixelAt(keyboard, keyboard.width() / 126, keyboard.height() - 5), kWhite);
  // Playing lights keys there now.
  Click(kPlayButton);
  EXPECT_FALSE(test::BoundsOf(Picture(kBigKeyboard), kChannelColour[1]).isEmpty());
  Click(kChannelFilterBase + 4);
  EXPECT_TRUE(test::BoundsOf(Picture(kBigKeyboard), kChannelColour[1]).isEmpty());

  DrawingSurface* history = Windows().Surface(kHistoryStrip);
  history->Image().fill(Qt::red);
  Press(kHistoryStrip, Qt::LeftButton, {30, 30});
  Release(kHistoryStrip, Qt::LeftButton, {30, 30});
  EXPECT_TRUE(test::AllOf(history->Image(), history->Image().rect(), kWhite));
}

TEST_F(Commands, AllOrganSwitchesEveryChannelAndRenamesTheLabelsThatNameAProgram) {
  const QImage channel3Before = Picture(kInstrumentLabelBase + 2);
  Click(kAllOrganButton);
  std::vector<uint32_t> expected;
  for (int channel = 0; channel < 16; ++channel) expected.push_back(Word(0xC0 + channel, 19, 127));
  EXPECT_THAT(Sent(), ElementsAreArray(expected));
  QImage organ(Picture(kInstrumentLabelBase).size(), QImage::Format_RGB32);
  DrawInstrumentLabel(organ, "20 Church Organ", kProgramShown);
  EXPECT_EQ(Picture(kInstrumentLabelBase), organ);
  EXPECT_EQ(Picture(kInstrumentLabelBase + 1), organ);
  EXPECT_EQ(State().InstrumentProgram[2], 19);
  // Channel 3 played no program: its label stands for none and stays as it was.
  EXPECT_EQ(Picture(kInstrumentLabelBase + 2), channel3Before);
  EXPECT_EQ(State().InstrumentProgram[3], -1);
}

TEST_F(Commands, OnlyTheUsersChoiceOfAnInstrumentIsSent) {
  QComboBox* instruments = Windows().InstrumentList();
  instruments->setCurrentIndex(40);  // the program's own selection
  EXPECT_THAT(Sent(), IsEmpty());
  EXPECT_EQ(program->KeyboardProgram(), 1);
  instruments->setCurrentIndex(18);
  QTest::keyClick(instruments, Qt::Key_Down);
  EXPECT_EQ(program->KeyboardProgram(), 20);
  EXPECT_THAT(Sent(), ElementsAre(Word(0xC0, 19, 0)));
}

}  // namespace
}  // namespace sonvela::test
