// MIDI input in the window: a device that delivers from its own thread, the window showing it on the UI
// thread; the "Midi in device" dialog.

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "../devices/threaded_fake_midi_in.h"
#include "app/app_windows.h"
#include "app/midi_in_window.h"
#include "devices/midi_in_callback.h"
#include "key_screen.h"
#include "player/control_ids.h"
#include "player/player_bench.h"
#include "text/logs.h"

namespace sonvela {
namespace {

const QRect kWorkArea(0, 0, 1024, 768);
constexpr int kWaitMs = 20000;

class MidiInWindowTest : public testing::Test {
 protected:
  MidiInWindowTest() { port.names = {"Keys", "Pads"}; }

  std::vector<uint32_t> Words() const { return SentWords(midi); }
  bool WaitForKeys(size_t count) {
    return QTest::qWaitFor([&] { return screen.keys.size() >= count; }, kWaitMs);
  }

  AppWindows windows{MainLayout::Compute(1024, 768), kWorkArea};
  RecordingScreen screen;
  RecordingMidiOut midi;
  ThreadedFakeMidiIn port;
  Logs logs;
  int logRefreshes = 0;
  MidiInWindow input{{windows, screen, port, midi, screen, logs,
                      [this] { return windows.Button(kMonitorToggle)->isChecked(); },
                      [this] { ++logRefreshes; }}};
};

TEST_F(MidiInWindowTest, InputFromItsThreadIsShownOnTheUiThread) {
  input.OpenAtStart();
  EXPECT_EQ(port.calls, (std::vector<std::string>{"open 0", "start"}));
  QComboBox* instruments = windows.InstrumentList();
  QSignalSpy listChanges(instruments, &QComboBox::currentIndexChanged);
  QSignalSpy commands(&windows, &AppWindows::Command);

  port.Play(Word(0x92, 60, 100));
  port.Play(Word(0x84, 60, 64));
  port.Play(0xF8);  // the clock: neither shown nor passed on
  port.Play(Word(0xC0, 0, 0));
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return windows.KeyboardWindow().windowTitle() == "1 Acoustic Grand"; }, kWaitMs));
  EXPECT_EQ(KeyTexts(screen), (std::vector<std::string>{"2400 61 rgb(100,255,100)", "2400 61 restore"}));
  for (const auto& paint : screen.keys) EXPECT_EQ(paint.thread, std::this_thread::get_id());
  // The program is shown in the list, nothing is sent for it but the thru.
  EXPECT_EQ(instruments->currentIndex(), 0);
  EXPECT_EQ(listChanges.count(), 0);
  EXPECT_EQ(commands.count(), 0);
  EXPECT_EQ(Words(), (std::vector<uint32_t>{Word(0x92, 60, 100), Word(0x84, 60, 64), Word(0xC0, 0, 0)}));
  // Monitor off: the lines are not kept.
  EXPECT_TRUE(logs.Messages.Empty());
  EXPECT_EQ(logRefreshes, 0);

  // Monitor on: each event's line in the message log; off again: none.
  QTest::mouseClick(windows.Button(kMonitorToggle), Qt::LeftButton);
  port.Play(Word(0x90, 64, 100), 1234);
  ASSERT_TRUE(WaitForKeys(3));
  // The line may come in the next batch of the UI thread.
  ASSERT_TRUE(QTest::qWaitFor([&] { return !logs.Messages.Empty(); }, kWaitMs));
  ASSERT_EQ(logs.Messages.Size(), 1u);
  EXPECT_EQ(logs.Messages.Back(), MidiInMonitorLine({MidiInMessageKind::kData, Word(0x90, 64, 100), 1234}));
  EXPECT_EQ(logRefreshes, 1);
  QTest::mouseClick(windows.Button(kMonitorToggle), Qt::LeftButton);
  port.Play(Word(0x90, 64, 0));
  ASSERT_TRUE(WaitForKeys(4));
  EXPECT_EQ(KeyTexts(screen).back(), "2400 65 restore");
  EXPECT_EQ(logs.Messages.Size(), 1u);

  // Closed, nothing reaches the window any more (the device's thread has ended).
  input.Close();
  EXPECT_EQ(port.calls, (std::vector<std::string>{"open 0", "start", "stop", "close"}));
  port.Play(Word(0x90, 70, 100));
  QCoreApplication::processEvents();
  EXPECT_EQ(screen.keys.size(), 4u);
}

TEST_F(MidiInWindowTest, TheDialogListsTheDevicesAndSwitchesToTheChosenOne) {
  input.OpenAtStart();
  input.ShowMidiInDialog();
  MidiInDialog* dialog = input.Dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->windowTitle(), "Midi in device");
  EXPECT_EQ(dialog->parentWidget(), nullptr);
  QComboBox* list = dialog->DeviceList();
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->itemText(0), " 0 Keys");
  EXPECT_EQ(list->itemText(1), " 1 Pads");
  EXPECT_EQ(list->currentIndex(), 0);

  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(screen.messages, (std::vector<std::string>{"Midi in ora è :  1 Pads"}));
  EXPECT_EQ(port.calls, (std::vector<std::string>{"open 0", "start", "stop", "close", "open 1", "start"}));
  EXPECT_EQ(input.Devices().MidiInDeviceId, 1);
  EXPECT_TRUE(midi.Calls.empty());  // the output is left alone
  port.Play(Word(0x95, 40, 90));
  ASSERT_TRUE(WaitForKeys(1));
  EXPECT_EQ(KeyTexts(screen), (std::vector<std::string>{"2400 41 rgb(100,255,100)"}));

  // Shut down: input closed, dialog gone, and the button opens nothing any more.
  input.ShowMidiInDialog();
  EXPECT_TRUE(dialog->isVisible());
  input.Close();
  EXPECT_FALSE(dialog->isVisible());
  input.ShowMidiInDialog();
  input.OpenAtStart();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(port.calls.back(), "close");
}

}  // namespace
}  // namespace sonvela
