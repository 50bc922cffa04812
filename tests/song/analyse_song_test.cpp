// The reader on unusual and damaged files: what it stores and lists, and never reading outside the data.

#include "song/analyse_song.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "golden.h"
#include "song/test_support.h"

namespace sonvela {
namespace {

using namespace test;

std::string OneTrackFile(const std::string& events, int division = 480) {
  return Header(0, 1, division) + Track(events + kEndOfTrack);
}

bool Lists(const LoadedSong& song, std::string_view text) {
  return std::ranges::any_of(song.listing(),
                             [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

// Unusual and damaged files, each against its section of odd_files.golden (SONVELA_WRITE_GOLDEN=1 rewrites it
// from what the reader does now). Among them: a header alone has a summary but no tracks; short files are
// read as far as they go; "MTrk" inside a text splits the track; a chunk's length field only changes the
// value listed; BPM 12.5 and 7.5 go to the even BPM, a tempo of 0 leaves the song's, the last tempo read is
// the song's; 2^30 still fits a 32-bit denominator, past that it is 0; a tie for the longest track goes to
// the lowest number; running status carries into the next track; a non-zero length after End of Track goes on
// and what follows is ignored; an event cut by the chunk end is not stored and its pieces wait; lengths that
// claim more than the file holds end the track; huge deltas saturate; each load starts afresh.
TEST(AnalyseSong, OddFilesLeaveWhatTheGoldenFileHolds) {
  std::string sysexBeyond = Bytes({0x00, 0xF0, 0x81, 0x81, 0x81, 0x81, 0x81, 0x81, 0x81, 0x01, 0x00});
  std::string longLength = OneTrackFile(Bytes({0x00, 0x90, 0x3C, 0x40}));
  longLength[21] = 0x7F;  // the length field claims far more than the chunk holds
  const std::string note = Bytes({0x00, 0x90, 0x3C, 0x40});
  const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
      // name, earlier load, file
      {"no data", "", ""},
      {"a header alone", "", Header(1, 0, 96)},
      {"one byte", "", "M"},
      {"a cut header", "", std::string("MThd\0\0\0\6\0\1", 10)},
      {"a chunk name alone", "", "MTrk"},
      {"MTrk inside a text", "", OneTrackFile(Meta(0, 0x01, "xxMTrkyy") + note)},
      {"a chunk length beyond the chunk", "", longLength},
      {"tempos 100 then 120 in two tracks", "",
       Header(1, 2, 96) + Track(Bytes({0x00, 0xFF, 0x51, 0x03, 0x09, 0x27, 0xC0}) + kEndOfTrack) +
           Track(Bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}) + kEndOfTrack)},
      {"tempos of BPM 12.5 and 7.5", "",
       OneTrackFile(
           Bytes({0x00, 0xFF, 0x51, 0x03, 0x49, 0x3E, 0x00, 0x00, 0xFF, 0x51, 0x03, 0x7A, 0x12, 0x00}))},
      {"a tempo of 0", "", OneTrackFile(Bytes({0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x00}))},
      {"division 0", "", OneTrackFile(Bytes({0x60, 0x90, 0x3C, 0x40}), 0)},
      {"time signature exponents 30, 31, 255", "",
       OneTrackFile(Bytes({0x00, 0xFF, 0x58, 0x04, 0x04, 30,   0x18, 0x08, 0x00, 0xFF, 0x58, 0x04,
                           0x05, 31,   0x18, 0x08, 0x00, 0xFF, 0x58, 0x04, 0x03, 0xFF, 0x18, 0x08}))},
      {"two longest tracks", "",
       Header(1, 4, 96) + Track(Bytes({0x64, 0xFF, 0x2F, 0x00})) +
           Track(Bytes({0x81, 0x48, 0xFF, 0x2F, 0x00})) +
           Track(Bytes({0x64, 0x90, 0x3C, 0x40, 0x64, 0xFF, 0x2F, 0x00})) +
           Track(Bytes({0x81, 0x48, 0xFF, 0x2F, 0x00}))},
      {"running status into the next track", "",
       Header(1, 2, 96) + Track(Bytes({0x00, 0xB2, 0x07, 0x10}) + kEndOfTrack) +
           Track(Bytes({0x00, 0x0A, 0x20}) + kEndOfTrack)},
      {"End of Track of length 1, then more", "",
       Header(0, 1, 96) +
           Track(Bytes({0x10, 0xFF, 0x2F, 0x01, 0x00, 0x90, 0x3C, 0x40}) + kEndOfTrack + note)},
      {"no End of Track", "", Header(0, 1, 96) + Track(Bytes({0x10, 0x90, 0x3C, 0x40}))},
      {"an event cut by the chunk end", "", Header(0, 1, 96) + Track(note + Bytes({0x05, 0x90, 0x3E}))},
      {"a text of 2^28-1 bytes", "",
       Header(0, 1, 96) + Track(note + Bytes({0x00, 0xFF, 0x01, 0xFF, 0xFF, 0xFF, 0x7F, 'a'}))},
      {"a SysEx of a many-byte length", "", Header(0, 1, 96) + Track(note + sysexBeyond)},
      {"a meta without its length", "", Header(0, 1, 96) + Track(note + Bytes({0x00, 0xFF, 0x60, 0x80}))},
      {"a cut delta", "", Header(0, 1, 96) + Track(note + Bytes({0x81, 0x82, 0x83}))},
      {"a huge delta", "", OneTrackFile(Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 0x3C, 0x40}))},
      {"after every event", EveryEventFile(),
       OneTrackFile(Meta(0, 0x01, "uno") + Bytes({0x00, 0x93, 0x3C, 0x40}))},
  };
  std::vector<std::pair<std::string, std::string>> dumps;
  for (const auto& [name, earlier, file] : cases) {
    LoadedSong song;
    if (!earlier.empty()) Load(song, earlier);
    Load(song, file);
    dumps.emplace_back(name, Dump(song));
  }
  ExpectGolden("odd_files.golden", dumps);
}

