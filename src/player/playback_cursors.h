#pragma once
// Playback's hold on the song's events: when each event falls due, and per track the next event to play.
//
// Due times depend only on the events' ticks, so they are computed once for a load and kept until the tables
// change; a seek or a loop restart then places each cursor by a binary search over its track's due times, and
// costs tracks x log(events) however long the song. Tables are indexed like the song's: tracks 1..count,
// events 1..count of the track, slot 0 unused.

#include <cstdint>
#include <optional>
#include <vector>

#include "song/song_tables.h"

namespace sonvela {

class PlaybackCursors {
 public:
  // [track][event]: 60000 x the event's tick, in song time. A track plays in file order, so an event never
  // falls due before the one ahead of it: each due time is at least the previous one's, which keeps every
  // track's times ascending even for tables whose ticks are not.
  std::vector<std::vector<int64_t>> EventDueTime;
  // [track]: the next event to play, one past the track's last event once it has played them all.
  std::vector<int32_t> TrackCursor;

  // The due times belong to these tables: the same load (the tables' LoadGeneration) and the same shape.
  // Costs tracks x O(1).
  bool Matches(const SongTables& tables) const;
  // Computes the due times unless they already belong to these tables. Leaves the cursors unplaced.
  void Prepare(const SongTables& tables);
  // Every cursor on its track's first event.
  void PlaceAtStart();
  // Every cursor on its track's first event due after the position: the events at or before it are passed.
  void PlaceAfter(int64_t position);
  // The earliest due time among the events under the cursors; none when every track has played out.
  std::optional<int64_t> NextDueTime() const;
  // Forgets the song and gives back its room.
  void Clear();

  int32_t TrackCount() const { return static_cast<int32_t>(TrackCursor.size()) - 1; }
  int32_t EventCount(int32_t track) const {
    return static_cast<int32_t>(EventDueTime[static_cast<size_t>(track)].size()) - 1;
  }

 private:
  bool filled_ = false;
  uint64_t generation_ = 0;
};

}  // namespace sonvela
