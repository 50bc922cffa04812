// Writes the songs of the playback benchmarks, with a tempo change every two beats (100 to 160 BPM) and
// lasting about the seconds asked for:
//   dense  sixteen channels of sixteenth notes, each with a pitch bend or pan move: a stress test.
//   band   an ordinary arrangement: drums, bass and guitar in eighths, piano chords on the beat, a string pad
//          a bar long, a melody in eighths.
//   click  claves on channel 10 every 250 ms (eighths at a steady 120 BPM), for measuring where sounds land.
//   karaoke  the band, with words: a syllable on every eighth as Text events, a line every two bars, "/"
//          before each line and "\" before each verse of four, as karaoke files mark them.
//
// Use: bench_song dense|band|click|karaoke OUT.mid SECONDS

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kDivision = 480;
constexpr int kBeatsPerTempo = 2;
constexpr int kBeatsPerBar = 4;
constexpr int kChannels = 16;
constexpr int kDrumChannel = 9;
// Tempos that divide a minute evenly, so the song's BPM and its microseconds per beat agree exactly.
constexpr std::array<int, 5> kTempoBpm = {120, 150, 100, 160, 125};

struct Event {
  int64_t tick;
  std::vector<uint8_t> bytes;
};
using Track = std::vector<Event>;

void PutVariableLength(std::vector<uint8_t>& out, uint32_t value) {
  std::array<uint8_t, 5> groups{};
  int count = 0;
  do {
    groups[count++] = value & 0x7F;
    value >>= 7;
  } while (value != 0);
  while (count > 1) out.push_back(static_cast<uint8_t>(groups[--count] | 0x80));
  out.push_back(groups[0]);
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Events must come in time order; End of Track follows at `endTick`, or with the last event.
std::vector<uint8_t> TrackChunk(const Track& events, int64_t endTick) {
  std::vector<uint8_t> data;
  int64_t now = 0;
  for (const Event& event : events) {
    PutVariableLength(data, static_cast<uint32_t>(event.tick - now));
    data.insert(data.end(), event.bytes.begin(), event.bytes.end());
    now = event.tick;
  }
  // A note cut off by the end of the song still ends with its track.
  PutVariableLength(data, static_cast<uint32_t>(std::max(endTick, now) - now));
  data.insert(data.end(), {0xFF, 0x2F, 0x00});
  std::vector<uint8_t> chunk = {'M', 'T', 'r', 'k'};
  PutBigEndian(chunk, static_cast<uint32_t>(data.size()), 4);
  chunk.insert(chunk.end(), data.begin(), data.end());
  return chunk;
}

// The tempo track, and how many beats (whole bars) make the song last `seconds`.
Track TempoMap(double seconds, int64_t& beats) {
  Track events;
  double elapsed = 0;
  for (beats = 0; elapsed < seconds || beats % kBeatsPerBar != 0; ++beats) {
    const int bpm = kTempoBpm[static_cast<size_t>(beats / kBeatsPerTempo) % kTempoBpm.size()];
    if (beats % kBeatsPerTempo == 0) {
      const uint32_t micros = 60000000u / static_cast<uint32_t>(bpm);
      events.push_back({beats * kDivision,
                        {0xFF, 0x51, 0x03, static_cast<uint8_t>(micros >> 16),
                         static_cast<uint8_t>(micros >> 8), static_cast<uint8_t>(micros)}});
    }
    elapsed += 60.0 / bpm;
  }
  return events;
}

// One channel's track: its program and volume, then notes and controllers in any order.
class Part {
 public:
  Part(int channel, int program, int volume) : channel_(channel) {
    track_.push_back({0, {Status(0xC0), static_cast<uint8_t>(program)}});
    track_.push_back({0, {Status(0xB0), 7, static_cast<uint8_t>(volume)}});
  }
  void Note(int64_t tick, int length, int pitch, int velocity) {
    pending_.push_back({tick, {Status(0x90), static_cast<uint8_t>(pitch), static_cast<uint8_t>(velocity)}});
    pending_.push_back({tick + length, {Status(0x80), static_cast<uint8_t>(pitch), 0}});
  }
  void Controller(int64_t tick, std::vector<uint8_t> bytes) {
    bytes[0] = Status(bytes[0]);
    pending_.push_back({tick, std::move(bytes)});
  }
  // In time order; events of the same time keep the order they were added in.
  Track Finish() {
    std::stable_sort(pending_.begin(), pending_.end(),
                     [](const Event& a, const Event& b) { return a.tick < b.tick; });
    track_.insert(track_.end(), pending_.begin(), pending_.end());
    return track_;
  }

 private:
  uint8_t Status(int kind) const { return static_cast<uint8_t>(kind | channel_); }
  int channel_;
  Track track_;
  Track pending_;
};

std::vector<Track> DenseSong(int64_t beats) {
  constexpr int kStep = kDivision / 4;
  std::vector<Track> tracks;
  for (int channel = 0; channel < kChannels; ++channel) {
    Part part(channel, channel * 7 % 128, 90);
    for (int64_t step = 0; step < beats * 4; ++step) {
      const int64_t tick = step * kStep;
      const int pitch = channel == kDrumChannel
                            ? 35 + static_cast<int>(step % 12)
                            : 36 + channel * 4 + static_cast<int>((step * 5 + channel) % 24);
      if (step % 2 == 1) {
        const int bend = 8192 + static_cast<int>((step * 97) % 2048) - 1024;
        part.Controller(tick, {0xE0, static_cast<uint8_t>(bend & 0x7F), static_cast<uint8_t>(bend >> 7)});
      } else {
        part.Controller(tick, {0xB0, 10, static_cast<uint8_t>((step * 13 + channel * 8) % 128)});
      }
      part.Note(tick, kStep * 5 / 6, pitch, 60 + static_cast<int>((step * 11 + channel * 3) % 60));
    }
    tracks.push_back(part.Finish());
  }
  return tracks;
}

std::vector<Track> BandSong(int64_t beats) {
  constexpr int kEighth = kDivision / 2;
  constexpr int kBar = kBeatsPerBar * kDivision;
  // A four-bar progression: C, A minor, F, G.
  constexpr std::array<int, 4> kRoots = {48, 45, 41, 43};
  constexpr std::array<std::array<int, 3>, 4> kChords = {{{0, 4, 7}, {0, 3, 7}, {0, 4, 7}, {0, 4, 7}}};
  constexpr std::array<int, 8> kMelody = {0, 2, 4, 7, 9, 7, 4, 2};
  const auto root = [&](int64_t tick) { return kRoots[static_cast<size_t>(tick / kBar % 4)]; };
  const auto chord = [&](int64_t tick) { return kChords[static_cast<size_t>(tick / kBar % 4)]; };

  Part drums(kDrumChannel, 0, 100);
  Part bass(1, 33, 100);
  Part guitar(2, 27, 70);
  Part piano(3, 0, 80);
  Part pad(4, 48, 60);
  Part melody(5, 73, 90);
  for (int64_t eighth = 0; eighth < beats * 2; ++eighth) {
    const int64_t tick = eighth * kEighth;
    drums.Note(tick, kEighth / 2, 42, 70);                        // closed hi-hat
    if (eighth % 4 == 0) drums.Note(tick, kEighth / 2, 36, 110);  // kick
    if (eighth % 4 == 2) drums.Note(tick, kEighth / 2, 38, 100);  // snare
    bass.Note(tick, kEighth * 3 / 4, root(tick) - 12 + (eighth % 8 == 7 ? 7 : 0), 95);
    guitar.Note(tick, kEighth / 2, root(tick) + 12 + chord(tick)[static_cast<size_t>(eighth % 3)], 65);
    if (eighth % 8 != 7)
      melody.Note(tick, kEighth * 7 / 8, 72 + kMelody[static_cast<size_t>(eighth % 8)], 85);
    if (eighth % 2 == 0) {
      for (int interval : chord(tick)) piano.Note(tick, kDivision * 3 / 4, root(tick) + 12 + interval, 75);
    }
    if (tick % kBar == 0) {
      for (int interval : chord(tick)) pad.Note(tick, kBar - kEighth / 4, root(tick) + interval, 55);
    }
  }
  return {drums.Finish(), bass.Finish(), guitar.Finish(), piano.Finish(), pad.Finish(), melody.Finish()};
}

// Eighths of claves; the tempo track is cut down to its first tempo, 120 BPM.
std::vector<Track> ClickSong(int64_t beats, Track& tempo) {
  constexpr int kEighth = kDivision / 2;
  constexpr int kClaves = 75;
  tempo.resize(1);
  Part claves(kDrumChannel, 0, 110);
  for (int64_t eighth = 0; eighth < beats * 2; ++eighth)
    claves.Note(eighth * kEighth, kEighth / 4, kClaves, 110);
  return {claves.Finish()};
}

// The words, a verse of four lines, sung over and over; "-" joins the syllables of a word.
constexpr std::array<const char*, 4> kVerse = {
    "Sot-to il cie-lo di Mi-la-no",
    "can-to pia-no la can-zo-ne",
    "o-gni se-ra la ri-tro-vo",
    "nel-la lu-ce del lam-pio-ne",
};

// The syllables of a line, each with the blank that follows it, if any.
std::vector<std::string> Syllables(const std::string& line) {
  std::vector<std::string> syllables(1);
  for (const char c : line) {
    if (c == '-') {
      syllables.emplace_back();
    } else {
      syllables.back() += c;
      if (c == ' ') syllables.emplace_back();
    }
  }
  return syllables;
}

Track LyricTrack(int64_t beats) {
  constexpr int kEighth = kDivision / 2;
  constexpr int kLineBeats = 2 * kBeatsPerBar;
  Track track;
  for (int64_t line = 0; (line + 1) * kLineBeats <= beats; ++line) {
    const std::vector<std::string> syllables = Syllables(kVerse[static_cast<size_t>(line) % kVerse.size()]);
    for (size_t i = 0; i < syllables.size(); ++i) {
      std::string text = syllables[i];
      if (i == 0) text = (line % static_cast<int64_t>(kVerse.size()) == 0 ? "\\" : "/") + text;
      std::vector<uint8_t> bytes = {0xFF, 0x01, static_cast<uint8_t>(text.size())};
      bytes.insert(bytes.end(), text.begin(), text.end());
      track.push_back({line * kLineBeats * kDivision + static_cast<int64_t>(i) * kEighth, std::move(bytes)});
    }
  }
  return track;
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::string style = argc == 4 ? argv[1] : "";
  const double seconds = argc == 4 ? std::atof(argv[3]) : 0;
  if ((style != "dense" && style != "band" && style != "click" && style != "karaoke") || seconds <= 0) {
    std::fprintf(stderr, "Use: bench_song dense|band|click|karaoke OUT.mid SECONDS (above 0)\n");
    return 2;
  }
  int64_t beats = 0;
  Track tempo = TempoMap(seconds, beats);
  if (style == "click") {
    // All at 120 BPM: two beats a second, in whole bars.
    beats = (static_cast<int64_t>(std::ceil(seconds * 2)) + kBeatsPerBar - 1) / kBeatsPerBar * kBeatsPerBar;
  }
  const int64_t endTick = beats * kDivision;
  std::vector<Track> parts = style == "dense"   ? DenseSong(beats)
                             : style == "click" ? ClickSong(beats, tempo)
                                                : BandSong(beats);
  if (style == "karaoke") parts.push_back(LyricTrack(beats));

  std::vector<uint8_t> file = {'M', 'T', 'h', 'd'};
  PutBigEndian(file, 6, 4);
  PutBigEndian(file, 1, 2);  // format 1: the tempo track, then one track a part
  PutBigEndian(file, static_cast<uint32_t>(parts.size() + 1), 2);
  PutBigEndian(file, kDivision, 2);
  const auto append = [&](const Track& track) {
    const std::vector<uint8_t> chunk = TrackChunk(track, endTick);
    file.insert(file.end(), chunk.begin(), chunk.end());
  };
  append(tempo);
  for (const Track& part : parts) append(part);

  std::ofstream out(argv[2], std::ios::binary);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  if (!out.flush()) {
    std::fprintf(stderr, "Cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
