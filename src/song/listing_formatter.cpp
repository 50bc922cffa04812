#include "song/listing_formatter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <new>

#include "song/midi_bytes.h"
#include "text/format_mask.h"
#include "text/number_text.h"
#include "text/pitch_names.h"

namespace sonvela {
namespace {

const std::string kRule(79, '-');
const std::string kAsteriskRule(79, '*');

// The pitch names left-aligned in fields of `Width` characters, made once: a note's name is then one copy
// of a fixed size.
template <size_t Width>
constexpr std::array<std::array<char, Width>, 12> PaddedNames(const std::array<std::string_view, 12>& names) {
  std::array<std::array<char, Width>, 12> padded{};
  for (size_t pitch = 0; pitch < 12; ++pitch) {
    padded[pitch].fill(' ');
    for (size_t i = 0; i < names[pitch].size() && i < Width; ++i) padded[pitch][i] = names[pitch][i];
  }
  return padded;
}

constexpr auto kPaddedSolfege = PaddedNames<4>(kSolfegeNames);
constexpr auto kPaddedLetters = PaddedNames<2>(kLetterNames);

// " do   C :3" for key 60; returns the end of what it wrote.
char* WriteNoteName(char* p, int key) {
  *p++ = ' ';
  std::memcpy(p, kPaddedSolfege[PitchClass(key)].data(), 4);
  p += 4;
  *p++ = ' ';
  std::memcpy(p, kPaddedLetters[PitchClass(key)].data(), 2);
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

}  // namespace

void ListingFormatter::StoredLine(std::string_view text) {
  prefix_.storeEvent = true;
  Line(text);
  prefix_.storeEvent = false;
  ++prefix_.trackEventIndex;
}

void ListingFormatter::EndStoredLine() {
  StoredLine({});
}

// Hex digits hold no CR LF pair: they go straight into the pending line.
void ListingFormatter::PendHexDump(std::string_view bytes) {
  std::string& p = listing_.ListingPending;
  p.reserve(p.size() + bytes.size() * 3);
  for (char c : bytes) {
    AppendHexByte(p, static_cast<uint8_t>(c));
    p.push_back(' ');
  }
}

void ListingFormatter::Layout(const SongFileLayout& layout) {
  WriteOpening(layout);
  const auto fileSize = static_cast<int64_t>(layout.file.size());
  Line("Lunghezza reale del file (su disco)  :" + NumberText(fileSize) + " bytes.");
  Line("Lunghezza del file senza intestazione:" + NumberText(fileSize - 14) + " bytes.");
  Line(kRule);
  static const Mask kDataLength("Traccia: ## lunghezza dati:######   ");
  static const Mask kFullLength("Traccia: ## lunghezza reale:#####");
  const int32_t trackCount = layout.TrackCount();
  int64_t totalData = 0;
  for (int32_t k = 1; k <= trackCount; ++k) {
    const auto full = static_cast<int64_t>(layout.chunks[static_cast<size_t>(k)].size());
    totalData += full - 8;
    Line(kDataLength.Format({k, full - 8}) + kFullLength.Format({k, full}));
  }
  Line(
      FormatMask("Lunghezza tot tracce dati :######   ", {totalData}) +
      FormatMask("Lunghezza tot tracce reale :#####   ", {totalData + 8 * static_cast<int64_t>(trackCount)}));
  Line(kRule);
  walkTextStart_ = listing_.Lines.TextSize();
  walkLinesStart_ = listing_.Lines.Size();
}

void ListingFormatter::WriteOpening(const SongFileLayout& layout) {
  Line(fileName_);
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%02d-%02d-%04d %02d:%02d:%02d ", now_.month, now_.day, now_.year,
                now_.hour, now_.minute, now_.second);
  Line(std::string(stamp) + "Quarzani Quarzius");
  Line(kRule);
  Pend("Intestazione hex$ (14 Bytes):[");
  PendHexDump(layout.header);
  Line("]");
  Line(kRule);
  Line("MThd   trovate con Tally: MThd=" + NumberText(static_cast<int64_t>(layout.mthdCount)));
  Line("MTrk   trovate con Tally: MTrk=" + NumberText(static_cast<int64_t>(layout.mtrkCount)));
  Line("Tracce nell'intestazione: MTrk=" + NumberText(static_cast<int64_t>(layout.headerTracks)));
  if (layout.mtrkCount != layout.headerTracks)
    Line("Probabile errore nel file :" + std::string(fileName_) + "!!!!");
  Line(kRule);
  Line("Tipo file midi  :" + NumberText(layout.format));
  Line("Numero tracce   :" + NumberText(static_cast<int64_t>(layout.headerTracks)));
  Line("Tempo (division): &H" + HexText(static_cast<uint64_t>(layout.division)) + " " +
       NumberText(layout.division) + "d");
  Line(kRule);
}

void ListingFormatter::TrackBegins(int32_t track, std::string_view chunk) {
  prefix_ = ListingPrefix{false, track, 0};
  const auto dataLength = static_cast<int64_t>(chunk.size()) - 8;
  Line(kAsteriskRule);
  Line("Analisi traccia (" + NumberText(track) + " ) lunghezza reale =" + NumberText(dataLength));
  Line(kAsteriskRule);
  const std::string_view lengthField = chunk.substr(std::min<size_t>(4, chunk.size()), 4);
  Pend("Lunghezza nella traccia" + NumberText(track) +
       " decimale (4 bytes) =" + NumberText(static_cast<int64_t>(ReadBigEndian(lengthField))) + "--> hex ");
  PendHexDump(lengthField);
  Line("");
  Line(kRule);
}

void ListingFormatter::Progress(const DecodeProgress& progress) {
  // A drained listing holds only its last block.
  if (listing_.Drain) return;
  // A file's density varies, so room is taken only when the estimate does not fit, and then with an
  // eighth to spare.
  LineList& lines = listing_.Lines;
  const size_t walkLeft = progress.total - progress.decoded;
  const size_t text = progress.Ahead(lines.TextSize() - walkTextStart_, walkLeft);
  const size_t count = progress.Ahead(lines.Size() - walkLinesStart_, walkLeft);
  if (text <= lines.TextRoom() && count <= lines.LineRoom()) return;
  try {
    lines.Reserve(text + text / 8, count + count / 8);
  } catch (const std::bad_alloc&) {
    // Only a guess that did not fit: growing as the lines come needs no more than they take.
  }
}

void ListingFormatter::ListNote(std::string_view title, int statusShown, int key, bool withKeyCharacter,
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
  listing_.ListingPending.append(buffer, static_cast<size_t>(p - buffer));
  EndStoredLine();
}

// The listing of key pressure, controller, program, channel pressure and pitch bend.
void ListingFormatter::ListDataBytes(std::string_view title, int statusShown, int kindHigh, int data1,
                                     int data2) {
  const bool lsbMsb = kindHigh == 0xA0 || kindHigh == 0xE0;
  const bool twoBytes = lsbMsb || kindHigh == 0xB0;
  std::string& p = listing_.ListingPending;
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
  EndStoredLine();
}

void ListingFormatter::Channel(const ChannelEvent& event) {
  const int status = event.status;
  const int kindHigh = status & 0xF0;
  // With running status the line has no key character, and its titles a dot.
  const bool key = !event.runningStatus;
  if (kindHigh == 0x90) {
    if (event.data2 == 0) {
      ListNote(key ? "Nota,(off) " : "Nota.(off) ", status - 0x10, event.data1, key, 0, false);
    } else {
      ListNote(key ? "Nota  on   " : "Nota. on   ", status, event.data1, key, event.data2, true);
    }
  } else if (kindHigh == 0x80) {
    ListNote(key ? "Nota (off) " : "Nota.[off] ", status, event.data1, key, event.data2, false);
  } else {
    ListDataBytes(DataTitle(kindHigh), status, kindHigh, event.data1, event.data2);
  }
}

void ListingFormatter::UnknownCommand(int byte) {
  Line("Comando non conosciuto!!!! &h" + HexByte(byte) + " RS=" + HexByte(0) + std::string(40, '!'));
  Line("Metaevento non riconosciuto!!!! &h" + HexByte(byte) + std::string(40, '+'));
}

void ListingFormatter::SysEx(std::string_view data) {
  ListingWriteHexDump(listing_, "SysEx          ", data, prefix_);
}

void ListingFormatter::Text(int kind, std::string_view text) {
  const std::string length = NumberText(static_cast<int64_t>(text.size()));
  std::string& p = piece_;
  p.clear();
  switch (kind) {
    case 0x01:
      p.append("Text var len").append(length).append(" ").append(text);
      break;
    case 0x02:
      p.append("Copyright      ").append(length).append("bytes:<").append(text).append(">");
      break;
    case 0x03:
      p.append("Seq/Trk Name   ").append(length).append("bytes:<").append(text).append(">");
      break;
    case 0x04:
      p.append("Instr.  Name   ").append(length).append(" ").append(text);
      break;
    case 0x05:
      p.append("Lyric          ").append(text);
      break;
    default:
      p.append("Marker         ").append(length).append(" ").append(text);
      break;
  }
  StoredLine(p);
}

void ListingFormatter::ChannelPrefix(int channel) {
  Line("Midi ch.prefix " + NumberText(channel) + " speciale**********");
}

void ListingFormatter::MidiPort(int length, std::string_view data) {
  ListingWriteHexDump(listing_, "Midi Port      " + HexByte(length) + " ", data, prefix_);
}

void ListingFormatter::Tempo(int64_t microseconds, int32_t bpm) {
  StoredLine("Set tempo &h51 " + FormatMask("#######", {microseconds}) +
             "d -> BPM=" + NumberTextNoBlank(bpm));
}

void ListingFormatter::SmpteOffset(int hours, int minutes, int seconds, int frames, int subframes) {
  Line(FormatMask("SMPTE Offset   ###=ore ###=min ###=sec ###=frame ###=subs",
                  {hours, minutes, seconds, frames, subframes}));
}

void ListingFormatter::TimeSignature(int numerator, int32_t denominator, int clocks, int thirtySeconds) {
  Pend("Tempo sigt&h58(Num" + NumberText(numerator) + "/Den" + NumberText(denominator) + ") ");
  Pend("MIDI-clocks\\click=" + NumberTextNoBlank(clocks));
  StoredLine(" 32nds\\quarter=" + NumberTextNoBlank(thirtySeconds));
}

void ListingFormatter::KeySignature(int sharpsOrFlats, std::optional<int> mode) {
  Pend(std::string("Key signature  ").append(KeySignatureName(sharpsOrFlats)));
  if (mode) Line(std::string(" ").append(ModeName(*mode)));
}

void ListingFormatter::Proprietary(std::string_view data) {
  ListingWriteHexDump(
      listing_, "Proprietary    " + NumberText(static_cast<int64_t>(data.size())) + "bytes: ", data, prefix_);
}

void ListingFormatter::UnknownMeta(int kind) {
  Line("Metaevento non riconosciuto!!!! &h" + HexByte(kind) + std::string(40, '*'));
}

void ListingFormatter::EndOfTrack(int64_t tick) {
  Line("Fine traccia.");
  Line(kRule);
  Line(FormatMask(" Time:######d unita' totali nella traccia ##", {tick, prefix_.analysedTrack}));
  Line(kRule);
}

}  // namespace sonvela
