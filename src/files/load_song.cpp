#include "files/load_song.h"

#include "files/read_song_file.h"
#include "song/analyse_song.h"
#include "song/event_table.h"

namespace sonvela {

void ClearSongDocument(SongDocument& document) {
  ClearSongTables(document.Tables);
  document.Listing.Lines.Clear();
  document.EventTable.Clear();
  ++document.LoadGeneration;
}

bool LoadSongFile(SongDocument& document, const std::string& fileName, Logs& logs, MessageBoxes& messages,
                  const LocalDateTime& now, const SongReaderParts& parts) {
  ClearSongDocument(document);
  document.FileName = fileName;
  const bool read = ReadSongFile(fileName, document.Tables, messages);
  AnalyseSong({fileName, document.Tables, document.Listing, logs, messages, now, parts});
  if (!read) return false;
  ListEventTable(document, logs, messages);
  return true;
}

}  // namespace sonvela
