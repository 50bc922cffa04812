#pragma once
// The one in-memory model of the loaded song, rebuilt from scratch by every load.
// Per-track tables are indexed 1..TrackCount and per-track event lists 1..TrackEventCount(t);
// slot 0 of each exists and holds nothing, so the indexes of the listings are the indexes here.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sonvela {

// A stored event. command: a channel status byte 0x80..0xEF, or a meta kind below 0x80
// (1..6 texts, 0x51 tempo with data1 in BPM, 0x58 time signature).
struct TrackEvent {
  int32_t command = 0;
  int32_t data1 = 0;
  int32_t data2 = 0;
  int64_t tick = 0;  // absolute, from the start of the track
};

constexpr int32_t kMetaText = 1;
constexpr int32_t kMetaCopyright = 2;
constexpr int32_t kMetaTrackName = 3;
constexpr int32_t kMetaInstrumentName = 4;
constexpr int32_t kMetaLyric = 5;
constexpr int32_t kMetaMarker = 6;
// What a Lyric event's tagged text starts with (the message log shows it so).
inline constexpr std::string_view kLyricTag = "Lyric:";
constexpr int32_t kMetaTempo = 0x51;
constexpr int32_t kMetaTimeSignature = 0x58;

inline const std::string kNoChannelsUsed(16, ' ');

struct SongTables {
  // Moves on with every ClearSongTables, which starts each load: playback keeps what it derived from the
  // events (their due times) while it stays the same.
  uint64_t LoadGeneration = 0;
  std::string SongFileData;

  uint8_t MidiFormat = 0;
  int32_t TrackCount = 0;
  int32_t Division = 0;
  int32_t TempoBpm = 0;
  int64_t LongestTrackTicks = 0;
  int64_t LongestTrack = 0;
  std::string UsedChannels = kNoChannelsUsed;  // "*" at n-1 when channel n has a note-on status byte
  int32_t TextCount = 0;
  int64_t GrandTotalTicks = 0;

  int32_t TimeSigNumerator = 0;
  int32_t TimeSigDenominator = 0;
  int32_t TimeSigClocks = 0;
  int32_t TimeSig32nds = 0;
  int32_t SmpteHours = 0;
  int32_t SmpteMinutes = 0;
  int32_t SmpteSeconds = 0;
  int32_t SmpteFrames = 0;
  int32_t SmpteSubframes = 0;

  // [track][event], both from 1.
  std::vector<std::vector<TrackEvent>> TrackEvents;
  std::vector<int64_t> TrackTicks;

  // Index 1..TextCount; each text takes its index in exactly one of the two.
  std::vector<std::string> TextEvents;
  std::vector<std::string> TaggedTexts;

  int32_t TrackEventCount(int32_t track) const {
    return static_cast<int32_t>(TrackEvents[static_cast<size_t>(track)].size()) - 1;
  }
  const TrackEvent& Event(int32_t track, int32_t index) const {
    return TrackEvents[static_cast<size_t>(track)][static_cast<size_t>(index)];
  }
  // Bytes held by the event tables, for the benchmark's memory figure.
  size_t EventTableBytes() const;
};

// Clears what a load rebuilds: the song scalars, the track tables, the file data, and moves the load
// generation on.
void ClearSongTables(SongTables& tables);

}  // namespace sonvela
