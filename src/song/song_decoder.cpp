#include "song/song_decoder.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "song/midi_bytes.h"

namespace sonvela {
namespace {

// Thrown when an event needs a byte past the end of its chunk: the track ends there.
struct ChunkCutOff {};

// How often, in bytes of track data, the consumers are told how far the walk has come.
constexpr size_t kProgressStep = size_t{1} << 18;

size_t CountOccurrences(std::string_view data, std::string_view pattern) {
  size_t count = 0;
  for (size_t at = data.find(pattern); at != std::string_view::npos;
       at = data.find(pattern, at + pattern.size())) {
    ++count;
  }
  return count;
}

SongFileLayout LayOut(std::string_view file) {
  SongFileLayout layout;
  layout.file = file;
  layout.header = file.substr(0, 14);
  const std::string_view header = layout.header;
  auto headerByte = [&](size_t index) {
    return index < header.size() ? static_cast<uint8_t>(header[index]) : 0;
  };
  layout.format =
      static_cast<uint8_t>(ReadBigEndian(header.substr(std::min<size_t>(8, header.size()), 2)) & 0xFF);
  layout.headerTracks = ReadBigEndian(header.substr(std::min<size_t>(10, header.size()), 2));
  layout.division = (headerByte(12) << 8) | headerByte(13);
  layout.mthdCount = CountOccurrences(file, "MThd");
  layout.mtrkCount = CountOccurrences(file, "MTrk");

  const std::string_view body = file.substr(header.size());
  std::vector<size_t> starts;
  for (size_t at = body.find("MTrk"); at != std::string_view::npos; at = body.find("MTrk", at + 4)) {
    starts.push_back(at);
  }
  layout.chunks.resize(starts.size() + 1);
  for (size_t k = 0; k < starts.size(); ++k) {
    const size_t end = k + 1 < starts.size() ? starts[k + 1] : body.size();
    layout.chunks[k + 1] = body.substr(starts[k], end - starts[k]);
  }
  layout.beforeTracks = body.substr(0, starts.empty() ? body.size() : starts[0]);
  return layout;
}

class SongDecoder {
 public:
  explicit SongDecoder(SongEvents& events) : events_(events) {}

  void Run(std::string_view file);

 private:
  void DecodeTrack(int32_t track, std::string_view fullChunk);
  // Decodes one event after its delta; false when it was an End of Track that ends the track.
  bool DecodeEvent(int status);
  void DecodeMeta();
  void DecodeChannelMessage(int status);
  void DecodeRunningStatus(int firstData);

  bool CutOffAhead(size_t count) const { return count >= chunk_.size() - position_; }
  // The byte at the read position after moving on by `count`.
  int MoveOn(size_t count = 1) {
    if (CutOffAhead(count)) throw ChunkCutOff{};
    position_ += count;
    return static_cast<uint8_t>(chunk_[position_]);
  }
  int PeekAhead(size_t count) const {
    if (CutOffAhead(count)) throw ChunkCutOff{};
    return static_cast<uint8_t>(chunk_[position_ + count]);
  }
  // A length VLQ after moving on one byte; then the `length` bytes that follow it, moved over.
  std::string_view LengthAndData();

