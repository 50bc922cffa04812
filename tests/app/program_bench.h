#pragma once
// The whole program offscreen among fakes, timers ticked by hand, each test in a temporary current folder.

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../devices/threaded_fake_midi_in.h"
#include "app/sonvela.h"
#include "midi_builder.h"
#include "player/control_ids.h"
#include "player/player_bench.h"

namespace sonvela::test {

inline void SendMouse(QWidget* widget, QEvent::Type type, QPoint point, Qt::MouseButton button,
                      Qt::MouseButtons buttons) {
  QMouseEvent event(type, point, widget->mapToGlobal(point), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

// Events on a channel 1..16.
inline std::string NoteOn(uint32_t delta, int channel, int key, int velocity) {
  return Delta(delta) + Bytes({0x8F + channel, key, velocity});
}
inline std::string NoteOff(uint32_t delta, int channel, int key) {
  return Delta(delta) + Bytes({0x7F + channel, key, 0});
}
inline std::string ProgramEvent(uint32_t delta, int channel, int program) {
  return Delta(delta) + Bytes({0xBF + channel, program});
}
// A format-0 song at 96 ticks a quarter (120 BPM: one tick of the song clock is 10 ms x 1.92 ticks).
inline std::string Song(const std::string& events) {
  return Header(0, 1, 96) + Track(events + kEndOfTrack);
}

class ClosingMidiIn : public ThreadedFakeMidiIn {
 public:
  int Close() override {
    if (onClose) onClose();
    return ThreadedFakeMidiIn::Close();
  }
  std::function<void()> onClose;
};

class ProgramBench : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    previousFolder = QDir::currentPath();
    QDir::setCurrent(folder.path());
  }
  void TearDown() override {
    program.reset();
    QDir::setCurrent(previousFolder);
  }

  void MakeProgram(const std::string& commandLineSong = {}) {
    ProgramParts parts;
    parts.midi = &midi;
    parts.clock = &clock;
    parts.bus = [] { return std::nullopt; };  // tests/desktop tries the media controls
    parts.makeTimers = [this](TickSink&) {
      auto made = std::make_unique<ManualTimers>();
      timers = made.get();
      return made;
    };
    parts.chooseFile = [this] {
      ++dialogsOpened;
      return chosen;
    };
    parts.midiIn = &midiIn;
    program = std::make_unique<Sonvela>(messages, commandLineSong, MainLayout::Compute(1024, 768),
                                        QRect(0, 0, 1024, 768), parts);
  }
  void StartProgram(const std::string& commandLineSong = {}) {
    if (!program) MakeProgram(commandLineSong);
    program->Start();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Main()));
    ASSERT_TRUE(QTest::qWaitFor([this] { return Main().isMaximized(); }));
    QTest::qWait(0);  // the first paint's work runs once the paint is over
    QCoreApplication::processEvents();
  }

  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = QDir(folder.path()).filePath(QString::fromStdString(name)).toStdString();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  AppWindows& Windows() { return program->Windows(); }
  MainWindow& Main() { return Windows().Main(); }
  QString Title() { return Main().windowTitle().mid(Main().BaseTitle().size()); }
  const TransportState& State() { return program->Session().State(); }
  SongTables& Tables() { return program->Document().Tables; }
  QString LabelText(int id) { return Windows().Label(id)->text(); }
  QImage Picture(int id) { return Windows().Surface(id)->Image(); }
  bool Checked(int id) { return Windows().Button(id)->isChecked(); }

  void Click(int id, Qt::MouseButton button = Qt::LeftButton, QPoint at = {5, 5}) {
    QTest::mouseClick(Windows().Control(id), button, {}, at);
  }
  void Hover(int id, QPoint at = {10, 10}) {
    SendMouse(Windows().Control(id), QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
  }
  // Pressed at the first point, moved through the others held, released at the last.
  void Drag(int id, Qt::MouseButton button, std::initializer_list<QPoint> points) {
    QWidget* control = Windows().Control(id);
    SendMouse(control, QEvent::MouseButtonPress, *points.begin(), button, button);
    for (auto at = points.begin() + 1; at != points.end(); ++at)
      SendMouse(control, QEvent::MouseMove, *at, Qt::NoButton, button);
    SendMouse(control, QEvent::MouseButtonRelease, *(points.end() - 1), button, Qt::NoButton);
  }
  void ClickSongEntry(int index) {
    SongFileList* list = Windows().SongFiles();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(index, 0)).center());
  }
  // The song list, "> " before the selected entry.
  std::vector<std::string> Entries() {
    std::vector<std::string> entries;
    for (int i = 0; i < Windows().SongFiles()->Count(); ++i)
      entries.push_back((i == Windows().SongFiles()->Selected() ? "> " : "") +
                        Windows().SongFiles()->Entry(i));
    return entries;
  }

  // Sequencer ticks of 10 ms, every tenth with a progress tick; the words sent since the last look.
  std::vector<uint32_t> Tick(int count = 1) {
    for (int i = 0; i < count; ++i) {
      clock.Advance(10);
      timers->Tick(*program, kSequencerSlot);
      if (std::lrint(clock.steadyMs) % 100 == 0) timers->Tick(*program, kProgressSlot);
    }
    return Sent();
  }
  std::vector<uint32_t> Sent() {
    std::vector<uint32_t> words;
    for (; seen < midi.Sent.size(); ++seen) words.push_back(midi.Sent[seen].word);
    return words;
  }

  QTemporaryDir folder;
  QString previousFolder;
  RecordedMessages messages;
  SettableClock clock;
  RecordingMidiOut midi{&clock};
  ClosingMidiIn midiIn;
  ManualTimers* timers = nullptr;
  QString chosen;
  int dialogsOpened = 0;
  size_t seen = 0;
  std::unique_ptr<Sonvela> program;
};

}  // namespace sonvela::test
