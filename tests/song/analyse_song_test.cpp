// The reader on unusual and damaged files: what it stores and lists, and never reading outside the data.

#include "song/analyse_song.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "song/test_support.h"

namespace sonvela {
namespace {

using namespace test;

std::string OneTrackFile(const std::string& events, int division = 480) {
  return Header(0, 1, division) + Track(events + kEndOfTrack);
}

class AnalyseSongTest : public ::testing::Test {
 protected:
  bool Lists(std::string_view text) const {
    return std::ranges::any_of(song.listing(),
                               [&](const std::string& line) { return line.find(text) != std::string::npos; });
  }
  LoadedSong song;
};

TEST_F(AnalyseSongTest, WithoutDataSaysSoAndAHeaderAloneHasASummaryButNoTracks) {
  Load(song, "");
  EXPECT_EQ(song.messages.shown,
            (std::vector<std::string>{"No midi file loaded!", "Nessun dato disponibile!"}));
  EXPECT_TRUE(song.listing().empty());

  song.messages.shown.clear();
  Load(song, Header(1, 0, 96));
  EXPECT_EQ(song.tables().TrackCount, 0);
  EXPECT_FALSE(Lists("Analisi traccia"));
  EXPECT_EQ(song.messages.shown, std::vector<std::string>{"Nessun dato disponibile!"});
}

TEST_F(AnalyseSongTest, ShortFilesAreReadAsFarAsTheyGo) {
  for (const std::string& bytes :
       {std::string("M"), std::string("MThd\0\0\0\6\0\1", 10), std::string("MTrk")}) {
    Load(song, bytes);
    EXPECT_EQ(song.tables().Division, 0);
    EXPECT_TRUE(Lists("Lunghezza del file senza intestazione:" +
                      std::to_string(static_cast<int>(bytes.size()) - 14) + " bytes."));
  }
}

TEST_F(AnalyseSongTest, MTrkInsideATextSplitsTheTrack) {
  Load(song, OneTrackFile(Meta(0, 0x01, "xxMTrkyy") + Bytes({0x00, 0x90, 0x3C, 0x40})));
  EXPECT_EQ(song.tables().TrackCount, 2);
  EXPECT_TRUE(Lists("Probabile errore nel file :song.mid!!!!"));
  EXPECT_TRUE(Lists("Analisi traccia ( 2 ) lunghezza reale ="));
}

TEST_F(AnalyseSongTest, ChunkLengthFieldsOnlyChangeTheListedValue) {
  std::string file = OneTrackFile(Bytes({0x00, 0x90, 0x3C, 0x40}));
  file[21] = 0x7F;  // the length field claims far more than the chunk holds
  Load(song, file);
  EXPECT_EQ(song.tables().TrackEventCount(1), 1);
  EXPECT_TRUE(Lists("decimale (4 bytes) = 127--> hex 00 00 00 7F "));
}

// BPM 12.5 and 7.5 go to the even BPM; a tempo of 0 leaves the song's; a division of 0 guesses no duration.
TEST_F(AnalyseSongTest, TemposRoundHalvesToEvenAndTheLastReadIsTheSongs) {
  Load(song, Header(1, 2, 96) + Track(Bytes({0x00, 0xFF, 0x51, 0x03, 0x09, 0x27, 0xC0}) + kEndOfTrack) +
                 Track(Bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}) + kEndOfTrack));
  EXPECT_EQ(song.tables().TempoBpm, 120);
  EXPECT_EQ(song.tables().Event(1, 1).data1, 100);

  Load(song, OneTrackFile(Bytes(
                 {0x00, 0xFF, 0x51, 0x03, 0x49, 0x3E, 0x00, 0x00, 0xFF, 0x51, 0x03, 0x7A, 0x12, 0x00})));
  EXPECT_EQ(song.tables().Event(1, 1).data1, 12);
  EXPECT_EQ(song.tables().Event(1, 2).data1, 8);
  EXPECT_EQ(song.tables().TempoBpm, 8);

