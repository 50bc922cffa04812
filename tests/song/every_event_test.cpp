// Everything the load of one file that holds every kind of event leaves, against its golden file; the
// event table list against its document: reloads, clears and moves.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "files/load_song.h"
#include "golden.h"
#include "song/event_table.h"
#include "song/test_support.h"

namespace sonvela {
namespace {

using namespace test;

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

// Everything the load leaves, and the event table, against every_event.golden. The text tables hold each
// text under one index, in exactly one of the two, as it stands; the tables keep what the event table does
// not show: the velocity of a note-on turned note-off, the 6/8's denominator.
TEST(EveryEventFile, LoadAndEventTableAreTheGoldenOnes) {
  LoadedSong song;
  Load(song, EveryEventFile(), "every.mid");
  std::string table;
  for (const std::string& item : TableItems(song)) table += item + "\n";
  ExpectGolden("every_event.golden", {{"load", Dump(song)}, {"event table", table}});
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

const std::string kSep(1, kEventTableSeparator);

// Two songs of two tracks with different events.
const std::string kFirst = Header(1, 2, 96) + Track(Bytes({0x00, 0x90, 0x3C, 0x64}) + kEndOfTrack) +
                           Track(Bytes({0x10, 0x91, 0x40, 0x50}) + kEndOfTrack);
const std::string kSecond = Header(1, 2, 96) +
                            Track(Bytes({0x05, 0xC2, 0x13, 0x30, 0x92, 0x3E, 0x22}) + kEndOfTrack) +
                            Track(Bytes({0x20, 0xB3, 0x07, 0x64}) + kEndOfTrack);

TEST(EventTableList, ServesOnlyRowsOfTheTablesItWasShownFor) {
  LoadedSong song;
  Load(song, kFirst);
  const EventTableList& table = song.document.EventTable;
  EXPECT_EQ(table.Item(song.document, 102), " 1: 1" + kSep + "      0d  &H90 &H3C &H64");

  // Rebuilt by a new load but not shown again: the list serves nothing rather than the old layout
  // over the new tables.
  ClearSongDocument(song.document);
  song.document.Tables.SongFileData = kSecond;
  AnalyseSong({"song.mid", song.document.Tables, song.document.Listing, song.logs, song.messages, kTestTime});
  ASSERT_EQ(song.tables().TrackCount, 2);
  EXPECT_FALSE(table.Shows(song.document));
  EXPECT_EQ(table.Item(song.document, 102), "");

  ListEventTable(song.document, song.logs, song.messages);
  EXPECT_EQ(table.Item(song.document, 1),
            "  1" + kSep + " 1>     5d C2 13" + kSep + " 2>    32d B3 07" + kSep);
  EXPECT_EQ(table.Item(song.document, 103), " 1: 2" + kSep + "     53d  &H92 &H3E &H22");
  EXPECT_EQ(table.Item(song.document, 104), "Totale unita : 53");

  // Tables cleared behind its back give no items: the load generation stays, the shape gives it away.
  ClearSongTables(song.document.Tables);
  EXPECT_EQ(table.Item(song.document, 102), "");
  EXPECT_EQ(table.Item(song.document, 1), "");
}

// Written a range at a time, from any start, the items are the items one by one.
TEST(EventTableList, RangesOfItemsAreTheItems) {
  LoadedSong song;
  Load(song, EveryEventFile());
  const EventTableList& table = song.document.EventTable;
  std::string expected;
  for (size_t i = 0; i < table.Size(); ++i) expected += table.Item(song.document, i) + "\n";
  for (const size_t step : {1u, 7u, 1000u}) {
    std::string ranges;
    for (size_t first = 0; first < table.Size(); first += step)
      table.AppendItems(ranges, song.document, first, first + step, '\n');
    EXPECT_EQ(ranges, expected) << step;
  }
  // A list kept from before a clear writes nothing of the document's next life.
  const EventTableList kept = table;
  ClearSongDocument(song.document);
  std::string stale;
  kept.AppendItems(stale, song.document, 0, kept.Size(), '\n');
  EXPECT_EQ(stale, "");
}

TEST(EventTableList, MovesWithItsDocument) {
  auto song = std::make_unique<LoadedSong>();
  Load(*song, kFirst);
  const std::string row = song->document.EventTable.Item(song->document, 1);
  SongDocument moved = std::move(song->document);
  song.reset();  // the document the list was shown for is gone
  EXPECT_EQ(moved.EventTable.Item(moved, 1), row);
  EXPECT_EQ(moved.EventTable.Item(moved, 104), " 2: 1" + kSep + "     16d  &H91 &H40 &H50");
}

}  // namespace
}  // namespace sonvela
