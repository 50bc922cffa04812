// Seek and loop-restart benchmark: a song of a million notes (16 tracks of eighth notes, two hours long)
// played on a transport with silent ports, ticked by hand. Prints the cost of one sequencer tick
//   - while the song simply plays (the peer: what a tick costs anyway),
//   - with a narrow loop, 1 % to 1.0001 %, which is shorter than a tick and so restarts on every tick,
//   - after a left and a right click at the same point (start = end), which also restarts on every tick,
// and the cost of one click on the song map (ContinueFromPercent) at points spread over the song.
//
// Use: seek_bench [NOTES]

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "player/midi_out.h"
#include "player/screen.h"
#include "player/tick_timers.h"
#include "player/transport.h"
#include "player/wall_clock.h"
#include "song/song_document.h"
#include "text/logs.h"

namespace {

using namespace sonvela;

constexpr int kTracks = 16;
constexpr int kDivision = 480;
constexpr int kTempo = 120;
constexpr int64_t kNoteSpacing = kDivision / 2;
constexpr int64_t kNoteLength = kDivision / 4;

class SilentMidiOut : public MidiOut {
 public:
  int DeviceCount() override { return 1; }
  std::string DeviceName(int) override { return "silent"; }
  int Open(int) override { return kMidiOutOk; }
  int Close() override { return kMidiOutOk; }
  int OpenDeviceId() override { return 0; }
  std::string ErrorText(int) override { return {}; }
  void Send(uint32_t) override { ++sent; }
  uint64_t sent = 0;
};

class IdleTimers : public TickTimers {
 public:
  uint32_t Start(int, int) override { return ++lastId; }
  void Kill(int) override {}
  uint32_t lastId = 0;
};

class SteppedClock : public WallClock {
 public:
  double MillisecondsSinceMidnight() override { return ms; }
  double MonotonicMs() override { return ms; }
  LocalDateTime Now() override { return {2024, 5, 6, 10, 0, 0}; }
  double ms = 36'000'000;
};

class BlankScreen : public Screen {
 public:
  void ShowMessage(std::string_view text) override {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
  }
  void SetText(int, std::string_view) override {}
  void SetBackground(int, Colour) override {}
  void SetTextColour(int, Colour) override {}
  void SetChecked(int, bool) override {}
  void DrawLevelBar(int, int) override {}
  void ShowProgramOnChannel(int, int, Colour) override {}
  void ShowChannelUsage(std::string_view) override {}
  void PaintChannelKeyboard(int, int, int64_t) override {}
  void PaintBigKeyboard(int, int64_t) override {}
  void ShowLyric(std::string_view) override {}
  void DrawLoopBar(float, float, double) override { ++loopBarDraws; }
  uint64_t loopBarDraws = 0;
};

// Notes spread evenly over the tracks, each track on its own channel.
void BuildSong(SongTables& song, int64_t notes) {
  ClearSongTables(song);
  song.Division = kDivision;
  song.TempoBpm = kTempo;
  song.TrackCount = kTracks;
  song.TrackEvents.assign(kTracks + 1, std::vector<TrackEvent>(1));
  song.TrackTicks.assign(kTracks + 1, 0);
  const int64_t perTrack = notes / kTracks;
  for (int track = 1; track <= kTracks; ++track) {
    auto& events = song.TrackEvents[static_cast<size_t>(track)];
    events.reserve(static_cast<size_t>(2 * perTrack + 1));
    const int channel = track - 1;
    for (int64_t note = 0; note < perTrack; ++note) {
      const int key = 36 + static_cast<int>((note * 5 + track) % 60);
      const int64_t start = note * kNoteSpacing;
      events.push_back({0x90 + channel, key, 90, start});
      events.push_back({0x80 + channel, key, 0, start + kNoteLength});
    }
    song.TrackTicks[static_cast<size_t>(track)] = events.back().tick;
    song.UsedChannels[static_cast<size_t>(channel)] = '*';
  }
  song.LongestTrackTicks = song.TrackTicks[1];
}

struct Rig {
  SongDocument document;
  Logs logs;
  SilentMidiOut midi;
  IdleTimers timers;
  SteppedClock clock;
  BlankScreen screen;
  Transport transport{document, logs, {midi, timers, clock, screen}};
  int64_t ticks = 0;

  // One sequencer tick, and a progress tick every tenth, as the timers deliver them.
  void Tick() {
    clock.ms += kSequencerPeriodMs;
    transport.OnTimerTick(kSequencerSlot);
    if (++ticks % 10 == 0) {
      transport.OnTimerTick(kProgressSlot);
      logs.Debug.Clear();
      logs.Messages.Clear();
    }
  }
};

// Runs `step` until at least `seconds` have passed; returns microseconds per step.
double MicrosecondsPer(const std::function<void()>& step, double seconds = 0.5, int least = 20) {
  const auto start = std::chrono::steady_clock::now();
  int64_t count = 0;
  double elapsed = 0;
  do {
    for (int i = 0; i < least; ++i) step();
    count += least;
    elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  } while (elapsed < seconds);
  return elapsed * 1e6 / static_cast<double>(count);
}

}  // namespace

int main(int argc, char* argv[]) {
  const int64_t notes = argc > 1 ? std::atoll(argv[1]) : 1'000'000;
  Rig rig;
  rig.document.FileName = "million.mid";
  BuildSong(rig.document.Tables, notes);
  std::printf("song: %lld notes, %lld events on %d tracks, %.0f s long\n", static_cast<long long>(notes),
              static_cast<long long>(2 * (notes / kTracks) * kTracks), kTracks,
              static_cast<double>(rig.document.Tables.LongestTrackTicks) * 60 / kTempo / kDivision);

  const auto playStart = std::chrono::steady_clock::now();
  rig.transport.StartPlayback();
  const double playMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - playStart).count();
  std::printf("Play                                  %10.3f ms\n", playMs);

  rig.transport.ContinueFromPercent(1);
  const double plain = MicrosecondsPer([&] { rig.Tick(); });
  std::printf("tick while playing (peer)             %10.3f us\n", plain);

  rig.transport.SetLoopStart(1);
  rig.transport.SetLoopEnd(1.0001f);
  rig.transport.ContinueFromPercent(1);
  const double narrow = MicrosecondsPer([&] { rig.Tick(); });
  std::printf("tick, loop 1 %% to 1.0001 %%            %10.3f us  (%.1f x the peer)\n", narrow,
              narrow / plain);

  rig.transport.CancelLoop();
  rig.transport.SetLoopStart(1);
  rig.transport.SetLoopEnd(1);
  rig.transport.ContinueFromPercent(1);
  const double sameSpot = MicrosecondsPer([&] { rig.Tick(); });
  std::printf("tick, loop start = end at 1 %%         %10.3f us  (%.1f x the peer)\n", sameSpot,
              sameSpot / plain);
  rig.transport.CancelLoop();

  int point = 0;
  const double seek = MicrosecondsPer([&] {
    point = (point + 37) % 1000;
    rig.transport.ContinueFromPercent(static_cast<float>(point) / 10);
  });
  std::printf("click on the song map                 %10.3f us\n", seek);
  std::printf("(%llu words sent, %llu loop bar draws)\n", static_cast<unsigned long long>(rig.midi.sent),
              static_cast<unsigned long long>(rig.screen.loopBarDraws));
  return 0;
}