  Load(song, OneTrackFile(Bytes({0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x00})));
  EXPECT_EQ(song.tables().TempoBpm, 120);
  EXPECT_EQ(song.tables().Event(1, 1).data1, 0);
  EXPECT_TRUE(Lists("Set tempo &h51       0d -> BPM=0"));
  Load(song, OneTrackFile(Bytes({0x60, 0x90, 0x3C, 0x40}), 0));
  EXPECT_EQ(song.logs.Debug[song.logs.Debug.Size() - 4], "        Forse durata: 0");
}

// 2 to the power 30 still fits a 32-bit denominator; beyond that it is stored and listed as 0.
TEST_F(AnalyseSongTest, TimeSignatureExponentsPastThirtyGiveDenominatorZero) {
  Load(song, OneTrackFile(Bytes({0x00, 0xFF, 0x58, 0x04, 0x04, 30,   0x18, 0x08, 0x00, 0xFF, 0x58, 0x04,
                                 0x05, 31,   0x18, 0x08, 0x00, 0xFF, 0x58, 0x04, 0x03, 0xFF, 0x18, 0x08})));
  EXPECT_EQ(song.tables().Event(1, 1).data2, 1 << 30);
  EXPECT_EQ(song.tables().Event(1, 2).data2, 0);
  EXPECT_EQ(song.tables().Event(1, 3).data2, 0);
  EXPECT_EQ(song.tables().TimeSigDenominator, 0);
  EXPECT_TRUE(Lists("Tempo sigt&h58(Num 5/Den 0) "));
}

TEST_F(AnalyseSongTest, LongestTrackTieGoesToTheLowestNumber) {
  Load(song, Header(1, 4, 96) + Track(Bytes({0x64, 0xFF, 0x2F, 0x00})) +
                 Track(Bytes({0x81, 0x48, 0xFF, 0x2F, 0x00})) +
                 Track(Bytes({0x64, 0x90, 0x3C, 0x40, 0x64, 0xFF, 0x2F, 0x00})) +
                 Track(Bytes({0x81, 0x48, 0xFF, 0x2F, 0x00})));
  EXPECT_EQ(song.tables().LongestTrackTicks, 200);
  EXPECT_EQ(song.tables().LongestTrack, 2);
}

TEST_F(AnalyseSongTest, RunningStatusCarriesIntoTheNextTrack) {
  Load(song, Header(1, 2, 96) + Track(Bytes({0x00, 0xB2, 0x07, 0x10}) + kEndOfTrack) +
                 Track(Bytes({0x00, 0x0A, 0x20}) + kEndOfTrack));
  ASSERT_EQ(song.tables().TrackEventCount(2), 1);
  EXPECT_EQ(song.tables().Event(2, 1).command, 0xB2);
  EXPECT_EQ(song.tables().Event(2, 1).data1, 0x0A);
}

// A non-zero length after End of Track goes on; what follows it is ignored; without one the chunk ends it.
TEST_F(AnalyseSongTest, EndOfTrackIgnoresWhatFollowsAndTheChunkEndsATrackWithoutOne) {
  Load(song, Header(0, 1, 96) + Track(Bytes({0x10, 0xFF, 0x2F, 0x01, 0x00, 0x90, 0x3C, 0x40}) + kEndOfTrack +
                                      Bytes({0x00, 0x90, 0x3E, 0x40})));
  EXPECT_EQ(song.tables().TrackEventCount(1), 1);
  EXPECT_EQ(song.tables().Event(1, 1).data1, 0x3C);
  EXPECT_EQ(song.tables().TrackTicks[1], 0x10);
  Load(song, Header(0, 1, 96) + Track(Bytes({0x10, 0x90, 0x3C, 0x40})));
  EXPECT_FALSE(Lists("Fine traccia."));
}