// What was pending begins the first line of the next load.
TEST(AnalyseSong, APendingPieceBeginsTheNextLoadsFirstLine) {
  LoadedSong song;
  Load(song, Header(0, 1, 96) + Track(Bytes({0x00, 0x90, 0x3C, 0x40, 0x05, 0x90, 0x3E})));
  song.document.Tables.SongFileData = Header(0, 0, 96);
  AnalyseSong({"next.mid", song.document.Tables, song.document.Listing, song.logs, song.messages, kTestTime});
  EXPECT_TRUE(Lists(song, "          Time:     5d        5 next.mid"));
  EXPECT_EQ(song.document.Listing.ListingPending, "");
}

TEST(AnalyseSong, TablesGrowPastTheOldFixedLimits) {
  LoadedSong song;
  std::string events;
  for (int i = 0; i < 40100; ++i) events += Bytes({0x00, 0x90, 0x3C, 0x40});
  for (int i = 0; i < 20100; ++i) events += Meta(1, 0x05, "la");
  Load(song, OneTrackFile(events));
  EXPECT_EQ(song.tables().TaggedTexts[20100], "Lyric:la");
  EXPECT_EQ(song.tables().Event(1, 60200).data1, 20100);
}

// The listing takes its room from what is decoded: a SysEx of 2 MB lists 6 MB, not 32 bytes a file byte.
TEST(AnalyseSong, ListingRoomFollowsTheDecodedText) {
  LoadedSong song;
  std::string sysex = Bytes({0x00, 0xF0});
  AppendVarLen(sysex, 2u << 20);
  sysex.append(2u << 20, '\x11');
  const std::string file = OneTrackFile(sysex);
  Load(song, file);
  const LineList& lines = song.document.Listing.Lines;
  ASSERT_GT(lines.TextSize(), 3 * (2u << 20));
  EXPECT_LT(lines.ByteSize(), 5 * file.size());
  EXPECT_TRUE(Lists(song, "SysEx          11 11 11 "));
}

// Drained in blocks as it is written, the listing is the same, line for line.
TEST(AnalyseSong, DrainedListingIsTheWholeListing) {
  std::string events = Meta(0, 0x7F, std::string(600000, '\x22'));
  for (int i = 0; i < 20000; ++i) events += Bytes({0x01, 0x90, 0x3C, 0x40, 0x01, 0x3C, 0x00});
  events += Bytes({0x00, 0xF0, 0x02, 0x01, 0x02});
  const std::string file = OneTrackFile(events);
  LoadedSong whole;
  Load(whole, file);
  LoadedSong drained;
  std::vector<std::string> lines;
  int drains = 0;
  drained.document.Listing.Drain = [&](const LineList& block) {
    ++drains;
    for (std::string& line : block.ToVector()) lines.push_back(std::move(line));
  };
  Load(drained, file);
  for (std::string& line : drained.listing()) lines.push_back(std::move(line));
  EXPECT_GE(drains, 2);
  EXPECT_EQ(lines, whole.listing());
}

// Every prefix of a file is a file: none may crash or read outside the data (the sanitizer build checks).
TEST(AnalyseSong, FileCutAtEveryBytePosition) {
  const std::string file = EveryEventFile();
  for (size_t length = 0; length <= file.size(); ++length) {
    LoadedSong song;
    Load(song, file.substr(0, length));
    const SongTables& t = song.tables();
    for (int32_t track = 1; track <= t.TrackCount; ++track) {
      int64_t previous = 0;
      for (int32_t i = 1; i <= t.TrackEventCount(track); ++i) {
        ASSERT_GE(t.Event(track, i).tick, previous);
        previous = t.Event(track, i).tick;
        if (t.Event(track, i).command >= kMetaText && t.Event(track, i).command <= kMetaMarker) {
          ASSERT_LE(t.Event(track, i).data1, t.TextCount);
        }
      }
      ASSERT_LE(previous, t.TrackTicks[static_cast<size_t>(track)]);
    }
  }
}

TEST(MidiBytes, VariableLengthQuantities) {
  size_t position = 1;
  EXPECT_EQ(ReadVarLen(Bytes({0x00, 0x81, 0x48, 0x00}), position), 200);
  position = 0;
  EXPECT_EQ(ReadVarLen(Bytes({0x81, 0x80}), position), std::nullopt);
  for (uint32_t value : {0u, 127u, 128u, 8191u, 16384u, 0x0FFFFFFFu}) {
    std::string bytes;
    AppendVarLen(bytes, value);
    position = 0;
    EXPECT_EQ(ReadVarLen(bytes, position), static_cast<int32_t>(value));
    EXPECT_EQ(position, bytes.size() - 1);
  }
  EXPECT_EQ(Bin8(0x05), "00000101");
}

}  // namespace
}  // namespace sonvela
