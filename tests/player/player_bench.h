#pragma once
// A transport wired to the fake ports, and small songs built in place of a file.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "player/recording_midi_out.h"
#include "player/transport.h"
#include "support/fake_ports.h"

namespace sonvela {

constexpr uint32_t Word(int status, int data1, int data2) {
  return static_cast<uint32_t>(status + 256 * data1 + 65536 * data2);
}

// A song of no tracks yet, named so that Play accepts it.
inline void NewSong(SongDocument& document, int32_t division = 96, int32_t tempo = 120) {
  document.FileName = "song.mid";
  SongTables& song = document.Tables;
  ClearSongTables(song);
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
    NewSong(document, division, tempo);
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
