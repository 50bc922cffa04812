#pragma once
// What one load produces: the song tables, the analysis listing and the event table.

#include <cstdint>
#include <string>

#include "song/analysis_listing.h"
#include "song/event_table.h"
#include "song/song_tables.h"

namespace sonvela {

struct SongDocument {
  // The song's file: chosen before its load, and kept when the load clears the rest.
  std::string FileName;
  SongTables Tables;
  AnalysisListing Listing;
  EventTableList EventTable;
  // Counts the loads and clears of the document: the event table serves items only for the load it
  // was shown for, whatever the track count of the next one.
  uint64_t LoadGeneration = 0;
};

}  // namespace sonvela
