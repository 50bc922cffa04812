#pragma once
// The file reader: decodes the bytes of a Standard MIDI File or karaoke file once (song_decoder.h) and
// hands the events to the table builder and the listing formatter as it goes; writes the load's log.

#include <string_view>

#include "song/analysis_listing.h"
#include "song/song_tables.h"
#include "text/local_date_time.h"
#include "text/logs.h"
#include "text/message_boxes.h"

namespace sonvela {

// What a load builds besides the song's numbers, texts and track clocks. A consumer that shows one part
// only need not pay for the others: the toolbox prints the listing or the event table, never both.
struct SongReaderParts {
  bool listing = true;      // the analysis listing lines
  bool trackEvents = true;  // the per-track event lists that playback and the event table read
};

struct SongReaderContext {
  std::string_view fileName;  // shown in the log and the listing
  SongTables& tables;
  AnalysisListing& listing;
  Logs& logs;
  MessageBoxes& messages;
  LocalDateTime now;  // shown in the listing's opening lines
  SongReaderParts parts{};
};

// Reads SongFileData; rebuilds every song table (without the track events, when not
// asked for them). With no data: "No midi file loaded!".
void AnalyseSong(const SongReaderContext& context);

}  // namespace sonvela
