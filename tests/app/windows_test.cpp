// The windows' parts on their own, built for 1024 x 768.

#include <QAbstractItemView>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include <thread>

#include "app/keyboard_play.h"
#include "app/message_box_output.h"
#include "app/midi_in_window.h"
#include "app/note_test.h"
#include "app/program_bench.h"
#include "app/step_timer.h"
#include "devices/midi_in_callback.h"
#include "platform/system_wall_clock.h"
#include "support/fake_ports.h"
#include "text/logs.h"
#include "views/view_colours.h"

namespace sonvela {

// Each key painted: "2202 61 #afa5e1", "2400 61 restore", "2203 49 redraw".
inline std::vector<std::string> KeyTexts(const RecordingScreen& screen) {
  std::vector<std::string> texts;
  for (const auto& [id, key, colour, thread] : screen.keys)
    texts.push_back(std::to_string(id) + " " + std::to_string(key) + " " +
                    (colour == kRedrawKeyboard ? "redraw"
                     : colour == kRestoreKey
                         ? "restore"
                         : QColor(ToQRgb(static_cast<Colour>(colour))).name().toStdString()));
  return texts;
}

namespace {

using test::SendMouse;
using Words = std::vector<uint32_t>;
using Texts = std::vector<std::string>;

class Windows : public testing::Test {
 protected:
  AppWindows windows{MainLayout::Compute(1024, 768), QRect(0, 0, 1024, 768)};
};

// An underscore stays inside its row (the song list stands for the lists); painting copies the picture.
TEST_F(Windows, ListsShowTheirTextWholeAndTheInstrumentListOpensAHundredPixelsHigh) {
  DrawingSurface* keyboard = windows.Surface(kChannelKeyboardBase);
  keyboard->Image().setPixelColor(0, 0, QColor(255, 0, 0));
  EXPECT_EQ(keyboard->grab().toImage().pixelColor(2, 2), QColor(255, 0, 0));
  windows.Show();
  SongFileList* list = windows.SongFiles();
  const auto rowImage = [&](const std::string& text) {
    list->SetEntries({text});
    QApplication::processEvents();
    return list->viewport()->grab(QRect(0, 0, 200, list->RowHeight())).toImage();
  };
  EXPECT_NE(rowImage("city_blues.mid"), rowImage("city blues.mid"));
  EXPECT_EQ(list->Entry(1), "");

  QTest::mouseClick(windows.Button(kBigKeyboardToggle), Qt::LeftButton);
  QComboBox* instruments = windows.InstrumentList();
  instruments->showPopup();
  QWidget* popup = instruments->view()->window();
  EXPECT_TRUE(popup->isVisible() && popup->height() <= 100 && popup->height() >= 60) << popup->height();
  instruments->hidePopup();
}

TEST_F(Windows, ControlsReportTheirCommandsAndAHeldButtonIsReportedOnEveryMove) {
  QSignalSpy commands(&windows, &AppWindows::Command);
  QTest::mouseClick(windows.Button(kPlayButton), Qt::LeftButton);
  QTest::mouseClick(windows.Control(kChannelButtonBase + 4), Qt::LeftButton);
  for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                  QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
    const bool down = type != QEvent::MouseButtonRelease;
    SendMouse(windows.Control(kSongMap), type, {30, 30}, Qt::LeftButton,
              down ? Qt::LeftButton : Qt::NoButton);
  }
  QTest::mouseClick(windows.Control(kLevelBarBase), Qt::LeftButton);  // not clickable
  std::vector<std::pair<int, int>> reported;
  for (const QList<QVariant>& command : commands)
    reported.emplace_back(command[0].toInt(), command[1].toInt());
  EXPECT_EQ(reported, (std::vector<std::pair<int, int>>{
                          {kPlayButton, 0}, {kChannelButtonBase + 4, 0}, {kSongMap, 0}, {kSongMap, 1}}));

