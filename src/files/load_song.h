#pragma once
// The load sequence without playback: clear the previous song, read the file, analyse it, list its
// event table.

#include <string>

#include "song/analyse_song.h"
#include "song/song_document.h"
#include "text/local_date_time.h"
#include "text/logs.h"
#include "text/message_boxes.h"

namespace sonvela {

// Clears what a new load rebuilds: the song tables, the listing lines and the event table; counts a new
// load generation.
void ClearSongDocument(SongDocument& document);

// Returns whether the file could be read (the analysis runs only then, and reports its own findings).
// `parts` leaves out what the caller will not show.
bool LoadSongFile(SongDocument& document, const std::string& fileName, Logs& logs, MessageBoxes& messages,
                  const LocalDateTime& now, const SongReaderParts& parts = {});

}  // namespace sonvela
