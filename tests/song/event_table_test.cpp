// The event table list against its document: reloads, clears and moves.

#include "song/event_table.h"

#include <gtest/gtest.h>

#include <memory>

#include "files/load_song.h"
#include "song/every_event_file.h"
#include "song/test_support.h"
#include "support/midi_builder.h"

namespace sonvela {
namespace {

using namespace test;

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
  AnalyseSong({song.document.Tables, song.document.Listing, song.logs, song.messages, kTestTime});
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
