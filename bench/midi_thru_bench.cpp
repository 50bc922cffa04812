// MIDI thru latency on real JACK ports: a keyboard client plays notes into Sonvela's input port; each note's
// copy is timed where it comes out of Sonvela's output port into a receiving client. As a peer in the same
// run, a second client listens to the keyboard directly: JACK's own delivery time, one hop instead of two.
// The input's shows go through the queued shower to a Qt event loop, as in the program. With "busy", that
// loop draws without a pause meanwhile: the big keyboard lit key by key with its history strip, and the song
// map of a dense song, as a window playing a song would.
// Run by midi_thru_bench.sh with a JACK server up. Use: midi_thru_bench [NOTES] [busy]

#include <rtmidi/RtMidi.h>

#include <QGuiApplication>
#include <QImage>
#include <QMetaObject>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "devices/midi_in_devices.h"
#include "platform/audio_libraries.h"
#include "platform/platform_midi_in.h"
#include "platform/platform_midi_out.h"
#include "platform/queued_midi_in_shower.h"
#include "song/song_tables.h"
#include "views/keyboards.h"
#include "views/song_panels.h"
#include "views/surface.h"

namespace {

using namespace sonvela;
using Clock = std::chrono::steady_clock;

// Arrival times of the numbered notes at one client. Note n is note-on key n % 128, velocity 1 + n / 128.
class Arrivals {
 public:
  explicit Arrivals(size_t notes) : times_(notes) {}
  static void OnMessage(double, std::vector<unsigned char>* message, void* data) {
    const Clock::time_point now = Clock::now();
    auto* self = static_cast<Arrivals*>(data);
    if (message->size() != 3 || (*message)[0] != 0x90 || (*message)[2] == 0) return;
    const size_t note = (*message)[1] + 128u * ((*message)[2] - 1u);
    std::lock_guard lock(self->mutex_);
    if (note < self->times_.size()) self->times_[note] = now;
    self->arrived_.notify_all();
  }
  bool WaitFor(size_t note) {
    std::unique_lock lock(mutex_);
    return arrived_.wait_for(lock, std::chrono::seconds(1),
                             [&] { return times_[note] != Clock::time_point(); });
  }
  std::vector<Clock::time_point> Times() {
    std::lock_guard lock(mutex_);
    return times_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<Clock::time_point> times_;
};

// The window's side of the shows: counted, nothing drawn.
struct CountingShower : MidiInShower {
  void PaintInputKey(int, int64_t) override { ++keys; }
  void ShowInputProgram(int) override {}
  void ShowMonitorLine(std::string) override { ++lines; }
  int keys = 0;
  int lines = 0;
};

struct NoMessages : MessageBoxes {
  void ShowMessage(std::string_view) override {}
};

template <typename Port>
int DeviceNamed(Port& port, int first, const std::string& client) {
  for (int device = first; device < port.DeviceCount(); ++device) {
    if (port.DeviceName(device).find(client) != std::string::npos) return device;
  }
  return -1;
}

int PortNamed(RtMidiIn& ports, const std::string& client) {
  for (unsigned port = 0; port < ports.getPortCount(); ++port) {
    if (ports.getPortName(port).find(client) != std::string::npos) return static_cast<int>(port);
  }
  return -1;
}

struct Figures {
  std::vector<double> ms;
  size_t lost = 0;
};

Figures Latencies(const char* label, const std::vector<Clock::time_point>& sent,
                  const std::vector<Clock::time_point>& arrived) {
  Figures figures;
  for (size_t note = 0; note < sent.size(); ++note) {
    if (arrived[note] == Clock::time_point()) {
      ++figures.lost;
      std::printf("%s: note %zu did not arrive\n", label, note);
    } else {
      figures.ms.push_back(std::chrono::duration<double, std::milli>(arrived[note] - sent[note]).count());
    }
  }
  std::sort(figures.ms.begin(), figures.ms.end());
  return figures;
}

double Percentile(const std::vector<double>& sorted, double fraction) {
  if (sorted.empty()) return 0;
  const auto rank = static_cast<size_t>(std::ceil(fraction * static_cast<double>(sorted.size())));
  return sorted[std::clamp<size_t>(rank, 1, sorted.size()) - 1];
}

void Print(const char* label, const Figures& figures) {
  std::printf("%-34s p50 %6.3f ms  p90 %6.3f ms  p99 %6.3f ms  max %6.3f ms  lost %zu\n", label,
              Percentile(figures.ms, 0.50), Percentile(figures.ms, 0.90), Percentile(figures.ms, 0.99),
              figures.ms.empty() ? 0.0 : figures.ms.back(), figures.lost);
}

// Keeps the UI thread drawing: every turn of the event loop lights or clears a key of a big keyboard with
// its history strip on, and every hundredth draws a song map of 16 tracks of 20000 notes.
class BusyDrawing {
 public:
  BusyDrawing() {
    song_.TrackCount = 16;
    song_.TrackEvents.resize(17, std::vector<TrackEvent>(1));  // event 0 of each track is unused
    for (int track = 1; track <= 16; ++track) {
      for (int i = 0; i < 20000; ++i) {
        song_.TrackEvents[static_cast<size_t>(track)].push_back({0x90 + track - 1, 40 + i % 48, 90, i * 10});
      }
    }
    song_.LongestTrackTicks = 200000;
    PaintBigKeyboard(big_, keyboard_, history_, 0, kRedrawKeyboard, true, true);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Draw(); });
    timer_.start(0);
  }
  int Turns() const { return turns_; }

