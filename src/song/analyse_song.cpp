#include "song/analyse_song.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "song/midi_bytes.h"
#include "song/vector_state.h"
#include "text/format_mask.h"
#include "text/number_text.h"

namespace sonvela {
namespace {

const std::string kRule(79, '-');
const std::string kAsteriskRule(79, '*');
const std::string kSummaryRule(51, '*');

// Thrown when an event needs a byte past the end of its chunk: the track ends there.
struct ChunkCutOff {};

// " do   C :3" for key 60; returns the end of what it wrote.
char* WriteNoteName(char* p, int key) {
  static constexpr const char* kItalian[12] = {"do  ", "do# ", "re  ", "re# ", "mi  ", "fa  ",
                                               "fa# ", "sol ", "sol#", "la  ", "la# ", "si  "};
  static constexpr const char* kEnglish[12] = {"C ", "C#", "D ", "D#", "E ", "F ",
                                               "F#", "G ", "G#", "A ", "A#", "B "};
  *p++ = ' ';
  std::memcpy(p, kItalian[key % 12], 4);
  p += 4;
  *p++ = ' ';
  std::memcpy(p, kEnglish[key % 12], 2);
  p += 2;
  *p++ = ':';
  return std::to_chars(p, p + 8, key / 12 - 2).ptr;
}

std::string_view KeySignatureName(int sharpsOrFlats) {
  switch (sharpsOrFlats) {
    case -7:
      return "7 flat";
    case -1:
      return "1 flat";
    case 0:
      return "chiave di do";
    case 1:
      return "1 sharp";
    case 7:
      return "7 sharps";
    default:
      return "";
  }
}

std::string_view ModeName(int mode) {
  switch (mode) {
    case 0:
      return "scala maggiore";
    case 1:
      return "scala minore";
    default:
      return "";
  }
}

size_t CountOccurrences(std::string_view data, std::string_view pattern) {
  size_t count = 0;
  for (size_t at = data.find(pattern); at != std::string_view::npos;
       at = data.find(pattern, at + pattern.size())) {
    ++count;
  }
  return count;
}

class SongReader {
 public:
  explicit SongReader(const SongReaderContext& context)
      : tables_(context.tables), listing_(context.listing), logs_(context.logs), context_(context) {}

  void Run();

 private:
  // Listing output: a piece that waits for more (pending) or that ends the line.
  void Pend(std::string_view text) { ListingWrite(listing_, text, true, prefix_); }
  void Line(std::string_view text) { ListingWrite(listing_, text, false, prefix_); }
  std::string& Pending() { return listing_.ListingPending; }
  void EndLine() { ListingWrite(listing_, {}, false, prefix_); }
  std::string& Piece() {
    piece_.clear();
    return piece_;
  }
  void PendHexDump(std::string_view bytes);

  void WriteOpening(std::string_view header, size_t mthdCount, size_t mtrkCount, uint64_t headerTracks);
  void WriteSummary();
  void DecodeTrack(int32_t track, std::string_view chunk);
  // Decodes one event after its delta; false when it was an End of Track that ends the track.
  bool DecodeEvent(int status);
  void DecodeMeta();
  void DecodeChannelMessage(int status);
  void DecodeRunningStatus(int firstData);
  void DecodeTextMeta(int kind);
  void ListNote(std::string_view title, int statusShown, int key, bool withKeyCharacter, int velocity,
                bool withVelocity);
  void ListDataBytes(std::string_view title, int statusShown, int kindHigh, int data1, int data2);

  // The byte at the read position after moving on by `count`.
  int MoveOn(size_t count = 1) {
    if (count >= chunk_.size() - position_) throw ChunkCutOff{};
    position_ += count;
    return static_cast<uint8_t>(chunk_[position_]);
  }
  int PeekAhead(size_t count) const {
    if (count >= chunk_.size() - position_) throw ChunkCutOff{};
    return static_cast<uint8_t>(chunk_[position_ + count]);
  }
  // Room for the listing and the events still to come, judged from what the bytes decoded so far gave.
  void ReserveAhead(std::vector<TrackEvent>& events);
  // A length VLQ after moving on one byte; then the `length` bytes that follow it, moved over.
  std::string_view LengthAndData();
  void Store(int command, int data1, int data2) {
    prefix_.storeEvent = true;
    command_ = command;
    data1_ = data1;
    data2_ = data2;
  }