  // Positions inside the 2-pixel edge; held down into the next row, the move is the next label's; moved
  // from the window's background over a channel button.
  std::vector<std::tuple<int, PointerAction, QPoint, Qt::MouseButtons>> records;
  QObject::connect(&windows, &AppWindows::Pointer,
                   [&](int id, PointerAction action, QPoint at, Qt::MouseButton, Qt::MouseButtons buttons) {
                     records.emplace_back(id, action, at, buttons);
                   });
  QWidget* label = windows.Control(kInstrumentLabelBase + 3);
  SendMouse(label, QEvent::MouseMove, {20, 10}, Qt::NoButton, Qt::NoButton);
  SendMouse(label, QEvent::MouseButtonPress, {20, 10}, Qt::RightButton, Qt::RightButton);
  SendMouse(label, QEvent::MouseMove, {21, 10}, Qt::NoButton, Qt::RightButton);
  SendMouse(label, QEvent::MouseMove, {22, 10 + 29}, Qt::NoButton, Qt::RightButton);
  SendMouse(label, QEvent::MouseButtonRelease, {22, 10 + 29}, Qt::RightButton, Qt::NoButton);
  SendMouse(&windows.Main(), QEvent::MouseMove, {682 + 5, 128 + 5}, Qt::NoButton, Qt::RightButton);
  SendMouse(&windows.Main(), QEvent::MouseMove, {300, 300}, Qt::NoButton, Qt::NoButton);
  const int first = kInstrumentLabelBase + 3;
  using A = PointerAction;
  EXPECT_EQ(records, (std::vector<std::tuple<int, PointerAction, QPoint, Qt::MouseButtons>>{
                         {first, A::Move, {18, 8}, Qt::NoButton},
                         {first, A::Press, {18, 8}, Qt::RightButton},
                         {first, A::Move, {19, 8}, Qt::RightButton},
                         {first + 1, A::Move, {20, 8}, Qt::RightButton},
                         {first, A::Release, {20, 37}, Qt::NoButton},
                         {kChannelButtonBase, A::Move, {5, 5}, Qt::RightButton}}));
}

// Key 61 (note 60, slot 35) low on a channel keyboard, inside its 2-pixel edge.
constexpr QPoint kChannelKey61(2 + 350, 2 + 20);

class KeyboardPlayTest : public Windows {
 protected:
  KeyboardPlayTest() {
    midi.Open(kDefaultMidiOut);
    QObject::connect(&windows, &AppWindows::Pointer, &windows,
                     [this](int id, PointerAction action, QPoint at, Qt::MouseButton button,
                            Qt::MouseButtons held) { keys.OnPointer(id, action, at, button, held); });
    QObject::connect(&windows, &AppWindows::Command, &windows,
                     [this](int id, int notification) { keys.OnKeyboardWindowCommand(id, notification); });
  }
  void Mouse(int row, QEvent::Type type, QPoint at = kChannelKey61, Qt::MouseButton button = Qt::LeftButton) {
    SendMouse(windows.Control(kChannelKeyboardBase + row), type, at,
              type == QEvent::MouseMove ? Qt::NoButton : button,
              type == QEvent::MouseButtonRelease ? Qt::NoButton : button);
  }
  void Press(int row, QPoint at = kChannelKey61) { Mouse(row, QEvent::MouseButtonPress, at); }
  Words Played(int channel, int note) {
    return {Word(0x90 + channel, note, 127), Word(0x80 + channel, note, 0)};
  }