  SongEvents& events_;
  std::string_view chunk_;
  size_t position_ = 0;
  int runningStatus_ = 0;
  int64_t tick_ = 0;
  size_t walkBytes_ = 0;
  size_t decodedBefore_ = 0;  // the data of the tracks before this one
};

std::string_view SongDecoder::LengthAndData() {
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

void SongDecoder::Run(std::string_view file) {
  const SongFileLayout layout = LayOut(file);
  events_.Layout(layout);
  for (int32_t track = 1; track <= layout.TrackCount(); ++track) {
    const std::string_view chunk = layout.chunks[static_cast<size_t>(track)];
    walkBytes_ += chunk.size() - std::min<size_t>(8, chunk.size());
  }
  for (int32_t track = 1; track <= layout.TrackCount(); ++track)
    DecodeTrack(track, layout.chunks[static_cast<size_t>(track)]);
}

void SongDecoder::DecodeTrack(int32_t track, std::string_view fullChunk) {
  events_.TrackBegins(track, fullChunk);
  chunk_ = fullChunk.substr(std::min<size_t>(8, fullChunk.size()));
  position_ = 0;
  tick_ = 0;
  size_t nextProgress = 0;
  try {
    while (position_ < chunk_.size()) {
      if (position_ >= nextProgress) {
        nextProgress = position_ + kProgressStep;
        if (const size_t decoded = decodedBefore_ + position_; decoded != 0)
          events_.Progress({decoded, walkBytes_, chunk_.size() - position_});
      }
      // Most deltas are one byte.
      const auto first = static_cast<uint8_t>(chunk_[position_]);
      const std::optional<int32_t> delta = first < 0x80 ? first : ReadVarLen(chunk_, position_);
      if (!delta) break;
      tick_ += *delta;
      events_.Time(*delta, tick_);
      const int status = MoveOn();
      if (status >= 0x80 && status <= 0xEF) {
        runningStatus_ = status;
      } else if (status >= 0xF0 && status <= 0xF7) {
        runningStatus_ = 0;
      }
      if (!DecodeEvent(status)) break;
      ++position_;
    }
  } catch (const ChunkCutOff&) {
    // The event runs past the end of the chunk: nothing more of it is handed on.
  }
  decodedBefore_ += chunk_.size();
  events_.TrackEnds(track);
}

bool SongDecoder::DecodeEvent(int status) {
  if (status == 0xFF) {
    const int kind = PeekAhead(1);
    if (kind == 0x2F) {
      MoveOn();
      if (MoveOn() == 0) {
        events_.EndOfTrack(tick_);
        return false;
      }
      return true;  // a non-zero length: decoding goes on after the length byte
    }
    DecodeMeta();
  } else if (status == 0xF0) {
    events_.SysEx(LengthAndData());
  } else if (status >= 0x80 && status <= 0xEF) {
    DecodeChannelMessage(status);
  } else {
    DecodeRunningStatus(status);
  }
  return true;
}

void SongDecoder::DecodeMeta() {
  const int kind = MoveOn();
  switch (kind) {
    case 0x01:
    case 0x02:
    case 0x03:
    case 0x04:
    case 0x05:
    case 0x06:
      events_.Text(kind, LengthAndData());
      return;
    case 0x20: {
      const int length = MoveOn();
      const int channel = PeekAhead(1);
      MoveOn(static_cast<size_t>(length));
      events_.ChannelPrefix(channel);
      return;
    }
    case 0x21: {
      const int length = MoveOn();
      const size_t start = position_ + 1;
      MoveOn(static_cast<size_t>(length));
      events_.MidiPort(length, chunk_.substr(start, static_cast<size_t>(length)));
      return;
    }
    case 0x51: {
      MoveOn();
      const int b1 = MoveOn();
      const int b2 = PeekAhead(1);
      const int b3 = PeekAhead(2);
      MoveOn(2);
      const int64_t tempo = b1 * 65536 + b2 * 256 + b3;
      const auto bpm =
          tempo == 0 ? 0 : static_cast<int32_t>(std::nearbyint(60000000.0 / static_cast<double>(tempo)));
      events_.Tempo(tempo, bpm);
      return;
    }
    case 0x54: {
      MoveOn();
      const int hours = MoveOn();
      const int minutes = MoveOn();
      const int seconds = MoveOn();
      const int frames = MoveOn();
      const int subframes = MoveOn();
      events_.SmpteOffset(hours, minutes, seconds, frames, subframes);
      return;
    }
    case 0x58: {
      MoveOn();
      const int numerator = MoveOn();
      const int exponent = MoveOn();
      const int clocks = MoveOn();
      const int thirtySeconds = MoveOn();
      const int32_t denominator = exponent <= 30 ? (int32_t{1} << exponent) : 0;
      events_.TimeSignature(numerator, denominator, clocks, thirtySeconds);
      return;
    }
    case 0x59: {
      MoveOn();
      const int sharpsOrFlats = static_cast<int8_t>(MoveOn());
      if (CutOffAhead(1)) {
        events_.KeySignature(sharpsOrFlats, std::nullopt);
        throw ChunkCutOff{};
      }
      events_.KeySignature(sharpsOrFlats, MoveOn());
      return;
    }
    case 0x7F:
      events_.Proprietary(LengthAndData());
      return;
    default:
      LengthAndData();
      events_.UnknownMeta(kind);
      return;
  }
}

void SongDecoder::DecodeChannelMessage(int status) {
  const int kindHigh = status & 0xF0;
  if (kindHigh == 0x90) {
    events_.NoteOnStatus(status - 0x90);
    const int velocity = PeekAhead(2);
    const int key = MoveOn();
    MoveOn();
    events_.Channel({status, key, velocity, false});
    return;
  }
  const bool oneByte = kindHigh == 0xC0 || kindHigh == 0xD0;
  const int data1 = MoveOn();
  const int data2 = oneByte ? 0 : MoveOn();
  events_.Channel({status, data1, data2, false});
}

void SongDecoder::DecodeRunningStatus(int firstData) {
  const int status = runningStatus_;
  if (status == 0) {
    // Nothing more is consumed; decoding resumes at the next byte.
    events_.UnknownCommand(firstData);
    return;
  }
  const int kindHigh = status & 0xF0;
  const bool oneByte = kindHigh == 0xC0 || kindHigh == 0xD0;
  const int data2 = oneByte ? 0 : MoveOn();
  events_.Channel({status, firstData, data2, true});
}

}  // namespace

void DecodeSong(std::string_view file, SongEvents& events) {
  SongDecoder(events).Run(file);
}

}  // namespace sonvela
