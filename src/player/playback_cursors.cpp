#include "player/playback_cursors.h"

#include <algorithm>
#include <limits>

#include "player/song_time.h"

namespace sonvela {

namespace {

// Tracks that the tables really hold, should TrackCount claim more.
size_t TracksOf(const SongTables& tables) {
  const size_t counted = tables.TrackCount > 0 ? static_cast<size_t>(tables.TrackCount) : 0;
  return std::min(counted, tables.TrackEvents.empty() ? 0 : tables.TrackEvents.size() - 1);
}

}  // namespace

bool PlaybackCursors::Matches(const SongTables& tables) const {
  if (!filled_ || generation_ != tables.LoadGeneration) return false;
  const size_t tracks = TracksOf(tables);
  if (EventDueTime.size() != tracks + 1) return false;
  for (size_t track = 1; track <= tracks; ++track) {
    if (EventDueTime[track].size() != tables.TrackEvents[track].size()) return false;
  }
  return true;
}

void PlaybackCursors::Prepare(const SongTables& tables) {
  if (Matches(tables)) return;
  const size_t tracks = TracksOf(tables);
  EventDueTime.resize(tracks + 1);
  EventDueTime[0].clear();
  for (size_t track = 1; track <= tracks; ++track) {
    const std::vector<TrackEvent>& events = tables.TrackEvents[track];
    std::vector<int64_t>& due = EventDueTime[track];
    due.resize(events.size());
    if (due.empty()) continue;  // a track without even its unused slot
    due[0] = 0;
    int64_t latest = std::numeric_limits<int64_t>::min();
    for (size_t index = 1; index < events.size(); ++index) {
      latest = std::max(latest, DueTimeOfTick(events[index].tick));
      due[index] = latest;
    }
  }
  TrackCursor.assign(tracks + 1, 0);
  filled_ = true;
  generation_ = tables.LoadGeneration;
}

void PlaybackCursors::PlaceAtStart() {
  std::fill(TrackCursor.begin(), TrackCursor.end(), 1);
  if (!TrackCursor.empty()) TrackCursor[0] = 0;
}

void PlaybackCursors::PlaceAfter(int64_t position) {
  for (size_t track = 1; track < TrackCursor.size(); ++track) {
    const std::vector<int64_t>& due = EventDueTime[track];
    const auto first = due.empty() ? due.begin() : due.begin() + 1;
    TrackCursor[track] = static_cast<int32_t>(std::upper_bound(first, due.end(), position) - due.begin());
  }
}

std::optional<int64_t> PlaybackCursors::NextDueTime() const {
  std::optional<int64_t> earliest;
  for (size_t track = 1; track < TrackCursor.size(); ++track) {
    const std::vector<int64_t>& due = EventDueTime[track];
    const auto cursor = static_cast<size_t>(TrackCursor[track]);
    if (cursor >= 1 && cursor < due.size() && (!earliest || due[cursor] < *earliest)) earliest = due[cursor];
  }
  return earliest;
}

void PlaybackCursors::Clear() {
  std::vector<std::vector<int64_t>>().swap(EventDueTime);
  std::vector<int32_t>().swap(TrackCursor);
  filled_ = false;
}

}  // namespace sonvela