TEST_F(AnalyseSongTest, EventCutByTheChunkEndIsNotStoredAndItsPiecesWait) {
  Load(song, Header(0, 1, 96) + Track(Bytes({0x00, 0x90, 0x3C, 0x40, 0x05, 0x90, 0x3E})));
  EXPECT_EQ(song.tables().TrackEventCount(1), 1);
  EXPECT_EQ(song.tables().TrackTicks[1], 5);
  EXPECT_EQ(song.document.Listing.ListingPending, " Time:     5d        5 ");
  // What was pending begins the first line of the next load.
  song.document.Tables.SongFileData = Header(0, 0, 96);
  AnalyseSong({"next.mid", song.document.Tables, song.document.Listing, song.logs, song.messages, kTestTime});
  EXPECT_TRUE(Lists("          Time:     5d        5 next.mid"));
  EXPECT_EQ(song.document.Listing.ListingPending, "");
}

TEST(AnalyseSong, LengthsThatClaimMoreThanTheFileHoldsEndTheTrack) {
  // A text of 2^28-1 bytes in a 30-byte file, then a SysEx of a many-byte length.
  for (const std::string& events : {Bytes({0x00, 0xFF, 0x01, 0xFF, 0xFF, 0xFF, 0x7F, 'a'}),
                                    Bytes({0x00, 0xF0, 0x81, 0x81, 0x81, 0x81, 0x81, 0x81, 0x81, 0x01, 0x00}),
                                    Bytes({0x00, 0xFF, 0x60, 0x80}), Bytes({0x81, 0x82, 0x83})}) {
    LoadedSong song;
    Load(song, Header(0, 1, 96) + Track(Bytes({0x00, 0x90, 0x3C, 0x40}) + events));
    EXPECT_EQ(song.tables().TrackEventCount(1), 1);
    EXPECT_EQ(song.tables().TextCount, 0);
  }
}

TEST_F(AnalyseSongTest, HugeDeltasSaturateInsteadOfOverflowing) {
  Load(song, OneTrackFile(Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 0x3C, 0x40})));
  EXPECT_EQ(song.tables().Event(1, 1).tick, 0x7FFFFFFF);
}

TEST_F(AnalyseSongTest, TablesGrowPastTheOldFixedLimits) {
  std::string events;
  for (int i = 0; i < 40100; ++i) events += Bytes({0x00, 0x90, 0x3C, 0x40});
  for (int i = 0; i < 20100; ++i) events += Meta(1, 0x05, "la");
  Load(song, OneTrackFile(events));
  EXPECT_EQ(song.tables().TaggedTexts[20100], "Lyric:la");
  EXPECT_EQ(song.tables().Event(1, 60200).data1, 20100);
}

// The listing takes its room from what is decoded: a SysEx of 2 MB lists 6 MB, not 32 bytes a file byte.
TEST_F(AnalyseSongTest, ListingRoomFollowsTheDecodedText) {
  std::string sysex = Bytes({0x00, 0xF0});
  AppendVarLen(sysex, 2u << 20);
  sysex.append(2u << 20, '\x11');
  const std::string file = OneTrackFile(sysex);
  Load(song, file);
  const LineList& lines = song.document.Listing.Lines;
  ASSERT_GT(lines.TextSize(), 3 * (2u << 20));
  EXPECT_LT(lines.ByteSize(), 5 * file.size());
  EXPECT_TRUE(Lists("SysEx          11 11 11 "));
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

TEST_F(AnalyseSongTest, EachLoadStartsAfresh) {
  Load(song, EveryEventFile());
  Load(song, OneTrackFile(Meta(0, 0x01, "uno") + Bytes({0x00, 0x93, 0x3C, 0x40})));
  EXPECT_EQ(song.tables().TextCount, 1);
  EXPECT_EQ(song.tables().UsedChannels, "   *            ");
  EXPECT_EQ(song.tables().TrackCount, 1);
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
