#include "song/song_tables.h"

namespace sonvela {

size_t SongTables::EventTableBytes() const {
  size_t bytes = TrackEvents.capacity() * sizeof(TrackEvents[0]);
  for (const auto& track : TrackEvents) bytes += track.capacity() * sizeof(TrackEvent);
  bytes += TrackTicks.capacity() * sizeof(int64_t);
  return bytes;
}

void ClearSongTables(SongTables& tables) {
  const uint64_t generation = tables.LoadGeneration;
  tables = SongTables{};
  tables.LoadGeneration = generation + 1;
}

}  // namespace sonvela
