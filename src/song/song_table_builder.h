#pragma once
// Builds the song tables from the decoded events: the song's numbers, its texts and, per track, the
// events that playback uses.

#include <cstdint>
#include <string_view>
#include <vector>

#include "song/song_events.h"
#include "song/song_tables.h"

namespace sonvela {

class SongTableBuilder final : public SongEvents {
 public:
  // Without `trackEvents` the track event lists stay empty: the song's numbers, texts and track clocks
  // are built all the same.
  SongTableBuilder(SongTables& tables, bool trackEvents) : tables_(tables), trackEvents_(trackEvents) {}

  void Layout(const SongFileLayout& layout) override;
  void TrackBegins(int32_t track, std::string_view chunk) override;
  void Progress(const DecodeProgress& progress) override;
  // The three of every event, inline: the reader calls them through this class, not the interface.
  void Time(int32_t, int64_t tick) override { tick_ = tick; }
  void NoteOnStatus(int channel) override { tables_.UsedChannels[static_cast<size_t>(channel)] = '*'; }
  void Channel(const ChannelEvent& event) override {
    // Playback knows a note-on of velocity 0 as the note-off it is.
    if ((event.status & 0xF0) == 0x90 && event.data2 == 0) {
      Store(event.status - 0x10, event.data1, 0);
    } else {
      Store(event.status, event.data1, event.data2);
    }
  }
  void Text(int kind, std::string_view text) override;
  void Tempo(int64_t microseconds, int32_t bpm) override;
  void SmpteOffset(int hours, int minutes, int seconds, int frames, int subframes) override;
  void TimeSignature(int numerator, int32_t denominator, int clocks, int thirtySeconds) override;
  void TrackEnds(int32_t track) override;

  // The longest track, once the tracks are decoded.
  void Finish();

 private:
  void Store(int32_t command, int32_t data1, int32_t data2) {
    if (trackEvents_) events_->push_back({command, data1, data2, tick_});
  }

  SongTables& tables_;
  bool trackEvents_;
  int32_t track_ = 0;
  int64_t tick_ = 0;
  std::vector<TrackEvent>* events_ = nullptr;  // the current track's
  size_t walkEvents_ = 0;                      // the events of the tracks before it
};

}  // namespace sonvela