 private:
  void Draw() {
    const int key = 1 + turns_ % 88;
    PaintBigKeyboard(big_, keyboard_, history_, key,
                     (turns_ / 88) % 2 == 0 ? Rgb(200, 200, 255) : kRestoreKey, true, true);
    if (turns_ % 100 == 0) DrawSongMap(map_, song_);
    ++turns_;
  }

  SongTables song_;
  BigKeyboardState big_;
  QImage keyboard_ = MakeSurface({1261, 110});
  QImage history_ = MakeSurface({1261, 450});
  QImage map_ = MakeSurface({1261, 100});
  QTimer timer_;
  int turns_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  // Before any thread starts: it sets the environment the audio libraries read.
  sonvela::PrepareAudioLibraries();
  QGuiApplication app(argc, argv);
  const bool busy = argc > 2 && std::string(argv[2]) == "busy";
  const size_t notes = argc > 1 ? std::stoul(argv[1]) : 1000;
  if (notes == 0 || notes > 128 * 127) {
    std::fprintf(stderr, "notes: 1..%d\n", 128 * 127);
    return 2;
  }
  const std::string keysName = "SonvelaBenchKeys";
  const std::string thruName = "SonvelaBenchThru";
  const std::string peerName = "SonvelaBenchPeer";
  Arrivals thruArrivals(notes);
  Arrivals peerArrivals(notes);
  RtMidiOut keys(RtMidi::UNIX_JACK, keysName);
  keys.openVirtualPort("keys");
  RtMidiIn thru(RtMidi::UNIX_JACK, thruName);
  thru.setCallback(&Arrivals::OnMessage, &thruArrivals);
  thru.openVirtualPort("thru");
  RtMidiIn peer(RtMidi::UNIX_JACK, peerName);
  peer.setCallback(&Arrivals::OnMessage, &peerArrivals);
  const int keysForPeer = PortNamed(peer, keysName);
  if (keysForPeer < 0) {
    std::printf("SKIP: no JACK server with the keyboard's port\n");
    return 77;
  }
  peer.openPort(static_cast<unsigned>(keysForPeer), "peer");

