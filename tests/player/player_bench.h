#pragma once
// A transport wired to fakes, with small songs built in place of a file.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "player/fake_ports.h"
#include "player/recording_midi_out.h"
#include "player/transport.h"

namespace sonvela {

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
  song.EventDueTime.assign(1, {});
  song.TrackCursor.assign(1, 0);
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
  song.EventDueTime.emplace_back(stored.size(), 0);
  song.TrackCursor.push_back(0);
  ++song.TrackCount;
  song.LongestTrackTicks = std::max(song.LongestTrackTicks, end);
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

  // Sequencer ticks, 10 ms of wall time each; every tenth also a progress tick, as the timers would.
  void Tick(int count = 1) {
    for (int i = 0; i < count; ++i) {
      clock.ms += 10;
      timers.Tick(transport, kSequencerSlot);
      if (std::lrint(clock.ms) % 100 == 0) timers.Tick(transport, kProgressSlot);
    }
  }
  // The words sent since a mark (a size of midi.Sent taken earlier).
  std::vector<uint32_t> SentSince(size_t mark) const {
    std::vector<uint32_t> words;
    for (size_t i = mark; i < midi.Sent.size(); ++i) words.push_back(midi.Sent[i].word);
    return words;
  }
  // All Notes Off on the 16 channels, as often as asked.
  static std::vector<uint32_t> AllNotesOffWords(int times = 1) {
    std::vector<uint32_t> words;
    for (int time = 0; time < times; ++time) {
      for (int channel = 0; channel < 16; ++channel) words.push_back(Word(0xB0 + channel, 123, 0));
    }
    return words;
  }
  bool Playing() const { return timers.Running(kSequencerSlot) && timers.Running(kProgressSlot); }
};

}  // namespace sonvela
