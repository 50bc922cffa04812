#pragma once
// Loading songs from bytes in tests, with recorded message boxes.

#include <string>
#include <vector>

#include "files/load_song.h"
#include "song/analyse_song.h"
#include "song/event_table.h"
#include "song/song_document.h"
#include "support/fake_ports.h"
#include "text/logs.h"

namespace sonvela::test {

inline const LocalDateTime kTestTime{2026, 3, 7, 9, 5, 1};

struct LoadedSong {
  SongDocument document;
  Logs logs;
  RecordedMessages messages;
  const SongTables& tables() const { return document.Tables; }
  std::vector<std::string> listing() const { return document.Listing.Lines.ToVector(); }
};

// Analyses the bytes as the load of a file with this name would, then lists the event table.
inline void Load(LoadedSong& song, const std::string& bytes, const std::string& name = "song.mid",
                 const SongReaderParts& parts = {}) {
  ClearSongDocument(song.document);
  song.document.Tables.SongFileName = name;
  song.document.Tables.SongFileData = bytes;
  AnalyseSong({song.document.Tables, song.document.Listing, song.logs, song.messages, kTestTime, parts});
  ListEventTable(song.document, song.logs, song.messages);
}

}  // namespace sonvela::test