  auto log = [](const std::string& line) { std::fprintf(stderr, "log: %s\n", line.c_str()); };
  SynthOptions silent;
  silent.audioDrivers = {"none"};
  PlatformMidiOut out(silent, log);
  PlatformMidiIn in(log);
  // Listing connects again when the first try found no server (a busy server can be slow to answer).
  in.DeviceCount();
  out.DeviceCount();
  if (in.PortSystem() != "JACK" || out.PortSystem() != "JACK") {
    std::printf("SKIP: the MIDI ports come from '%s' (input) and '%s' (output), not JACK\n",
                in.PortSystem().c_str(), out.PortSystem().c_str());
    return 77;
  }
  const int outDevice = DeviceNamed(out, 1, thruName);
  if (outDevice < 0 || out.Open(outDevice) != kMidiOutOk) {
    std::printf("FAILED: the receiving client's port could not be opened\n");
    return 1;
  }
  MidiInDevices devices;
  CountingShower ui;
  QueuedMidiInShower shower(ui);
  NoMessages messages;
  const MidiInContext context{devices, in, out, shower, messages};
  const int inDevice = DeviceNamed(in, 0, keysName);
  if (inDevice < 0 || OpenMidiInput(context, inDevice) != 1 || StartMidiInput(context) != 1) {
    std::printf("FAILED: the keyboard's port could not be opened as the input\n");
    return 1;
  }

  // The player: one note at a time, the next after the copy has come and a random pause of up to two
  // periods, so that notes fall at every phase of the JACK cycle.
  std::vector<Clock::time_point> sent(notes);
  std::optional<BusyDrawing> drawing;
  if (busy) drawing.emplace();
  std::thread player([&] {
    std::mt19937 random(20240506);
    std::uniform_int_distribution<int> pauseUs(200, 2900);
    for (size_t note = 0; note < notes; ++note) {
      const std::vector<unsigned char> on = {0x90, static_cast<unsigned char>(note % 128),
                                             static_cast<unsigned char>(1 + note / 128)};
      const std::vector<unsigned char> off = {0x80, on[1], 0x00};
      sent[note] = Clock::now();
      keys.sendMessage(&on);
      thruArrivals.WaitFor(note);
      keys.sendMessage(&off);
      std::this_thread::sleep_for(std::chrono::microseconds(pauseUs(random)));
    }
    peerArrivals.WaitFor(notes - 1);
    QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
  });
  app.exec();
  player.join();
  CloseMidiInput(context);
  QCoreApplication::processEvents();

  const std::vector<Clock::time_point> thruTimes = thruArrivals.Times();
  const std::vector<Clock::time_point> peerTimes = peerArrivals.Times();
  const Figures thruFigures = Latencies("thru", sent, thruTimes);
  const Figures peerFigures = Latencies("peer", sent, peerTimes);
  // Per note, what the thru took beyond the direct delivery of the same note: the share of Sonvela's two
  // JACK clients, with the keyboard client's own delays taken out.
  Figures added;
  for (size_t note = 0; note < notes; ++note) {
    if (thruTimes[note] == Clock::time_point() || peerTimes[note] == Clock::time_point()) {
      ++added.lost;
    } else {
      added.ms.push_back(
          std::chrono::duration<double, std::milli>(thruTimes[note] - peerTimes[note]).count());
    }
  }
  std::sort(added.ms.begin(), added.ms.end());
  std::printf("notes                              %zu (and their note offs)%s\n", notes,
              busy ? ", the UI thread busy drawing" : "");
  if (drawing)
    std::printf("drawn on the UI thread meanwhile    %d keys with history rows\n", drawing->Turns());
  Print("thru through Sonvela (2 hops)", thruFigures);
  Print("peer: direct JACK delivery (1 hop)", peerFigures);
  Print("added by Sonvela (thru - peer)", added);
  std::printf("thru p99 / peer p99                %.2f\n",
              Percentile(thruFigures.ms, 0.99) / std::max(1e-9, Percentile(peerFigures.ms, 0.99)));
  std::printf("shown on the UI thread             %d keys, %d monitor lines\n", ui.keys, ui.lines);
  const bool within = thruFigures.lost == 0 && Percentile(thruFigures.ms, 0.99) < 5.0;
  std::printf("thru p99 under 5 ms, nothing lost  %s\n", within ? "yes" : "NO");
  return within ? 0 : 1;
}
