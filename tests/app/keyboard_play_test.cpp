// Playing the keyboards with the mouse on the real windows: what is sent, lit, written and logged for whole
// press, move and release sequences.

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_windows.h"
#include "app/keyboard_play.h"
#include "app/program_bench.h"
#include "key_screen.h"
#include "player/control_ids.h"
#include "player/recording_midi_out.h"
#include "text/logs.h"

namespace sonvela {
namespace {

const QRect kWorkArea(0, 0, 1024, 768);
constexpr const char* kPressedColour = "rgb(175,165,225)";
// Where key 61 (note 60, the C of slot 35) lies, in widget pixels, low on the keys where only white keys
// are: a channel keyboard's picture is 627 x 25 inside its 2-pixel edge, the big keyboard's 1009 x 110.
constexpr QPoint kChannelKey61(2 + 350, 2 + 20);
constexpr QPoint kBigKey61(565, 100);
constexpr int kRowHeight = 29;

using test::SendMouse;

class KeyboardPlayTest : public testing::Test {
 protected:
  KeyboardPlayTest() {
    midi.Open(kDefaultMidiOut);
    QObject::connect(
        &windows, &AppWindows::Pointer, &windows,
        [this](int id, PointerAction action, QPoint position, Qt::MouseButton button,
               Qt::MouseButtons buttons) { keys.OnPointer(id, action, position, button, buttons); });
    QObject::connect(&windows, &AppWindows::Command, &windows,
                     [this](int id, int notification) { keys.OnKeyboardWindowCommand(id, notification); });
  }

  std::vector<uint32_t> Words() const { return SentWords(midi); }
  void Clear() {
    midi.Sent.clear();
    screen.keys.clear();
  }
  // Pressed on the fourth channel keyboard (channel 3, index 2) over key 61.
  void PressChannel3() {
    SendMouse(windows.Control(kChannelKeyboardBase + 2), QEvent::MouseButtonPress, kChannelKey61,
              Qt::LeftButton, Qt::LeftButton);
  }

