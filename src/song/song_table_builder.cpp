#include "song/song_table_builder.h"

#include <new>
#include <string>

#include "text/format_mask.h"

namespace sonvela {

void SongTableBuilder::Layout(const SongFileLayout& layout) {
  SongTables& t = tables_;
  t.UsedChannels = kNoChannelsUsed;
  t.MidiFormat = layout.format;
  t.Division = layout.division;
  t.TextEvents.assign(1, std::string());
  t.TaggedTexts.assign(1, std::string());
  t.TextCount = 0;
  t.TrackCount = layout.TrackCount();
  // What lies between the header and the first track; the rest is in the tables.
  t.SongFileData = std::string(layout.beforeTracks);
  const auto trackSlots = static_cast<size_t>(t.TrackCount) + 1;
  t.TrackEvents.assign(trackSlots, std::vector<TrackEvent>(1));
  t.TrackTicks.assign(trackSlots, 0);
  if (t.TempoBpm == 0) t.TempoBpm = 120;
}

void SongTableBuilder::TrackBegins(int32_t track, std::string_view) {
  track_ = track;
  tick_ = 0;
  events_ = &tables_.TrackEvents[static_cast<size_t>(track)];
}

void SongTableBuilder::Progress(const DecodeProgress& progress) {
  if (!trackEvents_) return;
  // A file's density varies, so room is taken only when the estimate does not fit, and then with an
  // eighth to spare.
  std::vector<TrackEvent>& events = *events_;
  try {
    const size_t more = progress.Ahead(walkEvents_ + events.size() - 1, progress.trackLeft);
    if (more > events.capacity() - events.size()) events.reserve(events.size() + more + more / 8);
  } catch (const std::bad_alloc&) {
    // Only a guess that did not fit: growing as the events come needs no more than they take.
  }
}

void SongTableBuilder::Text(int kind, std::string_view text) {
  SongTables& t = tables_;
  Store(kind, t.TextCount + 1, 0);
  ++t.TextCount;
  if (kind == kMetaText) {
    t.TextEvents.emplace_back(text);
    t.TaggedTexts.emplace_back();
    return;
  }
  std::string tagged;
  switch (kind) {
    case kMetaCopyright:
      tagged = "copy:";
      break;
    case kMetaTrackName:
      tagged = FormatMask("Sq/Na ##:", {track_});
      break;
    case kMetaInstrumentName:
      tagged = "Inst:";
      break;
    case kMetaLyric:
      tagged = kLyricTag;
      break;
    default:
      tagged = "Mark:";
      break;
  }
  t.TextEvents.emplace_back();
  t.TaggedTexts.push_back(tagged.append(text));
}

void SongTableBuilder::Tempo(int64_t microseconds, int32_t bpm) {
  // A tempo of 0 microseconds has no BPM: the song's tempo stays as it was.
  if (microseconds != 0) tables_.TempoBpm = bpm;
  Store(kMetaTempo, bpm, 0);
}

void SongTableBuilder::SmpteOffset(int hours, int minutes, int seconds, int frames, int subframes) {
  SongTables& t = tables_;
  t.SmpteHours = hours;
  t.SmpteMinutes = minutes;
  t.SmpteSeconds = seconds;
  t.SmpteFrames = frames;
  t.SmpteSubframes = subframes;
}

void SongTableBuilder::TimeSignature(int numerator, int32_t denominator, int clocks, int thirtySeconds) {
  SongTables& t = tables_;
  t.TimeSigNumerator = numerator;
  t.TimeSigDenominator = denominator;
  t.TimeSigClocks = clocks;
  t.TimeSig32nds = thirtySeconds;
  Store(kMetaTimeSignature, numerator, denominator);
}

void SongTableBuilder::TrackEnds(int32_t) {
  // The clock counts the delta of an event that the chunk end cut off, too.
  tables_.TrackTicks[static_cast<size_t>(track_)] = tick_;
  std::vector<TrackEvent>& events = *events_;
  walkEvents_ += events.size() - 1;
  // Millions of events: keep the table tight (the room taken ahead is only a guess).
  if (events.capacity() > events.size() + events.size() / 2 + 16) events.shrink_to_fit();
}

void SongTableBuilder::Finish() {
  SongTables& t = tables_;
  t.LongestTrackTicks = 0;
  t.LongestTrack = 0;
  for (int32_t track = 1; track <= t.TrackCount; ++track) {
    if (t.TrackTicks[static_cast<size_t>(track)] > t.LongestTrackTicks) {
      t.LongestTrackTicks = t.TrackTicks[static_cast<size_t>(track)];
      t.LongestTrack = track;
    }
  }
}

}  // namespace sonvela
