// The whole listing, log and event table of one file that holds every kind of event.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "song/every_event_file.h"
#include "song/test_support.h"

namespace sonvela {
namespace {

using test::EveryEventFile;
using test::Load;
using test::LoadedSong;

// Lines of a file in tests/data, as they are written there: one a line.
std::vector<std::string> GoldenLines(const std::string& name) {
  std::ifstream in(std::string(SONVELA_TEST_DATA) + "/" + name);
  EXPECT_TRUE(in.is_open()) << name;
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The listing line for line, the summary in the debug log, the unknowns in one message, the stored events
// and the event table.
TEST(EveryEventFile, ListingLogTablesAndEventTable) {
  LoadedSong song;
  Load(song, EveryEventFile(), "every.mid");
  const std::vector<std::string> expectedListing = GoldenLines("every_event.listing");
  const std::vector<std::string> listing = song.listing();
  ASSERT_EQ(listing.size(), expectedListing.size());
  for (size_t i = 0; i < listing.size(); ++i) EXPECT_EQ(listing[i], expectedListing[i]) << "line " << i + 1;
  EXPECT_EQ(song.document.Listing.ListingPending, "");
  EXPECT_EQ(song.logs.Debug.ToVector(), GoldenLines("every_event.log"));
  EXPECT_EQ(song.messages.shown, std::vector<std::string>{"Meta non riconosciuti: 2"});

  // The summary above reads the song's numbers from the tables; the texts and events are checked here.
  const SongTables& t = song.tables();
  // Texts: one index each, in exactly one of the two tables.
  ASSERT_EQ(t.TextCount, 8);
  EXPECT_EQ(t.TaggedTexts[1], "Sq/Na  1:Melodia");
  EXPECT_EQ(t.TaggedTexts[2], "copy:(c) Noi");
  EXPECT_EQ(t.TextEvents[3], "ciao\r\nmondo");  // stored as it stands
  EXPECT_EQ(t.TaggedTexts[3], "");
  EXPECT_EQ(t.TaggedTexts[4], "Inst:Flauto");
  EXPECT_EQ(t.TaggedTexts[5], "Lyric:la-");
  EXPECT_EQ(t.TaggedTexts[6], "Mark:Strofa");
  EXPECT_EQ(t.TextEvents[8], std::string(200, 'k'));
  // Velocity-0 note-ons become note-offs, with or without running status.
  EXPECT_EQ(t.Event(1, 11).command, 0x81);
  EXPECT_EQ(t.Event(1, 11).data2, 0);
  EXPECT_EQ(t.Event(1, 14).command, 0x82);
  EXPECT_EQ(t.Event(1, 7).command, kMetaTempo);
  EXPECT_EQ(t.Event(1, 7).data1, 100);
  EXPECT_EQ(t.Event(1, 8).data2, 8);

  const EventTableList& table = song.document.EventTable;
  auto item = [&](size_t index) { return table.Item(song.document, index); };
  const std::string sep(1, kEventTableSeparator);
  ASSERT_EQ(table.Size(), 1u + 100 + 1 + 26 + 1 + 2 + 1 + 1 + 2 + 1);
  EXPECT_EQ(item(1), "  1" + sep + " 1>     0d 03 01" + sep + " 2>     0d 01 08" + sep);
  EXPECT_EQ(item(100), "100" + sep + " 1>     0d 00 00" + sep + " 2>     0d 00 00" + sep);
  EXPECT_EQ(item(102), " 1: 1" + sep + "      0d  &H03 &H01 &H00");
  EXPECT_EQ(item(110), " 1: 9" + sep + "     15d  &H91 &H3C &H64");
  EXPECT_EQ(item(128), "Totale unita : 173");
  EXPECT_EQ(item(132), "Riassunto tempi di tutte le tracce:");
  EXPECT_EQ(item(133), "Totale unita traccia  1 : 173");
  EXPECT_EQ(item(135), "Totale totali           : 653");
  EXPECT_EQ(item(table.Size()), "");
}

}  // namespace
}  // namespace sonvela