  SongTables& tables_;
  AnalysisListing& listing_;
  Logs& logs_;
  const SongReaderContext& context_;

  ListingPrefix prefix_;  // storeEvent, analysedTrack, trackEventIndex
  std::string_view chunk_;
  size_t position_ = 0;
  int runningStatus_ = 0;
  int command_ = 0;
  int data1_ = 0;
  int data2_ = 0;
  int64_t unknownEventCount_ = 0;
  std::string piece_;

  // What ReserveAhead judges from: the track data of the walk, and how far it has come.
  size_t walkBytes_ = 0;
  size_t decodedBefore_ = 0;  // the data of the tracks before this one
  size_t walkTextStart_ = 0;
  size_t walkLinesStart_ = 0;
  size_t walkEvents_ = 0;  // the events of the tracks before this one
  size_t nextReserve_ = 0;
};

// How often, in bytes of track data, the reader looks at the room ahead.
constexpr size_t kReserveStep = size_t{1} << 18;

void SongReader::ReserveAhead(std::vector<TrackEvent>& events) {
  nextReserve_ = position_ + kReserveStep;
  const size_t decoded = decodedBefore_ + position_;
  if (decoded == 0) return;
  // What the rest gives at the rate so far. A file's density varies, so room is taken only when the
  // estimate does not fit, and then with an eighth to spare.
  auto ahead = [decoded](size_t soFar, size_t bytesLeft) {
    return static_cast<size_t>(static_cast<double>(soFar) * static_cast<double>(bytesLeft) /
                               static_cast<double>(decoded));
  };
  try {
    LineList& lines = listing_.Lines;
    const size_t walkLeft = walkBytes_ - decoded;
    const size_t text = ahead(lines.TextSize() - walkTextStart_, walkLeft);
    const size_t count = ahead(lines.Size() - walkLinesStart_, walkLeft);
    // A drained listing holds only its last block.
    if (!listing_.Drain && (text > lines.TextRoom() || count > lines.LineRoom()))
      lines.Reserve(text + text / 8, count + count / 8);
    const size_t more = ahead(walkEvents_ + events.size() - 1, chunk_.size() - position_);
    if (more > events.capacity() - events.size()) events.reserve(events.size() + more + more / 8);
  } catch (const std::bad_alloc&) {
    // Only a guess that did not fit: growing as the lines come needs no more than they take.
  }
}

// Hex digits hold no CR LF pair: they go straight into the pending line.
void SongReader::PendHexDump(std::string_view bytes) {
  std::string& p = Pending();
  p.reserve(p.size() + bytes.size() * 3);
  for (char c : bytes) {
    AppendHexByte(p, static_cast<uint8_t>(c));
    p.push_back(' ');
  }
}

std::string_view SongReader::LengthAndData() {
  MoveOn();
  const std::optional<int32_t> length = ReadVarLen(chunk_, position_);
  if (!length) throw ChunkCutOff{};
  const auto count = static_cast<size_t>(*length);
  if (count >= chunk_.size() - position_) {
    if (count > 0) throw ChunkCutOff{};
  }
  const std::string_view data = chunk_.substr(position_ + 1, count);
  position_ += count;
  return data;
}

void SongReader::Run() {
  SongTables& t = tables_;
  if (t.SongFileData.empty()) {
    context_.messages.ShowMessage("No midi file loaded!");
    return;
  }
  t.UsedChannels = kNoChannelsUsed;
  MessageLog(logs_, "RESET");
  DebugLog(logs_, t.SongFileName);

  // The file is consumed here; SongFileData keeps only what lies between the header and the first track.
  const std::string file = std::move(t.SongFileData);
  const std::string_view data(file);
  const std::string_view header = data.substr(0, 14);
  auto headerByte = [&](size_t index) {
    return index < header.size() ? static_cast<uint8_t>(header[index]) : 0;
  };
  t.MidiFormat =
      static_cast<uint8_t>(ReadBigEndian(header.substr(std::min<size_t>(8, header.size()), 2)) & 0xFF);
  const uint64_t headerTracks = ReadBigEndian(header.substr(std::min<size_t>(10, header.size()), 2));
  t.TextEvents.assign(1, std::string());
  t.TaggedTexts.assign(1, std::string());
  t.TextCount = 0;
  t.Division = (headerByte(12) << 8) | headerByte(13);
  const size_t mthdCount = CountOccurrences(data, "MThd");
  const size_t mtrkCount = CountOccurrences(data, "MTrk");
  WriteOpening(header, mthdCount, mtrkCount, headerTracks);

  // Strip the header and split at every "MTrk": the tags delimit the chunks, the length fields do not.
  Line("Lunghezza reale del file (su disco)  :" + NumberText(static_cast<int64_t>(data.size())) + " bytes.");
  const std::string_view body = data.substr(header.size());
  Line("Lunghezza del file senza intestazione:" + NumberText(static_cast<int64_t>(data.size()) - 14) +
       " bytes.");
  Line(kRule);
  std::vector<size_t> starts;
  for (size_t at = body.find("MTrk"); at != std::string_view::npos; at = body.find("MTrk", at + 4)) {
    starts.push_back(at);
  }
  t.TrackCount = static_cast<int32_t>(starts.size());
  std::vector<std::string_view> chunks(starts.size() + 1);
  for (size_t k = 0; k < starts.size(); ++k) {
    const size_t end = k + 1 < starts.size() ? starts[k + 1] : body.size();
    chunks[k + 1] = body.substr(starts[k], end - starts[k]);
  }
  t.SongFileData = std::string(body.substr(0, starts.empty() ? body.size() : starts[0]));
  const auto trackSlots = static_cast<size_t>(t.TrackCount) + 1;
  t.TrackEvents.assign(trackSlots, std::vector<TrackEvent>(1));
  t.TrackTicks.assign(trackSlots, 0);

  static const Mask kDataLength("Traccia: ## lunghezza dati:######   ");
  static const Mask kFullLength("Traccia: ## lunghezza reale:#####");
  int64_t totalData = 0;
  for (int32_t k = 1; k <= t.TrackCount; ++k) {
    const auto full = static_cast<int64_t>(chunks[static_cast<size_t>(k)].size());
    totalData += full - 8;
    Line(kDataLength.Format({k, full - 8}) + kFullLength.Format({k, full}));
  }
  Line(FormatMask("Lunghezza tot tracce dati :######   ", {totalData}) +
       FormatMask("Lunghezza tot tracce reale :#####   ",
                  {totalData + 8 * static_cast<int64_t>(t.TrackCount)}));
  Line(kRule);

  for (int32_t track = 1; track <= t.TrackCount; ++track) {
    walkBytes_ += chunks[static_cast<size_t>(track)].size() -
                  std::min<size_t>(8, chunks[static_cast<size_t>(track)].size());
  }
  walkTextStart_ = listing_.Lines.TextSize();
  walkLinesStart_ = listing_.Lines.Size();
  if (t.TempoBpm == 0) t.TempoBpm = 120;
  for (int32_t track = 1; track <= t.TrackCount; ++track)
    DecodeTrack(track, chunks[static_cast<size_t>(track)]);

  t.LongestTrackTicks = 0;
  t.LongestTrack = 0;
  for (int32_t track = 1; track <= t.TrackCount; ++track) {
    if (t.TrackTicks[static_cast<size_t>(track)] > t.LongestTrackTicks) {
      t.LongestTrackTicks = t.TrackTicks[static_cast<size_t>(track)];
      t.LongestTrack = track;
    }
  }
  if (unknownEventCount_ > 0)
    context_.messages.ShowMessage("Meta non riconosciuti:" + NumberText(unknownEventCount_));
  WriteSummary();
}

void SongReader::WriteOpening(std::string_view header, size_t mthdCount, size_t mtrkCount,
                              uint64_t headerTracks) {
  const SongTables& t = tables_;
  Line(t.SongFileName);
  const LocalDateTime& now = context_.now;
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%02d-%02d-%04d %02d:%02d:%02d ", now.month, now.day, now.year, now.hour,
                now.minute, now.second);
  Line(std::string(stamp) + "Quarzani Quarzius");
  Line(kRule);
  Pend("Intestazione hex$ (14 Bytes):[");
  PendHexDump(header);
  Line("]");
  Line(kRule);
  Line("MThd   trovate con Tally: MThd=" + NumberText(static_cast<int64_t>(mthdCount)));
  Line("MTrk   trovate con Tally: MTrk=" + NumberText(static_cast<int64_t>(mtrkCount)));
  Line("Tracce nell'intestazione: MTrk=" + NumberText(static_cast<int64_t>(headerTracks)));
  if (mtrkCount != headerTracks) Line("Probabile errore nel file :" + t.SongFileName + "!!!!");
  Line(kRule);
  Line("Tipo file midi  :" + NumberText(t.MidiFormat));
  Line("Numero tracce   :" + NumberText(static_cast<int64_t>(headerTracks)));
  Line("Tempo (division): &H" + HexText(static_cast<uint64_t>(t.Division)) + " " + NumberText(t.Division) +
       "d");
  Line(kRule);
}

void SongReader::WriteSummary() {
  const SongTables& t = tables_;
  const int64_t bpmDivision = static_cast<int64_t>(t.Division) * t.TempoBpm;
  // A song without tempo or division has no duration to guess: 0 rather than a division by zero.
  const double duration =
      bpmDivision == 0 ? 0.0
                       : static_cast<double>(t.LongestTrackTicks) * 60.0 / static_cast<double>(bpmDivision);
  DebugLog(logs_, kSummaryRule);
  DebugLog(logs_, "                Tipo:" + NumberText(t.MidiFormat));
  DebugLog(logs_, "    Numero di tracce:" + NumberText(t.TrackCount));
  DebugLog(logs_, "                 BPM:" + NumberText(t.TempoBpm));
  DebugLog(logs_, "            Division:" + NumberText(t.Division));
  DebugLog(logs_, kSummaryRule);
  DebugLog(logs_, "        bpm*division:" + NumberText(bpmDivision));
  DebugLog(logs_, kSummaryRule);
  DebugLog(logs_, "     Tempo piu lungo:" + NumberText(t.LongestTrackTicks) + " nella traccia" +
                      NumberText(t.LongestTrack));
  DebugLog(logs_, "        Forse durata:" + DecimalText(duration));
  DebugLog(logs_, "        Canali usati: [" + t.UsedChannels + "]");
}

void SongReader::DecodeTrack(int32_t track, std::string_view fullChunk) {
  SongTables& t = tables_;
  prefix_ = ListingPrefix{false, track, 0};
  const auto dataLength = static_cast<int64_t>(fullChunk.size()) - 8;
  Line(kAsteriskRule);
  Line("Analisi traccia (" + NumberText(track) + " ) lunghezza reale =" + NumberText(dataLength));
  Line(kAsteriskRule);
  const std::string_view lengthField = fullChunk.substr(std::min<size_t>(4, fullChunk.size()), 4);
  Pend("Lunghezza nella traccia" + NumberText(track) +
       " decimale (4 bytes) =" + NumberText(static_cast<int64_t>(ReadBigEndian(lengthField))) + "--> hex ");
  PendHexDump(lengthField);
  Line("");
  chunk_ = fullChunk.substr(std::min<size_t>(8, fullChunk.size()));
  position_ = 0;
  int64_t& trackTicks = t.TrackTicks[static_cast<size_t>(track)];
  trackTicks = 0;
  Line(kRule);

  std::vector<TrackEvent>& events = t.TrackEvents[static_cast<size_t>(track)];
  nextReserve_ = 0;
  // " Time:######d " with the delta, then "######## " with the track clock, in one pass.
  static const Mask kTimeMask(" Time:######d ######## ");
  try {
    while (position_ < chunk_.size()) {
      if (position_ >= nextReserve_) ReserveAhead(events);
      const std::optional<int32_t> delta = ReadVarLen(chunk_, position_);
      if (!delta) break;
      trackTicks += *delta;
      kTimeMask.AppendTo(Pending(), {*delta, trackTicks});
      const int status = MoveOn();
      if (status >= 0x80 && status <= 0xEF) {
        runningStatus_ = status;
      } else if (status >= 0xF0 && status <= 0xF7) {
        runningStatus_ = 0;
      }
      if (!DecodeEvent(status)) break;
      ++position_;
      if (prefix_.storeEvent) {
        events.push_back({command_, data1_, data2_, trackTicks});
        ++prefix_.trackEventIndex;
      }
      prefix_.storeEvent = false;
      command_ = data1_ = data2_ = 0;
    }
  } catch (const ChunkCutOff&) {
    // The event runs past the end of the chunk: it is not stored, and what it listed stays pending.
    prefix_.storeEvent = false;
    command_ = data1_ = data2_ = 0;
  }
  decodedBefore_ += chunk_.size();
  walkEvents_ += events.size() - 1;
  // Millions of events: keep the table tight (the room taken ahead is only a guess).
  if (events.capacity() > events.size() + events.size() / 2 + 16) events.shrink_to_fit();
}

bool SongReader::DecodeEvent(int status) {
  if (status == 0xFF) {
    const int kind = PeekAhead(1);
    if (kind == 0x2F) {
      MoveOn();
      if (MoveOn() == 0) {
        Line("Fine traccia.");
        Line(kRule);
        Line(FormatMask(
            " Time:######d unita' totali nella traccia ##",
            {tables_.TrackTicks[static_cast<size_t>(prefix_.analysedTrack)], prefix_.analysedTrack}));
        Line(kRule);
        return false;
      }
      return true;  // a non-zero length: decoding goes on after the length byte
    }
    DecodeMeta();
  } else if (status == 0xF0) {
    const std::string_view data = LengthAndData();
    ListingWriteHexDump(listing_, "SysEx          ", data, prefix_);
  } else if (status >= 0x80 && status <= 0xEF) {
    DecodeChannelMessage(status);
  } else {
    DecodeRunningStatus(status);
  }
  return true;
}

void SongReader::DecodeTextMeta(int kind) {
  const std::string_view text = LengthAndData();
  SongTables& t = tables_;
  Store(kind, t.TextCount + 1, 0);
  ++t.TextCount;
  const std::string length = NumberText(static_cast<int64_t>(text.size()));
  std::string tagged;
  std::string& p = Piece();
  switch (kind) {
    case kMetaText:
      p.append("Text var len").append(length).append(" ").append(text);
      break;
    case kMetaCopyright:
      tagged = "copy:";
      p.append("Copyright      ").append(length).append("bytes:<").append(text).append(">");
      break;
    case kMetaTrackName:
      tagged = FormatMask("Sq/Na ##:", {prefix_.analysedTrack});
      p.append("Seq/Trk Name   ").append(length).append("bytes:<").append(text).append(">");
      break;
    case kMetaInstrumentName:
      tagged = "Inst:";
      p.append("Instr.  Name   ").append(length).append(" ").append(text);
      break;
    case kMetaLyric:
      tagged = "Lyric:";
      p.append("Lyric          ").append(text);
      break;
    default:
      tagged = "Mark:";
      p.append("Marker         ").append(length).append(" ").append(text);
      break;
  }
  if (kind == kMetaText) {
    t.TextEvents.emplace_back(text);
    t.TaggedTexts.emplace_back();
  } else {
    t.TextEvents.emplace_back();
    t.TaggedTexts.push_back(tagged.append(text));
  }
  Line(p);
}

void SongReader::DecodeMeta() {
  SongTables& t = tables_;
  const int kind = MoveOn();
  switch (kind) {
    case kMetaText:
    case kMetaCopyright:
    case kMetaTrackName:
    case kMetaInstrumentName:
    case kMetaLyric:
    case kMetaMarker:
      DecodeTextMeta(kind);
      return;
    case 0x20: {
      const int length = MoveOn();
      const int channel = PeekAhead(1);
      MoveOn(static_cast<size_t>(length));
      Line("Midi ch.prefix " + NumberText(channel) + " speciale**********");
      return;
    }
    case 0x21: {
      const int length = MoveOn();
      const size_t start = position_ + 1;
      MoveOn(static_cast<size_t>(length));
      const std::string_view data = chunk_.substr(start, static_cast<size_t>(length));
      ListingWriteHexDump(listing_, "Midi Port      " + HexByte(length) + " ", data, prefix_);
      return;
    }
    case kMetaTempo: {
      MoveOn();
      const int b1 = MoveOn();
      const int b2 = PeekAhead(1);
      const int b3 = PeekAhead(2);
      MoveOn(2);
      const int64_t tempo = b1 * 65536 + b2 * 256 + b3;
      // A tempo of 0 microseconds has no BPM: listed as 0, and the song's tempo stays as it was.
      const auto bpm =
          tempo == 0 ? 0 : static_cast<int32_t>(std::nearbyint(60000000.0 / static_cast<double>(tempo)));
      if (tempo != 0) t.TempoBpm = bpm;
      Store(kMetaTempo, bpm, 0);
      Line("Set tempo &h51 " + FormatMask("#######", {tempo}) + "d -> BPM=" + NumberTextNoBlank(bpm));
      return;
    }
    case 0x54: {
      MoveOn();
      t.SmpteHours = MoveOn();
      t.SmpteMinutes = MoveOn();
      t.SmpteSeconds = MoveOn();
      t.SmpteFrames = MoveOn();
      t.SmpteSubframes = MoveOn();
      Line(FormatMask("SMPTE Offset   ###=ore ###=min ###=sec ###=frame ###=subs",
                      {t.SmpteHours, t.SmpteMinutes, t.SmpteSeconds, t.SmpteFrames, t.SmpteSubframes}));
      return;
    }
    case kMetaTimeSignature: {
      MoveOn();
      const int numerator = MoveOn();
      const int exponent = MoveOn();
      const int clocks = MoveOn();
      const int thirtySeconds = MoveOn();
      // 2 to a power beyond 30 does not fit: such a denominator is shown and stored as 0.
      const int32_t denominator = exponent <= 30 ? (int32_t{1} << exponent) : 0;
      t.TimeSigNumerator = numerator;
      t.TimeSigDenominator = denominator;
      t.TimeSigClocks = clocks;
      t.TimeSig32nds = thirtySeconds;
      Store(kMetaTimeSignature, numerator, denominator);
      Pend("Tempo sigt&h58(Num" + NumberText(numerator) + "/Den" + NumberText(denominator) + ") ");
      Pend("MIDI-clocks\\click=" + NumberTextNoBlank(clocks));
      Line(" 32nds\\quarter=" + NumberTextNoBlank(thirtySeconds));
      return;
    }
    case 0x59: {
      MoveOn();
      const int sharpsOrFlats = static_cast<int8_t>(MoveOn());
      Pend(std::string("Key signature  ").append(KeySignatureName(sharpsOrFlats)));
      const int mode = MoveOn();
      Line(std::string(" ").append(ModeName(mode)));
      return;
    }
    case 0x7F: {
      const std::string_view data = LengthAndData();
      ListingWriteHexDump(listing_,
                          "Proprietary    " + NumberText(static_cast<int64_t>(data.size())) + "bytes: ", data,
                          prefix_);
      return;
    }
    default: {
      LengthAndData();
      ++unknownEventCount_;
      Line("Metaevento non riconosciuto!!!! &h" + HexByte(kind) + std::string(40, '*'));
      return;
    }
  }
}

void SongReader::ListNote(std::string_view title, int statusShown, int key, bool withKeyCharacter,
                          int velocity, bool withVelocity) {
  static const Mask kKeyMask(" ###d");
  static const Mask kVelocityMask(" ###d>");
  // Pieces of our own hold no CR LF pair, so they go straight into the pending line, built in a buffer
  // first: notes are most of every file.
  char buffer[160];
  char* p = buffer;
  auto put = [&p](std::string_view text) {
    std::memcpy(p, text.data(), text.size());
    p += text.size();
  };
  auto putHex = [&p](int value) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    *p++ = kDigits[(value >> 4) & 0x0F];
    *p++ = kDigits[value & 0x0F];
  };
  put(title);
  putHex(statusShown);
  if (withKeyCharacter) {
    *p++ = ' ';
    *p++ = static_cast<char>(key);
    *p++ = ' ';
  }
  put(" <&h");
  putHex(key);
  p += kKeyMask.LayOutIntegers(p, {key});
  p = WriteNoteName(p, key);
  if (withVelocity) {
    put(" Vel=&h");
    putHex(velocity);
    p += kVelocityMask.LayOutIntegers(p, {velocity});
  } else {
    *p++ = '>';
  }
  Pending().append(buffer, static_cast<size_t>(p - buffer));
  EndLine();
}

