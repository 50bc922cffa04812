#pragma once
// What one load produces: the song tables, the analysis listing and the event table.

#include "song/analysis_listing.h"
#include "song/event_table.h"
#include "song/song_tables.h"

namespace sonvela {

struct SongDocument {
  SongTables Tables;
  AnalysisListing Listing;
  EventTableList EventTable;
};

}  // namespace sonvela
