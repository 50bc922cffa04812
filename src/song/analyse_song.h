#pragma once
// The file reader: turns the bytes of a Standard MIDI File or karaoke file into the song tables and
// writes the analysis listing while it decodes. Tolerant: it checks nothing first, decodes what it
// recognises, lists what it does not, and never reads outside the data.

#include "song/analysis_listing.h"
#include "song/song_tables.h"
#include "text/local_date_time.h"
#include "text/logs.h"
#include "text/message_boxes.h"

namespace sonvela {

struct SongReaderContext {
  SongTables& tables;
  AnalysisListing& listing;
  Logs& logs;
  MessageBoxes& messages;
  LocalDateTime now;  // shown in the listing's opening lines
};

// Reads SongFileName and SongFileData; rebuilds every song table. With no data: "No midi file loaded!".
void AnalyseSong(const SongReaderContext& context);

}  // namespace sonvela