  RecordingScreen screen;
  RecordingMidiOut midi;
  Logs logs;
  int logRefreshes = 0;
  bool switching = false;
  bool gone = false;
  KeyboardPlay keys{{windows, screen, midi, logs, [this] { ++logRefreshes; }, [this] { return switching; },
                     [this] { gone = true; }}};
};

// Dragged over the next keyboards and let go elsewhere, the note ends on its own channel, once.
TEST_F(KeyboardPlayTest, AKeyEndsOnItsOwnChannelOnceWhereverTheButtonComesUp) {
  Press(2);
  EXPECT_TRUE(keys.HoldsNote());
  EXPECT_EQ(screen.texts[kNoteNameLabel], "do=60");
  EXPECT_EQ(logs.Debug.ToVector(), Texts{"Nota : 60 3"});
  EXPECT_EQ(logRefreshes, 1);
  for (int rows : {1, 2}) Mouse(2, QEvent::MouseMove, kChannelKey61 + QPoint(0, rows * 29));
  Mouse(2, QEvent::MouseButtonRelease, QPoint(900, 300));
  EXPECT_EQ(midi.Words(), Played(2, 60));
  EXPECT_EQ(KeyTexts(screen), (Texts{"2202 61 #afa5e1", "2202 61 restore"}));
  EXPECT_FALSE(keys.HoldsNote());
  for (const int releasedOn : {kChannelKeyboardBase + 4, kBigKeyboard, kSongMap, 0}) {
    midi.Sent.clear();
    Press(2);
    keys.OnPointer(kChannelKeyboardBase + 3, PointerAction::Move, {100, 5}, Qt::NoButton, Qt::LeftButton);
    for (int twice = 0; twice < 2; ++twice)
      keys.OnPointer(releasedOn, PointerAction::Release, {100, 5}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(midi.Words(), Played(2, 60)) << releasedOn;
  }
}

TEST_F(KeyboardPlayTest, NothingEndsANoteNobodyStartedAndTheBigKeyboardPlaysOnChannelOne) {
  // A release with no press, the right button, hovering: nothing.
  Mouse(4, QEvent::MouseButtonRelease);
  for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseMove, QEvent::MouseButtonRelease})
    Mouse(4, type, kChannelKey61, Qt::RightButton);
  Mouse(4, QEvent::MouseMove, kChannelKey61, Qt::NoButton);
  EXPECT_TRUE(midi.Sent.empty() && screen.keys.empty());
  // A release taken elsewhere: the next move without the button ends the note; a second press ends the first.
  Press(2);
  keys.OnPointer(kChannelKeyboardBase + 2, PointerAction::Move, {10, 10}, Qt::NoButton, Qt::NoButton);
  Press(2);
  Press(3, kChannelKey61 + QPoint(10, 0));
  keys.ReleaseHeldNote();
  EXPECT_EQ(midi.Words(), Join({Played(2, 60), Played(2, 60), Played(3, 62)}));
  EXPECT_EQ(screen.texts[kNoteNameLabel], "re=62");
  // The big keyboard; the note name field names only what the channel keyboards play.
  midi.Sent.clear();
  screen.keys.clear();
  screen.texts.clear();
  QWidget* big = windows.Control(kBigKeyboard);
  SendMouse(big, QEvent::MouseButtonPress, {565, 100}, Qt::LeftButton, Qt::LeftButton);
  SendMouse(big, QEvent::MouseButtonRelease, {565, 400}, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(midi.Words(), Played(0, 60));
  EXPECT_EQ(KeyTexts(screen), (Texts{"2400 61 #afa5e1", "2400 61 restore"}));
  EXPECT_EQ(logs.Debug.Back(), "Nota : 60 201");
  EXPECT_EQ(screen.texts.count(kNoteNameLabel), 0u);
}

// Chosen while the output switches, the last program goes out once afterwards; a failed one ends the program.
TEST_F(KeyboardPlayTest, AProgramChosenWhileTheOutputSwitchesGoesOutOnceAndAFailedOneEndsTheProgram) {
  keys.OutputSwitched();  // nothing waits
  switching = true;
  for (int twice = 0; twice < 2; ++twice) QTest::keyClick(windows.InstrumentList(), Qt::Key_Down);
  EXPECT_EQ(keys.KeyboardProgram(), 21);
  EXPECT_TRUE(midi.Sent.empty());
  switching = false;
  keys.OutputSwitched();
  keys.OutputSwitched();
  EXPECT_EQ(midi.Words(), (Words{Word(0xC0, 20, 0)}));
  midi.Close();
  QTest::keyClick(windows.InstrumentList(), Qt::Key_Down);
  EXPECT_TRUE(gone);
  EXPECT_THAT(screen.messages, ::testing::ElementsAre("Errore in Midi_progchang. Device?"));
}

class MidiInWindowTest : public Windows {
 protected:
  MidiInWindowTest() { port.names = {"Keys", "Pads"}; }
  bool WaitForKeys(size_t count) {
    return QTest::qWaitFor([&] { return screen.keys.size() >= count; }, 20000);
  }

  RecordingScreen screen;
  RecordingMidiOut midi;
  ThreadedFakeMidiIn port;
  Logs logs;
  int logRefreshes = 0;
  MidiInWindow input{{windows, screen, port, midi, screen, logs,
                      [this] { return windows.Button(kMonitorToggle)->isChecked(); },
                      [this] { ++logRefreshes; }}};
};

// The program is shown in the list, nothing sent for it but the thru; with Monitor on, each event's line in
// the message log (perhaps in the next batch). Closed, nothing reaches the window (the thread has ended).
TEST_F(MidiInWindowTest, InputFromItsThreadIsShownOnTheUiThread) {
  input.OpenAtStart();
  EXPECT_EQ(port.calls, (Texts{"open 0", "start"}));
  QSignalSpy listChanges(windows.InstrumentList(), &QComboBox::currentIndexChanged);
  QSignalSpy commands(&windows, &AppWindows::Command);
  for (const uint32_t word : {Word(0x92, 60, 100), Word(0x84, 60, 64), uint32_t{0xF8}, Word(0xC0, 0, 0)})
    port.Play(word);
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return windows.KeyboardWindow().windowTitle() == "1 Acoustic Grand"; }, 20000));
  EXPECT_EQ(KeyTexts(screen), (Texts{"2400 61 #64ff64", "2400 61 restore"}));
  for (const auto& paint : screen.keys) EXPECT_EQ(paint.thread, std::this_thread::get_id());
  EXPECT_EQ(windows.InstrumentList()->currentIndex(), 0);
  EXPECT_EQ(listChanges.count() + commands.count(), 0);
  EXPECT_EQ(midi.Words(), (Words{Word(0x92, 60, 100), Word(0x84, 60, 64), Word(0xC0, 0, 0)}));
  EXPECT_TRUE(logs.Messages.Empty() && logRefreshes == 0);
  QTest::mouseClick(windows.Button(kMonitorToggle), Qt::LeftButton);
  port.Play(Word(0x90, 64, 100), 1234);
  ASSERT_TRUE(WaitForKeys(3));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !logs.Messages.Empty(); }, 20000));
  EXPECT_EQ(logs.Messages.ToVector(),
            Texts{MidiInMonitorLine({MidiInMessageKind::kData, Word(0x90, 64, 100), 1234})});
  EXPECT_EQ(logRefreshes, 1);
  QTest::mouseClick(windows.Button(kMonitorToggle), Qt::LeftButton);
  port.Play(Word(0x90, 64, 0));
  ASSERT_TRUE(WaitForKeys(4));
  EXPECT_EQ(KeyTexts(screen).back(), "2400 65 restore");
  EXPECT_EQ(logs.Messages.Size(), 1u);
  input.Close();
  EXPECT_EQ(port.calls, (Texts{"open 0", "start", "stop", "close"}));
  port.Play(Word(0x90, 70, 100));
  QCoreApplication::processEvents();
  EXPECT_EQ(screen.keys.size(), 4u);
}

