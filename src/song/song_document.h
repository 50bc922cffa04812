#pragma once
// What one load produces: the song tables, the analysis listing and the event table.

#include "song/analysis_listing.h"
#include "song/song_tables.h"
#include "text/line_list.h"

namespace sonvela {

struct SongDocument {
  SongTables Tables;
  AnalysisListing Listing;
  LineList EventTable;
};

}  // namespace sonvela
