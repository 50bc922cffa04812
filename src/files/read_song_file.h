#pragma once
// Reading a song file: the whole file into memory in one read.

#include <string>

#include "song/song_tables.h"
#include "text/message_boxes.h"

namespace sonvela {

// Reads the file `fileName` into SongFileData. On failure SongFileData stays empty and the user is told
// which file and why; returns whether the file was read.
bool ReadSongFile(const std::string& fileName, SongTables& tables, MessageBoxes& messages);

}  // namespace sonvela