// "Note test": sixteen 200 ms steps on a real timer, channel by channel; a press meanwhile is ignored.
TEST(NoteTestTest, PlaysChannelByChannelOnARealTimerWhileTheWindowAnswers) {
  SystemWallClock clock;
  RecordingMidiOut midi(&clock);
  RecordingScreen screen;
  QtStepTimer timer;
  NoteTest test(midi, screen, timer);
  QSignalSpy finished(&test, &NoteTest::Finished);
  std::vector<size_t> sentWhenHandled;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    if (!test.Running()) return;
    sentWhenHandled.push_back(midi.Sent.size());
    test.Start();
  });
  test.Start();
  answer.start(50);
  ASSERT_TRUE(finished.wait(60000));
  answer.stop();
  Words expected;
  Texts keys;
  for (int channel = 0; channel < 16; ++channel) {
    expected.insert(expected.end(), {Word(0xC0 + channel, 19, 127), Word(0x90 + channel, 48, 127),
                                     Word(0x80 + channel, 48, 0)});
    const std::string keyboard = std::to_string(kChannelKeyboardBase + channel);
    keys.insert(keys.end(), {keyboard + " 49 #afa5e1", keyboard + " 49 redraw"});
  }
  ASSERT_EQ(midi.Words(), expected);
  EXPECT_EQ(KeyTexts(screen), keys);
  for (size_t on = 1; on < expected.size(); on += 3)
    EXPECT_GE(midi.Sent[on + 1].timeMs - midi.Sent[on].timeMs, 199.0) << on;
  EXPECT_TRUE(sentWhenHandled.size() > 1 && sentWhenHandled.back() > sentWhenHandled.front());
  midi.Sent.clear();
  test.Start();
  test.Stop();  // halfway: the sounding note ends, the test is over
  EXPECT_EQ(midi.Words(), (Words{Word(0xC0, 19, 127), Word(0x90, 48, 127), Word(0x80, 48, 0)}));
  EXPECT_FALSE(test.Running());
  EXPECT_EQ(finished.count(), 1);
}

// The program's message boxes: one at a time, above the main window, never holding up the end.
TEST(DialogMessageBoxes, ShowOneBoxAtATimeAboveTheWindowAndEndWithIt) {
  QWidget window;
  window.show();
  const auto open = [&window] {  // the boxes shown, on the window
    QApplication::processEvents();
    QList<QMessageBox*> boxes = window.findChildren<QMessageBox*>(Qt::FindDirectChildrenOnly);
    boxes.removeIf([](const QMessageBox* box) { return !box->isVisible(); });
    return boxes;
  };
  DialogMessageBoxes boxes;
  boxes.SetOwner(&window);
  const char* const texts[] = {"first", "second",
                               "third"};  // answered by OK, Escape: the next takes its turn
  for (const char* text : texts) boxes.ShowMessage(text);
  for (const char* text : texts) {
    const QList<QMessageBox*> shown = open();
    ASSERT_EQ(shown.size(), 1u) << text;
    EXPECT_EQ(shown[0]->text(), text);
    EXPECT_TRUE(shown[0]->parentWidget() == &window && !shown[0]->isModal());
    if (std::string(text) == "first") shown[0]->button(QMessageBox::Ok)->click();
    if (std::string(text) == "second") QTest::keyClick(shown[0], Qt::Key_Escape);
  }
  boxes.ShowMessage("fourth");
  boxes.EndWithWindow();
  boxes.ShowMessage("at the end");
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(open().isEmpty());
}

}  // namespace
}  // namespace sonvela