// The listing of key pressure, controller, program, channel pressure and pitch bend.
void SongReader::ListDataBytes(std::string_view title, int statusShown, int kindHigh, int data1, int data2) {
  const bool lsbMsb = kindHigh == 0xA0 || kindHigh == 0xE0;
  const bool twoBytes = lsbMsb || kindHigh == 0xB0;
  std::string& p = Pending();
  p.append(title);
  AppendHexByte(p, statusShown);
  p.append(lsbMsb ? " lsb=&h" : " Byte1=&h");
  AppendHexByte(p, data1);
  AppendNumberText(p, data1);
  if (!lsbMsb) p.push_back('d');
  if (twoBytes) {
    p.append(lsbMsb ? " msb=&h" : " Byte2=&h");
    AppendHexByte(p, data2);
    AppendNumberText(p, data2);
    if (!lsbMsb) p.push_back('d');
  }
  EndLine();
}

std::string_view DataTitle(int kindHigh) {
  switch (kindHigh) {
    case 0xA0:
      return "Aftertouch ";
    case 0xB0:
      return "Controller ";
    case 0xC0:
      return "Program change ";
    case 0xD0:
      return "Channel pressure ";
    default:
      return "Pitch bend ";
  }
}

void SongReader::DecodeChannelMessage(int status) {
  const int kindHigh = status & 0xF0;
  if (kindHigh == 0x90) {
    tables_.UsedChannels[static_cast<size_t>(status - 0x90)] = '*';
    const int velocity = PeekAhead(2);
    const int key = MoveOn();
    MoveOn();
    if (velocity == 0) {
      Store(status - 0x10, key, 0);
      ListNote("Nota,(off) ", status - 0x10, key, true, 0, false);
    } else {
      Store(status, key, velocity);
      ListNote("Nota  on   ", status, key, true, velocity, true);
    }
    return;
  }
  if (kindHigh == 0x80) {
    const int key = MoveOn();
    const int velocity = MoveOn();
    Store(status, key, velocity);
    ListNote("Nota (off) ", status, key, true, velocity, false);
    return;
  }
  const bool oneByte = kindHigh == 0xC0 || kindHigh == 0xD0;
  const int data1 = MoveOn();
  const int data2 = oneByte ? 0 : MoveOn();
  Store(status, data1, data2);
  ListDataBytes(DataTitle(kindHigh), status, kindHigh, data1, data2);
}

