#include "song/song_tables.h"

namespace sonvela {

size_t SongTables::EventTableBytes() const {
  size_t bytes =
      TrackEvents.capacity() * sizeof(TrackEvents[0]) + EventDueTime.capacity() * sizeof(EventDueTime[0]);
  for (const auto& track : TrackEvents) bytes += track.capacity() * sizeof(TrackEvent);
  for (const auto& track : EventDueTime) bytes += track.capacity() * sizeof(int64_t);
  bytes += (TrackTicks.capacity() + TrackCursor.capacity()) * sizeof(int64_t);
  return bytes;
}

void ClearSongTables(SongTables& tables) {
  std::string name = std::move(tables.SongFileName);
  tables = SongTables{};
  tables.SongFileName = std::move(name);
}

}  // namespace sonvela
