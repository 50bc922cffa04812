// The desktop program in this process, built as its main() builds it, for the window benchmarks
// (bench/window_bench.sh):
//
//   window_bench play [--keyboard] SONG
//     plays SONG as `sonvela SONG` does; the program's environment settings apply (SONVELA_CAPTURE,
//     SONVELA_QUIT_AT_END, SONVELA_REPORT_FIRST_PAINT). With --keyboard the "Big keyb" and "History" toggles
//     are pressed first: the Keyboard window and its history strip follow the song.
//   window_bench tick [--keyboard] SONG [REPEATS]
//     the window's work at a progress tick (16 level bars, the progress label, the loop bar) and the repaint
//     that follows it, and the same of the sequencer ticks between that send something, while SONG plays on
//     every channel, ticked by hand: median and p99 of REPEATS progress periods (default 1000). The song
//     must last REPEATS / 10 seconds and a little more.
//
// Run it on the offscreen platform (QT_QPA_PLATFORM=offscreen) or on a virtual screen (xvfb-run).

#include <QApplication>
#include <QEvent>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/first_paint_report.h"
#include "app/message_box_output.h"
#include "app/quit_at_end.h"
#include "app/sonvela.h"
#include "platform/audio_libraries.h"
#include "player/control_ids.h"
#include "player/transport_state.h"

namespace {

using sonvela::ProgramParts;
using sonvela::Sonvela;

int Usage() {
  std::fprintf(stderr,
               "use: window_bench play [--keyboard] SONG | window_bench tick [--keyboard] SONG [REPEATS]\n");
  return 2;
}

sonvela::MainLayout ScreenLayout(QRect& workArea) {
  workArea = QGuiApplication::primaryScreen()->availableGeometry();
  return sonvela::MainLayout::Compute(workArea.width(), workArea.height());
}

int Play(const std::string& song, bool keyboard) {
  const std::unique_ptr<sonvela::MessageBoxes> messages = sonvela::MakeMessageBoxes();
  QRect workArea;
  const sonvela::MainLayout layout = ScreenLayout(workArea);
  ProgramParts parts;
  sonvela::QuitAtEnd quitAtEnd;
  if (sonvela::QuitAtEnd::Asked()) quitAtEnd.Into(parts);
  Sonvela program(*messages, song, layout, workArea, std::move(parts));
  quitAtEnd.Watch(program);
  sonvela::MainWindow& main = program.Windows().Main();
  sonvela::FirstPaintReport firstPaintReport(main);
  QObject::connect(
      &main, &sonvela::MainWindow::Ended, &main, [] { QApplication::quit(); }, Qt::QueuedConnection);
  program.Start();
  if (keyboard) {
    program.Windows().Button(sonvela::kBigKeyboardToggle)->click();
    program.Windows().Button(sonvela::kHistoryToggle)->click();
  }
  return QApplication::exec();
}

// Timers that never tick by themselves: the benchmark delivers every tick.
class HandTimers : public sonvela::TickTimers {
 public:
  uint32_t Start(int, int) override { return ++lastId_; }
  void Kill(int) override {}

 private:
  uint32_t lastId_ = 0;
};

// An output that only counts the messages sent to it.
class CountingMidiOut : public sonvela::MidiOut {
 public:
  int DeviceCount() override { return 1; }
  std::string DeviceName(int) override { return "counter"; }
  int Open(int) override {
    open_ = true;
    return sonvela::kMidiOutOk;
  }
  int Close() override {
    open_ = false;
    return sonvela::kMidiOutOk;
  }
  int OpenDeviceId() override { return open_ ? 0 : -1; }
  std::string ErrorText(int) override { return {}; }
  void Send(uint32_t) override { ++sent; }

  long sent = 0;

 private:
  bool open_ = false;
};

// Counts the paint events of every widget.
class PaintCounter : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
  long paints = 0;
};

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  const auto index = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
  return values[std::min(index, values.size() - 1)];
}

