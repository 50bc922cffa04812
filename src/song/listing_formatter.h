#pragma once
// Writes the analysis listing from the decoded events: the file's opening lines and chunk lengths,
// then a line for every byte structure of every track.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "song/analysis_listing.h"
#include "song/song_events.h"
#include "text/format_mask.h"
#include "text/local_date_time.h"

namespace sonvela {

class ListingFormatter final : public SongEvents {
 public:
  ListingFormatter(AnalysisListing& listing, std::string_view fileName, const LocalDateTime& now)
      : listing_(listing), fileName_(fileName), now_(now) {}

  void Layout(const SongFileLayout& layout) override;
  void TrackBegins(int32_t track, std::string_view chunk) override;
  void Progress(const DecodeProgress& progress) override;
  // " Time:######d " with the delta, then "######## " with the track clock, in one pass.
  void Time(int32_t delta, int64_t tick) override {
    timeMask_.AppendTo(listing_.ListingPending, {delta, tick});
  }
  void Channel(const ChannelEvent& event) override;
  void UnknownCommand(int byte) override;
  void SysEx(std::string_view data) override;
  void Text(int kind, std::string_view text) override;
  void ChannelPrefix(int channel) override;
  void MidiPort(int length, std::string_view data) override;
  void Tempo(int64_t microseconds, int32_t bpm) override;
  void SmpteOffset(int hours, int minutes, int seconds, int frames, int subframes) override;
  void TimeSignature(int numerator, int32_t denominator, int clocks, int thirtySeconds) override;
  void KeySignature(int sharpsOrFlats, std::optional<int> mode) override;
  void Proprietary(std::string_view data) override;
  void UnknownMeta(int kind) override;
  void EndOfTrack(int64_t tick) override;

 private:
  // A piece that waits for more (pending), or that ends the line.
  void Pend(std::string_view text) { ListingWrite(listing_, text, true, prefix_); }
  void Line(std::string_view text) { ListingWrite(listing_, text, false, prefix_); }
  void EndLine() { ListingWrite(listing_, {}, false, prefix_); }
  void PendHexDump(std::string_view bytes);
  void WriteOpening(const SongFileLayout& layout);
  // The line of an event that the song tables keep: it shows the event's index there.
  void StoredLine(std::string_view text);
  void EndStoredLine();
  void ListNote(std::string_view title, int statusShown, int key, bool withKeyCharacter, int velocity,
                bool withVelocity);
  void ListDataBytes(std::string_view title, int statusShown, int kindHigh, int data1, int data2);

  AnalysisListing& listing_;
  std::string_view fileName_;
  LocalDateTime now_;
  ListingPrefix prefix_;  // storeEvent stays false between the lines of stored events
  std::string piece_;
  const Mask timeMask_{" Time:######d ######## "};
  // What Progress judges the room ahead from: where the lines of the tracks began.
  size_t walkTextStart_ = 0;
  size_t walkLinesStart_ = 0;
};

}  // namespace sonvela
