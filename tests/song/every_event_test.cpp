// The whole listing, log and event table of one file that holds every kind of event, against the golden
// files in tests/data.

#include <gtest/gtest.h>

#include <algorithm>
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

// The event table item for item, its column separator written as "|".
std::vector<std::string> TableItems(const LoadedSong& song) {
  const EventTableList& table = song.document.EventTable;
  std::vector<std::string> items;
  for (size_t i = 0; i < table.Size(); ++i) {
    items.push_back(table.Item(song.document, i));
    std::replace(items.back().begin(), items.back().end(), kEventTableSeparator, '|');
  }
  return items;
}

TEST(EveryEventFile, ListingLogTablesAndEventTable) {
  LoadedSong song;
  Load(song, EveryEventFile(), "every.mid");
  EXPECT_EQ(song.listing(), GoldenLines("every_event.listing"));
  EXPECT_EQ(song.document.Listing.ListingPending, "");
  EXPECT_EQ(song.logs.Debug.ToVector(), GoldenLines("every_event.log"));
  EXPECT_EQ(song.messages.shown, std::vector<std::string>{"Meta non riconosciuti: 2"});
  // The text tables: one index each, in exactly one of the two, stored as they stand.
  const SongTables& t = song.tables();
  ASSERT_EQ(t.TextCount, 8);
  const std::vector<std::string> tagged = {"Sq/Na  1:Melodia", "copy:(c) Noi", "",
                                           "Inst:Flauto",      "Lyric:la-",    "Mark:Strofa"};
  for (size_t i = 0; i < tagged.size(); ++i) EXPECT_EQ(t.TaggedTexts[i + 1], tagged[i]) << i + 1;
  EXPECT_EQ(t.TextEvents[3], "ciao\r\nmondo");
  EXPECT_EQ(t.TextEvents[8], std::string(200, 'k'));
  // What the event table does not show: the velocity of a note-on turned note-off, the 6/8's denominator.
  EXPECT_EQ(t.Event(1, 11).data2, 0);
  EXPECT_EQ(t.Event(1, 8).data2, 8);
  EXPECT_EQ(TableItems(song), GoldenLines("every_event.table"));
  EXPECT_EQ(song.document.EventTable.Item(song.document, song.document.EventTable.Size()), "");
}

// A load that leaves a part out gives the parts it builds, the log and the messages as a whole load does.
TEST(EveryEventFile, PartialLoadsGiveTheirPartsUnchanged) {
  LoadedSong whole;
  Load(whole, EveryEventFile(), "every.mid");
  for (const SongReaderParts parts :
       {SongReaderParts{true, false}, SongReaderParts{false, true}, SongReaderParts{false, false}}) {
    LoadedSong song;
    Load(song, EveryEventFile(), "every.mid", parts);
    EXPECT_EQ(song.listing(), parts.listing ? whole.listing() : std::vector<std::string>{});
    EXPECT_EQ(song.logs.Debug.ToVector(), whole.logs.Debug.ToVector());
    EXPECT_EQ(song.messages.shown, whole.messages.shown);
    if (parts.trackEvents) {
      EXPECT_EQ(TableItems(song), TableItems(whole));
    }
  }
}

}  // namespace
}  // namespace sonvela