double Ms(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

void PrintTimes(const char* what, const std::vector<double>& times, const char* limit) {
  std::printf("%-22s median %.3f ms, p99 %.3f ms%s\n", what, Percentile(times, 0.5), Percentile(times, 0.99),
              limit);
}

int Tick(const std::string& song, int repeats, bool keyboard) {
  using Clock = std::chrono::steady_clock;
  sonvela::StderrMessageBoxes messages;
  QRect workArea;
  const sonvela::MainLayout layout = ScreenLayout(workArea);
  CountingMidiOut counted;
  ProgramParts parts;
  parts.midi = &counted;
  parts.makeTimers = [](sonvela::TickSink&) { return std::make_unique<HandTimers>(); };
  Sonvela program(messages, song, layout, workArea, std::move(parts));
  bool painted = false;
  // After the program's own first-paint work, which loads the song and starts it.
  QObject::connect(&program.Windows().Main(), &sonvela::MainWindow::FirstPaint,
                   [&painted] { painted = true; });
  program.Start();
  if (keyboard) {
    program.Windows().Button(sonvela::kBigKeyboardToggle)->click();
    program.Windows().Button(sonvela::kHistoryToggle)->click();
  }
  const Clock::time_point giveUp = Clock::now() + std::chrono::seconds(60);
  while (!painted && Clock::now() < giveUp) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
  const sonvela::TransportState& state = program.Session().State();
  if (!painted || !program.Session().Player().Running()) {
    std::fprintf(stderr, "window_bench: the song did not start\n");
    return 1;
  }

  PaintCounter counter;
  QApplication::instance()->installEventFilter(&counter);
  long paints = 0;
  std::vector<double> sequencerWork;
  std::vector<double> sequencerRepaint;
  std::vector<double> progressWork;
  std::vector<double> progressRepaint;
  // What the bars showed after the last progress tick: a bar is drawn again when its level changed.
  auto levelsShown = state.ChannelMeter[2];
  long barsChanged = 0;
  long messagesSent = 0;
  long barsLit = 0;
  const int warmUp = 20;
  for (int repeat = 0; repeat < warmUp + repeats; ++repeat) {
    if (state.PlayStatus == sonvela::kStatusEnded) {
      std::fprintf(stderr, "window_bench: the song ended after %d ticks; give a longer one\n", repeat);
      return 1;
    }
    const bool measured = repeat >= warmUp;
    // A progress period of the song, each tick with the repaint that follows it, as the event loop runs it.
    // Only the ticks that send something are counted: most have nothing due.
    for (int tick = 0; tick < sonvela::kProgressPeriodMs / sonvela::kSequencerPeriodMs; ++tick) {
      const long sentBefore = counted.sent;
      const Clock::time_point start = Clock::now();
      program.OnTimerTick(sonvela::kSequencerSlot);
      const Clock::time_point ticked = Clock::now();
      QApplication::processEvents();
      if (measured && counted.sent > sentBefore) {
        messagesSent += counted.sent - sentBefore;
        sequencerWork.push_back(Ms(start, ticked));
        sequencerRepaint.push_back(Ms(ticked, Clock::now()));
      }
    }
    const long paintsBefore = counter.paints;
    const Clock::time_point start = Clock::now();
    program.OnTimerTick(sonvela::kProgressSlot);
    const Clock::time_point ticked = Clock::now();
    QApplication::processEvents();
    const Clock::time_point repainted = Clock::now();
    if (!measured) {
      levelsShown = state.ChannelMeter[2];
      continue;
    }
    paints += counter.paints - paintsBefore;
    progressWork.push_back(Ms(start, ticked));
    progressRepaint.push_back(Ms(ticked, repainted));
    for (int channel = 1; channel <= sonvela::kChannels; ++channel) {
      const auto index = static_cast<size_t>(channel);
      barsChanged += state.ChannelMeter[2][index] != levelsShown[index] ? 1 : 0;
      barsLit += state.ChannelMeter[2][index] > 0 ? 1 : 0;
    }
    levelsShown = state.ChannelMeter[2];
  }
  const double n = repeats;
  std::printf("level bars per tick    %.1f lit, %.1f drawn anew (of 16); %.1f widgets repainted; %d ticks\n",
              barsLit / n, barsChanged / n, static_cast<double>(paints) / n, repeats);
  PrintTimes("progress tick", progressWork, "   (limit 1 ms)");
  PrintTimes("  its repaint", progressRepaint, "");
  std::printf(
      "sequencer ticks        %zu that send, %.1f messages each\n", sequencerWork.size(),
      static_cast<double>(messagesSent) / static_cast<double>(std::max<size_t>(sequencerWork.size(), 1)));
  PrintTimes("sequencer tick", sequencerWork, "");
  PrintTimes("  its repaint", sequencerRepaint, "");
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  // Before any thread starts: it sets the environment the audio libraries read.
  sonvela::PrepareAudioLibraries();
  QApplication application(argc, argv);
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (arguments.size() >= 2 && arguments[0] == "play") {
    const bool keyboard = arguments[1] == "--keyboard";
    if (keyboard && arguments.size() != 3) return Usage();
    if (!keyboard && arguments.size() != 2) return Usage();
    return Play(arguments.back(), keyboard);
  }
  if (arguments.size() >= 2 && arguments[0] == "tick") {
    const bool keyboard = arguments[1] == "--keyboard";
    const size_t song = keyboard ? 2 : 1;
    if (arguments.size() <= song || arguments.size() > song + 2) return Usage();
    const int repeats = arguments.size() == song + 2 ? std::atoi(arguments[song + 1].c_str()) : 1000;
    if (repeats <= 0) return Usage();
    return Tick(arguments[song], repeats, keyboard);
  }
  return Usage();
}
