#pragma once
// The file reader: decodes the bytes of a Standard MIDI File or karaoke file once (song_decoder.h) and
// hands the events to the table builder and the listing formatter as it goes; writes the load's log.

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
