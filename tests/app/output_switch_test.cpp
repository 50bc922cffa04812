// The "Midi out" dialog: the chosen device replaces the output after the driver's pause, while the window
// goes on answering and the song goes on playing.

#include <QComboBox>

#include "app/program_bench.h"

namespace sonvela::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kLongSong = Song(NoteOn(0, 1, 60, 100) + NoteOn(96, 2, 62, 100) + Meta(9600, 0x01, "x"));

class OutputSwitchTest : public ProgramBench {
 protected:
  void SetUp() override {
    ProgramBench::SetUp();
    midi.DeviceNames = {"Built-in synth", "Port B"};
    Write("long.mid", kLongSong);
  }
  // Opens the dialog and chooses an entry, as the user does.
  void ChooseOutput(int entry) {
    Click(kMidiOutButton);
    DeviceDialog* dialog = program->MidiOutDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Midi out device");
    ASSERT_EQ(dialog->Entries()->count(), 2);
    EXPECT_EQ(dialog->Entries()->itemText(0), " 0 Built-in synth");
    EXPECT_EQ(dialog->Entries()->currentIndex(), 0);
    emit dialog->Entries()->activated(entry);
    EXPECT_FALSE(dialog->isVisible());
  }
};

TEST_F(OutputSwitchTest, TheChosenDeviceOpensAfterThePauseWhileTheWindowAnswers) {
  StartProgram();
  ClickSongEntry(0);
  program->Switch().SetPauseMs(300);
  midi.Calls.clear();
  ChooseOutput(1);
  EXPECT_THAT(midi.Calls, ElementsAre("close"));
  EXPECT_TRUE(program->Switch().Switching());
  EXPECT_THAT(messages.shown, IsEmpty());

  // Meanwhile the song plays on (with no output its sends are lost), the buttons work, and a chosen
  // instrument waits for the new output.
  const int64_t before = State().SongPosition;
  Tick(60);
  EXPECT_GT(State().SongPosition, before);
  Click(kDoubleTempoButton);
  EXPECT_EQ(LabelText(kBpmLabel), "BPM 240");
  QTest::keyClick(Windows().InstrumentList(), Qt::Key_Down);
  EXPECT_TRUE(Main().isVisible());
  Sent();

  ASSERT_TRUE(QTest::qWaitFor([this] { return !program->Switch().Switching(); }, 10000));
  EXPECT_THAT(messages.shown, ElementsAre("Midi out now is :  1 Port B"));
  EXPECT_THAT(midi.Calls, ElementsAre("close", "open 1"));
  EXPECT_THAT(Sent(), ElementsAre(Word(0xC0, 19, 0)));
  const LineList& debug = program->TheLogs().Debug;
  EXPECT_EQ(debug[debug.Size() - 1], "Open Midi Device Out < 1 Port B> is OK!");
  EXPECT_EQ(debug[debug.Size() - 2], "Close 0 OK!");

  // The next Play goes back to the default output.
  Click(kPlayButton);
  EXPECT_EQ(midi.Calls.back(), "open -1");
}

TEST_F(OutputSwitchTest, RealTicksKeepComingDuringThePause) {
  realTimers = true;
  StartProgram();
  ClickSongEntry(0);
  program->Switch().SetPauseMs(1000);
  ChooseOutput(1);
  const int64_t atChoice = State().SongPosition;
  const int64_t tick = int64_t{96} * 120 * 10;
  // Ticks arrive while the output is closed: the window does not wait out the pause.
  ASSERT_TRUE(QTest::qWaitFor([&] { return State().SongPosition >= atChoice + 3 * tick; }, 10000));
  EXPECT_TRUE(program->Switch().Switching());
  ASSERT_TRUE(QTest::qWaitFor([this] { return !program->Switch().Switching(); }, 10000));
  EXPECT_EQ(midi.Calls.back(), "open 1");
  EXPECT_THAT(messages.shown, ElementsAre("Midi out now is :  1 Port B"));
}

TEST_F(OutputSwitchTest, EndingDuringThePauseOpensNothingAfterwards) {
  StartProgram();
  program->Switch().SetPauseMs(50);
  ChooseOutput(1);
  Main().End();
  EXPECT_FALSE(program->Switch().Switching());
  EXPECT_EQ(midi.Calls.back(), "close");
}

}  // namespace
}  // namespace sonvela::test