void SongReader::DecodeRunningStatus(int firstData) {
  const int status = runningStatus_;
  const int kindHigh = status & 0xF0;
  if (status == 0) {
    // No usable running status: nothing more is consumed; decoding resumes at the next byte.
    ++unknownEventCount_;
    Line("Comando non conosciuto!!!! &h" + HexByte(firstData) + " RS=" + HexByte(status) +
         std::string(40, '!'));
    Line("Metaevento non riconosciuto!!!! &h" + HexByte(firstData) + std::string(40, '+'));
    DebugLog(logs_, "Metaevento non riconosciuto!!!! &h" + HexByte(firstData));
    return;
  }
  const int key = firstData;
  if (kindHigh == 0x90) {
    const int velocity = PeekAhead(1);
    MoveOn();
    if (velocity == 0) {
      Store(status - 0x10, key, 0);
      ListNote("Nota.(off) ", status - 0x10, key, false, 0, false);
    } else {
      Store(status, key, velocity);
      ListNote("Nota. on   ", status, key, false, velocity, true);
    }
    return;
  }
  if (kindHigh == 0x80) {
    const int velocity = MoveOn();
    Store(status, key, velocity);
    ListNote("Nota.[off] ", status, key, false, velocity, false);
    return;
  }
  const bool oneByte = kindHigh == 0xC0 || kindHigh == 0xD0;
  const int data2 = oneByte ? 0 : MoveOn();
  Store(status, firstData, data2);
  ListDataBytes(DataTitle(kindHigh), status, kindHigh, firstData, data2);
}

}  // namespace

void AnalyseSong(const SongReaderContext& context) {
  ClearVectorUpperHalves();
  SongReader(context).Run();
}

}  // namespace sonvela
