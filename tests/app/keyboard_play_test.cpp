// Playing the keyboards with the mouse on the real windows: what is sent, lit, written and logged for whole
// press, move and release sequences; the Keyboard window's other commands; "All organ".

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "app/all_organ.h"
#include "app/app_windows.h"
#include "app/keyboard_play.h"
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

constexpr uint32_t Word(int status, int data1, int data2) {
  return static_cast<uint32_t>(status + 256 * data1 + 65536 * data2);
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint point, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
  QMouseEvent event(type, point, widget->mapToGlobal(point), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

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

  std::vector<uint32_t> Words() const {
    std::vector<uint32_t> words;
    for (const SentMessage& sent : midi.Sent) words.push_back(sent.word);
    return words;
  }
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
  KeyScreen screen;
  RecordingMidiOut midi;
  Logs logs;
  int logRefreshes = 0;
  bool switching = false;
  KeyboardPlay keys{{windows, screen, midi, logs, [this] { ++logRefreshes; }, [this] { return switching; }}};
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
  EXPECT_EQ(screen.keys,
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
  EXPECT_EQ(screen.keys,
            (std::vector<std::string>{std::string("2400 61 ") + kPressedColour, "2400 61 restore"}));
  EXPECT_EQ(logs.Debug.Back(), "Nota : 60 201");
  // The note name field names what the channel keyboards play.
  EXPECT_EQ(screen.texts.count(kNoteNameLabel), 0u);

  // The instrument list shows "19 Rock Organ" at start, but the program stays 1 until a choice sends one.
  EXPECT_EQ(keys.KeyboardProgram(), 1);
  Clear();
  QTest::keyClick(windows.InstrumentList(), Qt::Key_Down);
  EXPECT_EQ(keys.KeyboardProgram(), 20);
  EXPECT_EQ(Words(), (std::vector<uint32_t>{Word(0xC0, 19, 0)}));
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
}

TEST_F(KeyboardPlayTest, ChannelFiltersRedrawTheBigKeyboardAndAPressWhitensTheHistory) {
  QTest::mouseClick(windows.Button(kChannelFilterBase + 5), Qt::LeftButton);
  EXPECT_EQ(screen.keys, (std::vector<std::string>{"2400 0 redraw"}));

  DrawingSurface* strip = windows.Surface(kHistoryStrip);
  strip->Image().fill(Qt::black);
  SendMouse(strip, QEvent::MouseButtonPress, {20, 20}, Qt::RightButton, Qt::RightButton);
  EXPECT_EQ(strip->Image().pixelColor(5, 5), QColor(Qt::black));
  SendMouse(strip, QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton, Qt::LeftButton);
  const QImage& image = strip->Image();
  for (const QPoint corner : {QPoint(0, 0), QPoint(image.width() - 1, image.height() - 1)}) {
    EXPECT_EQ(image.pixelColor(corner), QColor(Qt::white));
  }
  EXPECT_TRUE(midi.Sent.empty());
}

class RecordedLabels : public InstrumentLabels {
 public:
  explicit RecordedLabels(RecordingMidiOut& midi) : midi_(midi) {}
  int LabelProgram(int channel) override { return programs[static_cast<size_t>(channel)]; }
  void ShowLabelProgram(int channel, int program) override {
    programs[static_cast<size_t>(channel)] = program;
    shown.push_back({channel, midi_.Sent.size()});
  }
  std::array<int, 17> programs{};
  struct Shown {
    int channel;
    size_t sentBefore;
    bool operator==(const Shown&) const = default;
  };
  std::vector<Shown> shown;

 private:
  RecordingMidiOut& midi_;
};

TEST(AllOrganTest, EveryChannelGetsTheOrganAndLabelsNamingAProgramFollow) {
  RecordingMidiOut midi;
  RecordedLabels labels(midi);
  labels.programs[2] = 5;
  labels.programs[3] = -1;  // after Play
  labels.programs[4] = 19;
  labels.programs[16] = 127;
  AllOrgan(midi, labels);
  ASSERT_EQ(midi.Sent.size(), 16u);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(midi.Sent[static_cast<size_t>(i)].word, Word(0xC0 + i, 19, 127));
  // Each label right after its channel's program change; labels holding 0 or -1 stay as they are.
  EXPECT_EQ(labels.shown, (std::vector<RecordedLabels::Shown>{{2, 2}, {4, 4}, {16, 16}}));
  EXPECT_EQ(labels.programs[1], 0);
  EXPECT_EQ(labels.programs[3], -1);
  EXPECT_EQ(labels.programs[2], 19);
}

}  // namespace
}  // namespace sonvela
