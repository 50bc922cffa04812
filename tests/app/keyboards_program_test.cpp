// "All organ" and the shutdown of keyboards, "Note test" and MIDI input in the whole program: driven through
// the real windows, with the fake output and the fake threaded input.

#include "app/program_bench.h"
#include "views/channel_displays.h"
#include "views/key_at_pointer.h"

namespace sonvela::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// Program 1 on channel 1 and 126 on channel 2, a long note on each and on channel 3, which has no program.
const std::string kLongSong =
    Song(ProgramEvent(0, 1, 1) + ProgramEvent(0, 2, 126) + NoteOn(0, 1, 60, 100) + NoteOn(0, 2, 67, 100) +
         NoteOn(0, 3, 64, 100) + NoteOff(3840, 1, 60) + NoteOff(0, 2, 67) + NoteOff(0, 3, 64));

class ProgramKeyboards : public ProgramBench {
 protected:
  // A point over the key in a keyboard's widget, low on the keys where only the white keys are.
  QPoint OnKey(int keyboardId, int key) {
    DrawingSurface* surface = Windows().Surface(keyboardId);
    const QSize size = surface->Image().size();
    const int y = size.height() - 3;
    int first = -1;
    int last = -1;
    for (int x = 0; x < size.width(); ++x) {
      if (KeyAtPointer({x, y}, size, keyboardId).Key != key) continue;
      if (first < 0) first = x;
      last = x;
    }
    EXPECT_GE(first, 0) << key;
    return QPoint((first + last) / 2, y) + surface->contentsRect().topLeft();
  }
};

TEST_F(ProgramKeyboards, AllOrganSwitchesEveryChannelAndRenamesTheLabelsThatNameAProgram) {
  Write("long.mid", kLongSong);
  StartProgram();
  ClickSongEntry(0);
  Sent();
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

using ProgramMidiIn = ProgramKeyboards;

TEST_F(ProgramMidiIn, ShutdownClosesTheInputFirstThenLetsTheNotesGoThenClosesTheOutput) {
  size_t sentWhenInputClosed = 0;
  midiIn.onClose = [this, &sentWhenInputClosed] {
    midi.Calls.push_back("input close");
    sentWhenInputClosed = midi.Sent.size();
  };
  StartProgram();
  const int keyboard2 = kChannelKeyboardBase + 1;
  Press(keyboard2, Qt::LeftButton, OnKey(keyboard2, 61));
  Click(kNoteTestButton);
  ASSERT_TRUE(program->TheNoteTest().Running());
  Sent();
  const size_t sentBefore = midi.Sent.size();

  QTest::keyClick(&Main(), Qt::Key_Escape);
  midiIn.onClose = nullptr;
  EXPECT_THAT(midiIn.calls, ElementsAre("open 0", "start", "stop", "close"));
  EXPECT_THAT(midi.Calls, ElementsAre("open -1", "input close", "close"));
  EXPECT_EQ(sentWhenInputClosed, sentBefore);
  // The note test's note, the held key's note, then every channel silenced.
  EXPECT_THAT(Sent(), ElementsAreArray(Join({{Word(0x80, 48, 0), Word(0x81, 60, 0)}, AllNotesOffWords()})));
  EXPECT_FALSE(program->TheNoteTest().Running());
  // Input played now reaches nothing.
  midiIn.Play(Word(0x90, 60, 100));
  QCoreApplication::processEvents();
  EXPECT_THAT(Sent(), IsEmpty());
}

}  // namespace
}  // namespace sonvela::test
