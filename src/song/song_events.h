#pragma once
// What the song decoder finds in the bytes of a file, handed on as it goes to whoever builds something
// from it (the song tables, the analysis listing). Values as the file holds them: no table indexes, no
// text of ours. Each handler does nothing unless a consumer wants that kind.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace sonvela {

// The file as a whole: its header and the chunks that its "MTrk" tags delimit.
struct SongFileLayout {
  std::string_view file;
  std::string_view header;  // the first 14 bytes, or fewer in a shorter file
  uint8_t format = 0;
  uint64_t headerTracks = 0;
  int32_t division = 0;
  size_t mthdCount = 0;  // "MThd" and "MTrk" anywhere in the file
  size_t mtrkCount = 0;
  std::string_view beforeTracks;         // between the header and the first "MTrk"
  std::vector<std::string_view> chunks;  // from 1: a track's bytes from its "MTrk" up to the next one
  int32_t TrackCount() const { return static_cast<int32_t>(chunks.size()) - 1; }
};

// How far the walk over the track data has come, for consumers that size their buffers ahead.
struct DecodeProgress {
  size_t decoded = 0;    // bytes of track data decoded so far, never 0
  size_t total = 0;      // bytes of track data in the file
  size_t trackLeft = 0;  // bytes still to come in the current track

  // What `bytesLeft` more bytes give at the rate at which `soFar` came from the bytes decoded.
  size_t Ahead(size_t soFar, size_t bytesLeft) const {
    return static_cast<size_t>(static_cast<double>(soFar) * static_cast<double>(bytesLeft) /
                               static_cast<double>(decoded));
  }
};

// A channel message. A note-on of velocity 0 comes as it is (status 0x9n, data2 0).
struct ChannelEvent {
  int status = 0;
  int data1 = 0;
  int data2 = 0;  // 0 for program change and channel pressure
  bool runningStatus = false;
};

class SongEvents {
 public:
  virtual ~SongEvents() = default;

  virtual void Layout(const SongFileLayout&) {}
  virtual void TrackBegins(int32_t /*track*/, std::string_view /*chunk*/) {}
  virtual void Progress(const DecodeProgress&) {}
  // An event's delta and the track's clock after it; the event may still be cut off by the chunk end.
  virtual void Time(int32_t /*delta*/, int64_t /*tick*/) {}
  // A note-on status byte was read, whether or not its data bytes follow.
  virtual void NoteOnStatus(int /*channel*/) {}
  virtual void Channel(const ChannelEvent&) {}
  // A data byte where a status was due, with no running status to use.
  virtual void UnknownCommand(int /*byte*/) {}
  virtual void SysEx(std::string_view /*data*/) {}
  // Meta kinds 1..6.
  virtual void Text(int /*kind*/, std::string_view /*text*/) {}
  virtual void ChannelPrefix(int /*channel*/) {}
  virtual void MidiPort(int /*length*/, std::string_view /*data*/) {}
  // bpm is 0 for a tempo of 0 microseconds.
  virtual void Tempo(int64_t /*microseconds*/, int32_t /*bpm*/) {}
  virtual void SmpteOffset(int /*hours*/, int /*minutes*/, int /*seconds*/, int /*frames*/,
                           int /*subframes*/) {}
  // The denominator is 2 to the file's power, or 0 when that does not fit.
  virtual void TimeSignature(int /*numerator*/, int32_t /*denominator*/, int /*clocks*/,
                             int /*thirtySeconds*/) {}
  // The mode is missing when the chunk ends before it.
  virtual void KeySignature(int /*sharpsOrFlats*/, std::optional<int> /*mode*/) {}
  virtual void Proprietary(std::string_view /*data*/) {}
  virtual void UnknownMeta(int /*kind*/) {}
  virtual void EndOfTrack(int64_t /*tick*/) {}
  // After its last event: End of Track, the end of the chunk, or an event cut off by it.
  virtual void TrackEnds(int32_t /*track*/) {}
};

}  // namespace sonvela
