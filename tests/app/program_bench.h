#pragma once
// The whole program offscreen among fakes, timers ticked by hand, each test in a temporary current folder.

#include <QAbstractButton>
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
#include <sstream>
#include <string>
#include <vector>

#include "../devices/threaded_fake_midi_in.h"
#include "app/sonvela.h"
#include "golden.h"
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
    Run(count);
    return Sent();
  }
  void Run(int count) {
    for (int i = 0; i < count; ++i) {
      clock.Advance(10);
      timers->Tick(*program, kSequencerSlot);
      if (std::lrint(clock.steadyMs) % 100 == 0) timers->Tick(*program, kProgressSlot);
    }
  }
  std::vector<uint32_t> Sent() {
    std::vector<uint32_t> words;
    for (; seen < midi.Sent.size(); ++seen) words.push_back(midi.Sent[seen].word);
    return words;
  }

  // What the user sees and what reached the output since the last look, for golden transcripts.
  std::string Look() {
    std::ostringstream out;
    const auto text = [this](QString shown) {
      return shown.replace(folder.path(), "<folder>").toStdString();
    };
    const std::vector<uint32_t> sent = Sent(), silence = AllNotesOffWords();
    out << "sent" << std::hex;
    for (auto word = sent.begin(); word != sent.end(); ++word) {
      const bool silenced = sent.end() - word >= 16 && std::equal(silence.begin(), silence.end(), word);
      silenced ? void(out << " (all notes off)") : void(out << " " << *word);
      word += silenced ? 15 : 0;
    }
    out << std::dec << "\ncalls";
    for (; callsSeen < midi.Calls.size(); ++callsSeen) out << " [" << midi.Calls[callsSeen] << "]";
    for (; messagesSeen < messages.shown.size(); ++messagesSeen)
      out << "\nmessage " << text(QString::fromStdString(messages.shown[messagesSeen]));
    out << "\nlist";
    for (const std::string& entry : Entries()) out << " [" << entry << "]";
    out << "\ntitle [" << text(Title()) << "] " << text(LabelText(kBpmLabel)) << ", info ["
        << text(LabelText(kInfoLabel)) << "], " << text(LabelText(kTimeLabel)) << "\ntimers";
    for (const auto& [slot, name] :
         {std::pair{kSequencerSlot, "sequence"}, {kSecondSlot, "second"}, {kProgressSlot, "progress"}})
      if (timers->Running(slot)) out << " " << name;
    // The toggles that are on, and the channel filters that are off.
    out << "\nchecked";
    for (const ControlMap::Entry& entry : Windows().Controls().Entries()) {
      const auto* toggle = qobject_cast<const QAbstractButton*>(entry.control);
      const bool filter = entry.id >= kChannelFilterBase && entry.id < kChannelFilterBase + 16;
      if (toggle != nullptr && toggle->isCheckable() && toggle->isChecked() != filter)
        out << (filter ? " -filter" + std::to_string(entry.id - kChannelFilterBase + 1)
                       : " " + text(toggle->text()));
    }
    out << (Main().isVisible() ? "\nshown" : "\nshown, the main window hidden:");
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window != &Main() && window->isVisible())
        out << " [" << text(window->windowTitle())
            << (window->windowFlags() & Qt::WindowStaysOnTopHint ? "] on top" : "]");
    const TransportState& s = State();
    out << "\npaused " << int{s.Paused} << ", continuo " << s.ContinuoOn << ", intro " << s.IntroSeconds
        << ", monitor " << int{s.MonitorOn} << ", tempo fixed " << int{s.TempoFixed} << ", scale "
        << s.DataScale << ", status [" << s.PlayStatus << "], at tick " << s.SongPosition / 60000 << ", loop "
        << std::lround(s.LoopStartPercent * 10) << ".." << std::lround(s.LoopEndPercent * 10) << " permille";
    // Each channel: its button's colour (r, g), a * if muted, its label's program.
    out << "\nchannels";
    for (size_t channel = 1; channel <= 16; ++channel) {
      const QColor colour = Windows()
                                .Label(kChannelButtonBase + static_cast<int>(channel) - 1)
                                ->palette()
                                .color(QPalette::WindowText);
      out << " "
          << (colour == QColor(255, 0, 0)   ? "r"
              : colour == QColor(0, 255, 0) ? "g"
                                            : "?")
          << (s.ChannelMuted[channel] != 0 ? "*" : "") << s.InstrumentProgram[channel];
    }
    out << ", keyboard's program " << program->KeyboardProgram() << "\n";
    return out.str();
  }

  // The look against its section of program.golden, named after the test and the moment.
  void Pin(const std::string& moment) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    ExpectGolden("program.golden",
                 {{std::string(test->test_suite_name()) + "." + test->name() + ": " + moment, Look()}});
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
  size_t seen = 0, callsSeen = 0, messagesSeen = 0;
  std::unique_ptr<Sonvela> program;
};

}  // namespace sonvela::test