  AppWindows windows{MainLayout::Compute(1024, 768), kWorkArea};
  RecordingScreen screen;
  RecordingMidiOut midi;
  Logs logs;
  int logRefreshes = 0;
  bool switching = false;
  bool gone = false;
  KeyboardPlay keys{{windows, screen, midi, logs, [this] { ++logRefreshes; }, [this] { return switching; },
                     [this] { gone = true; }}};
};

TEST_F(KeyboardPlayTest, AChannelKeyEndsOnItsOwnChannelWhereverTheButtonComesUp) {
  QWidget* keyboard3 = windows.Control(kChannelKeyboardBase + 2);
  PressChannel3();
  EXPECT_TRUE(keys.HoldsNote());
  EXPECT_EQ(screen.texts[kNoteNameLabel], "do=60");
  ASSERT_EQ(logs.Debug.Size(), 1u);
  EXPECT_EQ(logs.Debug.Back(), "Nota : 60 3");
  EXPECT_EQ(logRefreshes, 1);
  // Dragged down over the next two keyboards and let go over the song list, outside every keyboard: the
  // surface pressed on keeps the pointer, and its note ends there.
  for (int rows : {1, 2}) {
    SendMouse(keyboard3, QEvent::MouseMove, kChannelKey61 + QPoint(0, rows * kRowHeight), Qt::NoButton,
              Qt::LeftButton);
  }
  SendMouse(keyboard3, QEvent::MouseButtonRelease, QPoint(900, 300), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(Words(), (std::vector<uint32_t>{Word(0x92, 60, 127), Word(0x82, 60, 0)}));
  EXPECT_EQ(KeyTexts(screen),
            (std::vector<std::string>{std::string("2202 61 ") + kPressedColour, "2202 61 restore"}));
  EXPECT_FALSE(keys.HoldsNote());

  // However the release is routed (another keyboard, the big one, another control, no control at all),
  // the Note Off is the pressed note's, on the pressed keyboard's channel, once.
  for (const int releasedOn : {kChannelKeyboardBase + 4, kBigKeyboard, kSongMap, 0}) {
    Clear();
    PressChannel3();
    keys.OnPointer(kChannelKeyboardBase + 3, PointerAction::Move, {100, 5}, Qt::NoButton, Qt::LeftButton);
    keys.OnPointer(releasedOn, PointerAction::Release, {100, 5}, Qt::LeftButton, Qt::NoButton);
    keys.OnPointer(releasedOn, PointerAction::Release, {100, 5}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(Words(), (std::vector<uint32_t>{Word(0x92, 60, 127), Word(0x82, 60, 0)})) << releasedOn;
  }
}

TEST_F(KeyboardPlayTest, NothingEndsANoteNobodyStarted) {
  // A release with no press before it, presses of the right button, hovering: nothing sent.
  QWidget* keyboard5 = windows.Control(kChannelKeyboardBase + 4);
  SendMouse(keyboard5, QEvent::MouseButtonRelease, kChannelKey61, Qt::LeftButton, Qt::NoButton);
  SendMouse(keyboard5, QEvent::MouseButtonPress, kChannelKey61, Qt::RightButton, Qt::RightButton);
  SendMouse(keyboard5, QEvent::MouseMove, kChannelKey61 + QPoint(30, 0), Qt::NoButton, Qt::RightButton);
  SendMouse(keyboard5, QEvent::MouseButtonRelease, kChannelKey61, Qt::RightButton, Qt::NoButton);
  SendMouse(keyboard5, QEvent::MouseMove, kChannelKey61, Qt::NoButton, Qt::NoButton);
  EXPECT_TRUE(midi.Sent.empty());
  EXPECT_TRUE(screen.keys.empty());

  // A release that went elsewhere (a dialog took it): the next move without the button ends the note; a
  // second press while one is held ends the first.
  PressChannel3();
  keys.OnPointer(kChannelKeyboardBase + 2, PointerAction::Move, {10, 10}, Qt::NoButton, Qt::NoButton);
  PressChannel3();
  SendMouse(windows.Control(kChannelKeyboardBase + 3), QEvent::MouseButtonPress,
            kChannelKey61 + QPoint(10, 0), Qt::LeftButton, Qt::LeftButton);
  keys.ReleaseHeldNote();
  EXPECT_EQ(Words(), (std::vector<uint32_t>{Word(0x92, 60, 127), Word(0x82, 60, 0), Word(0x92, 60, 127),
                                            Word(0x82, 60, 0), Word(0x93, 62, 127), Word(0x83, 62, 0)}));
  EXPECT_EQ(screen.texts[kNoteNameLabel], "re=62");
}

TEST_F(KeyboardPlayTest, TheBigKeyboardPlaysOnChannelOneWithTheChosenInstrument) {
  QWidget* big = windows.Control(kBigKeyboard);
  SendMouse(big, QEvent::MouseButtonPress, kBigKey61, Qt::LeftButton, Qt::LeftButton);
  SendMouse(big, QEvent::MouseButtonRelease, kBigKey61 + QPoint(0, 300), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(Words(), (std::vector<uint32_t>{Word(0x90, 60, 127), Word(0x80, 60, 0)}));
  EXPECT_EQ(KeyTexts(screen),
            (std::vector<std::string>{std::string("2400 61 ") + kPressedColour, "2400 61 restore"}));
  EXPECT_EQ(logs.Debug.Back(), "Nota : 60 201");
  // The note name field names what the channel keyboards play.
  EXPECT_EQ(screen.texts.count(kNoteNameLabel), 0u);
}

TEST_F(KeyboardPlayTest, AProgramChosenWhileTheOutputSwitchesGoesOutOnceItIsOpen) {
  keys.OutputSwitched();  // nothing waits
  switching = true;
  QTest::keyClick(windows.InstrumentList(), Qt::Key_Down);
  QTest::keyClick(windows.InstrumentList(), Qt::Key_Down);
  EXPECT_EQ(keys.KeyboardProgram(), 21);
  EXPECT_TRUE(midi.Sent.empty());
  switching = false;
  keys.OutputSwitched();
  keys.OutputSwitched();
  // The last choice, once.
  EXPECT_EQ(Words(), (std::vector<uint32_t>{Word(0xC0, 20, 0)}));
  // With the output gone the program cannot go on, and says why.
  midi.Close();
  QTest::keyClick(windows.InstrumentList(), Qt::Key_Down);
  EXPECT_TRUE(gone);
  EXPECT_THAT(screen.messages, ::testing::ElementsAre("Errore in Midi_progchang. Device?"));
}

}  // namespace
}  // namespace sonvela
