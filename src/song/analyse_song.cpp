#include "song/analyse_song.h"

#include <string>

#include "song/listing_formatter.h"
#include "song/song_decoder.h"
#include "song/song_table_builder.h"
#include "text/number_text.h"

namespace sonvela {
namespace {

const std::string kSummaryRule(51, '*');

// Hands every decoded event to the table builder and, when there is one, the listing formatter, and
// keeps the count of what it could not decode for the message at the end.
class ReaderEvents final : public SongEvents {
 public:
  ReaderEvents(SongTableBuilder& tables, ListingFormatter* listing, Logs& logs)
      : tables_(tables), listing_(listing), logs_(logs) {}

  int64_t UnknownEventCount() const { return unknownEventCount_; }

  void Layout(const SongFileLayout& layout) override {
    tables_.Layout(layout);
    if (listing_) listing_->Layout(layout);
  }
  void TrackBegins(int32_t track, std::string_view chunk) override {
    tables_.TrackBegins(track, chunk);
    if (listing_) listing_->TrackBegins(track, chunk);
  }
  void Progress(const DecodeProgress& progress) override {
    tables_.Progress(progress);
    if (listing_) listing_->Progress(progress);
  }
  void Time(int32_t delta, int64_t tick) override {
    tables_.Time(delta, tick);
    if (listing_) listing_->Time(delta, tick);
  }
  void NoteOnStatus(int channel) override { tables_.NoteOnStatus(channel); }
  void Channel(const ChannelEvent& event) override {
    tables_.Channel(event);
    if (listing_) listing_->Channel(event);
  }
  void UnknownCommand(int byte) override {
    ++unknownEventCount_;
    if (listing_) listing_->UnknownCommand(byte);
    DebugLog(logs_, "Metaevento non riconosciuto!!!! &h" + HexByte(byte));
  }
  void SysEx(std::string_view data) override {
    if (listing_) listing_->SysEx(data);
  }
  void Text(int kind, std::string_view text) override {
    tables_.Text(kind, text);
    if (listing_) listing_->Text(kind, text);
  }
  void ChannelPrefix(int channel) override {
    if (listing_) listing_->ChannelPrefix(channel);
  }
  void MidiPort(int length, std::string_view data) override {
    if (listing_) listing_->MidiPort(length, data);
  }
  void Tempo(int64_t microseconds, int32_t bpm) override {
    tables_.Tempo(microseconds, bpm);
    if (listing_) listing_->Tempo(microseconds, bpm);
  }
  void SmpteOffset(int hours, int minutes, int seconds, int frames, int subframes) override {
    tables_.SmpteOffset(hours, minutes, seconds, frames, subframes);
    if (listing_) listing_->SmpteOffset(hours, minutes, seconds, frames, subframes);
  }
  void TimeSignature(int numerator, int32_t denominator, int clocks, int thirtySeconds) override {
    tables_.TimeSignature(numerator, denominator, clocks, thirtySeconds);
    if (listing_) listing_->TimeSignature(numerator, denominator, clocks, thirtySeconds);
  }
  void KeySignature(int sharpsOrFlats, std::optional<int> mode) override {
    if (listing_) listing_->KeySignature(sharpsOrFlats, mode);
  }
  void Proprietary(std::string_view data) override {
    if (listing_) listing_->Proprietary(data);
  }
  void UnknownMeta(int kind) override {
    ++unknownEventCount_;
    if (listing_) listing_->UnknownMeta(kind);
  }
  void EndOfTrack(int64_t tick) override {
    if (listing_) listing_->EndOfTrack(tick);
  }
  void TrackEnds(int32_t track) override { tables_.TrackEnds(track); }

 private:
  SongTableBuilder& tables_;
  ListingFormatter* listing_;
  Logs& logs_;
  int64_t unknownEventCount_ = 0;
};

void WriteSummary(const SongTables& t, Logs& logs) {
  const int64_t bpmDivision = static_cast<int64_t>(t.Division) * t.TempoBpm;
  // A song without tempo or division has no duration to guess: 0 rather than a division by zero.
  const double duration =
      bpmDivision == 0 ? 0.0
                       : static_cast<double>(t.LongestTrackTicks) * 60.0 / static_cast<double>(bpmDivision);
  DebugLog(logs, kSummaryRule);
  DebugLog(logs, "                Tipo:" + NumberText(t.MidiFormat));
  DebugLog(logs, "    Numero di tracce:" + NumberText(t.TrackCount));
  DebugLog(logs, "                 BPM:" + NumberText(t.TempoBpm));
  DebugLog(logs, "            Division:" + NumberText(t.Division));
  DebugLog(logs, kSummaryRule);
  DebugLog(logs, "        bpm*division:" + NumberText(bpmDivision));
  DebugLog(logs, kSummaryRule);
  DebugLog(logs, "     Tempo piu lungo:" + NumberText(t.LongestTrackTicks) + " nella traccia" +
                     NumberText(t.LongestTrack));
  DebugLog(logs, "        Forse durata:" + DecimalText(duration));
  DebugLog(logs, "        Canali usati: [" + t.UsedChannels + "]");
}

}  // namespace

void AnalyseSong(const SongReaderContext& context) {
  SongTables& t = context.tables;
  if (t.SongFileData.empty()) {
    context.messages.ShowMessage("No midi file loaded!");
    return;
  }
  MessageLog(context.logs, "RESET");
  DebugLog(context.logs, context.fileName);
  // The file is consumed here; the tables keep only what lies between the header and the first track.
  const std::string file = std::move(t.SongFileData);
  SongTableBuilder tables(t, context.parts.trackEvents);
  ListingFormatter listing(context.listing, context.fileName, context.now);
  ReaderEvents events(tables, context.parts.listing ? &listing : nullptr, context.logs);
  DecodeSong(file, events);
  tables.Finish();
  if (events.UnknownEventCount() > 0)
    context.messages.ShowMessage("Meta non riconosciuti:" + NumberText(events.UnknownEventCount()));
  WriteSummary(t, context.logs);
}

}  // namespace sonvela
