#pragma once
// A transport wired to fakes: timers the test ticks by hand, a clock it sets, a screen that records what it
// was asked to show, and small songs built in place of a file.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "player/control_ids.h"
#include "player/recording_midi_out.h"
#include "player/transport.h"

namespace sonvela {

class ManualTimers : public TickTimers {
 public:
  uint32_t Start(int slot, int) override { return running[static_cast<size_t>(slot)] = ++lastId; }
  void Kill(int slot) override { running[static_cast<size_t>(slot)] = 0; }
  bool Running(int slot) const { return running[static_cast<size_t>(slot)] != 0; }
  // Ticks of a killed timer are dropped, as on the platform.
  void Tick(TickSink& sink, int slot) {
    if (Running(slot)) sink.OnTimerTick(slot);
  }
  std::array<uint32_t, 4> running{};
  uint32_t lastId = 0;
};

// The time of day (ms, which a test may set anywhere, as a change of the system time would) and a
// monotonic clock (steadyMs); Advance moves both on, the time of day wrapping at midnight.
class SettableClock : public WallClock {
 public:
  double MillisecondsSinceMidnight() override { return ms; }
  double MonotonicMs() override { return steadyMs; }
  LocalDateTime Now() override {
    const auto seconds = static_cast<int>(ms / 1000);
    return {2024, 5, 6, seconds / 3600, seconds / 60 % 60, seconds % 60};
  }
  void Advance(double by) {
    steadyMs += by;
    ms = std::fmod(ms + by, kMsPerDay);
  }
  static constexpr double kMsPerDay = 86400 * 1000.0;
  double ms = 10 * 3600 * 1000.0;  // ten in the morning
  double steadyMs = 5000;          // since the machine started
};

class RecordingScreen : public Screen {
 public:
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  void SetText(int id, std::string_view text) override { texts[id] = std::string(text); }
  void SetBackground(int id, Colour colour) override { backgrounds[id] = colour; }
  void SetTextColour(int id, Colour colour) override { textColours[id] = colour; }
  void SetChecked(int id, bool checked) override { this->checked[id] = checked; }
  bool IsChecked(int id) override {
    const auto found = checked.find(id);
    // The big keyboard's channel filters start ticked.
    return found != checked.end() ? found->second : id >= kChannelFilterBase && id < kChannelFilterBase + 16;
  }
  void DrawLevelBar(int id, int level) override { levels[id].push_back(level); }
  void ShowProgramOnChannel(int, int program, Colour colour) override {
    programs.push_back({program, colour});
  }
  void ShowChannelUsage(std::string_view used) override { channelUsage.emplace_back(used); }
  void PaintChannelKeyboard(int id, int key, int64_t colour) override { keys.push_back({id, key, colour}); }
  void PaintBigKeyboard(int key, int64_t colour) override { keys.push_back({kBigKeyboard, key, colour}); }
  void ShowLyric(std::string_view text) override { lyrics.emplace_back(text); }
  void DrawLoopBar(float start, float end, double played) override {
    loopBars.push_back({start, end, played});
  }
  void PlayNextInList() override {
    ++nextSongRequests;
    if (onPlayNext) onPlayNext();
  }
  void EndMainWindow() override { mainWindowEnded = true; }

  struct KeyPaint {
    int id, key;
    int64_t colour;
  };
  struct LoopBar {
    float start, end;
    double played;
  };
  std::vector<std::string> messages, channelUsage, lyrics;
  std::map<int, std::string> texts;
  std::map<int, Colour> backgrounds, textColours;
  std::map<int, bool> checked;
  std::map<int, std::vector<int>> levels;
  std::vector<std::pair<int, Colour>> programs;  // program, text colour
  std::vector<KeyPaint> keys;
  std::vector<LoopBar> loopBars;
  int nextSongRequests = 0;
  std::function<void()> onPlayNext;
  bool mainWindowEnded = false;
};

constexpr uint32_t Word(int status, int data1, int data2) {
  return static_cast<uint32_t>(status + 256 * data1 + 65536 * data2);
}

// A song of no tracks yet, named so that Play accepts it.
inline void NewSong(SongTables& song, int32_t division = 96, int32_t tempo = 120) {
  ClearSongTables(song);
  song.SongFileName = "song.mid";
  song.Division = division;
  song.TempoBpm = tempo;
  song.TrackEvents.assign(1, std::vector<TrackEvent>(1));
  song.TrackTicks.assign(1, 0);
}

// Adds a track as the reader would leave it; its end defaults to its last event.
inline void AddTrack(SongTables& song, const std::vector<TrackEvent>& events, int64_t endTick = -1) {
  std::vector<TrackEvent> stored(1);
  stored.insert(stored.end(), events.begin(), events.end());
  const int64_t end = endTick >= 0 ? endTick : (events.empty() ? 0 : events.back().tick);
  for (const TrackEvent& event : events) {
    if (event.command >= 0x90 && event.command <= 0x9F)
      song.UsedChannels[static_cast<size_t>(event.command - 0x90)] = '*';
  }
  song.TrackEvents.push_back(stored);
  song.TrackTicks.push_back(end);
  ++song.TrackCount;
  song.LongestTrackTicks = std::max(song.LongestTrackTicks, end);
}

// All Notes Off on the 16 channels, as often as asked.
inline std::vector<uint32_t> AllNotesOffWords(int times = 1) {
  std::vector<uint32_t> words;
  for (int i = 0; i < 16 * times; ++i) words.push_back(Word(0xB0 + i % 16, 123, 0));
  return words;
}

inline std::vector<uint32_t> Join(std::initializer_list<std::vector<uint32_t>> parts) {
  std::vector<uint32_t> words;
  for (const auto& part : parts) words.insert(words.end(), part.begin(), part.end());
  return words;
}

class PlayerBench : public ::testing::Test {
 protected:
  SongDocument document;
  SongTables& song = document.Tables;
  Logs logs;
  SettableClock clock;
  RecordingMidiOut midi{&clock};
  ManualTimers timers;
  RecordingScreen screen;
  Transport transport{document, logs, {midi, timers, clock, screen}};
  size_t seen = 0;

  // The words sent since the last call.
  std::vector<uint32_t> Sent() {
    std::vector<uint32_t> words;
    for (; seen < midi.Sent.size(); ++seen) words.push_back(midi.Sent[seen].word);
    return words;
  }
  // Presses Play; returns what it sent.
  std::vector<uint32_t> Start() {
    transport.StartPlayback();
    return Sent();
  }
  // Plays a one-track song; at the defaults one song tick passes per clock tick.
  std::vector<uint32_t> Play(const std::vector<TrackEvent>& events, int64_t endTick = 1000,
                             int32_t division = 100, int32_t tempo = 60) {
    NewSong(song, division, tempo);
    AddTrack(song, events, endTick);
    return Start();
  }
  // Sequencer ticks, 10 ms of wall time each; every tenth also a progress tick, as the timers would.
  // Returns the words sent since the last look.
  std::vector<uint32_t> Tick(int count = 1) {
    for (int i = 0; i < count; ++i) {
      clock.Advance(10);
      timers.Tick(transport, kSequencerSlot);
      if (std::lrint(clock.steadyMs) % 100 == 0) timers.Tick(transport, kProgressSlot);
    }
    return Sent();
  }
  bool Playing() const { return timers.Running(kSequencerSlot) && timers.Running(kProgressSlot); }
};

}  // namespace sonvela
