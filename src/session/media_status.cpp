#include "session/media_status.h"

#include <algorithm>
#include <cmath>

#include "player/progress_text.h"

namespace sonvela {

MediaStatus MediaStatusOf(const PlaySession& session, SongList& songs) {
  MediaStatus status;
  const SongTables& tables = session.Document().Tables;
  const TransportState& state = session.State();
  const Transport& player = session.Player();
  // An ended song has stopped its clock; a song whose output failed never started.
  if (state.Paused == 1 && player.SongStarted()) {
    status.playback = MediaPlayback::kPaused;
  } else if (player.Running() && player.SongStarted()) {
    status.playback = MediaPlayback::kPlaying;
  }
  status.songPath = session.Document().FileName;
  status.load = session.Document().LoadGeneration;
  if (!status.songPath.empty()) status.lengthUs = std::llround(SongLengthSeconds(tables) * 1e6);
  status.canGoNext = songs.NextIndex() >= 0;
  status.canGoPrevious = songs.PreviousIndex() >= 0;
  return status;
}

int64_t MediaPositionUs(const PlaySession& session) {
  const SongTables& tables = session.Document().Tables;
  if (session.Document().FileName.empty()) return 0;
  const double fraction = PlayedFraction(session.State().SongPosition, tables.LongestTrackTicks);
  return std::llround(std::clamp(fraction, 0.0, 1.0) * SongLengthSeconds(tables) * 1e6);
}

std::optional<Command> MediaCommand(MediaKey key, MediaPlayback playback) {
  switch (key) {
    case MediaKey::kPlayPause:
      return MediaCommand(playback == MediaPlayback::kPlaying ? MediaKey::kPause : MediaKey::kPlay, playback);
    case MediaKey::kPlay:
      if (playback == MediaPlayback::kPlaying) return std::nullopt;
      return Command{playback == MediaPlayback::kPaused ? CommandKind::kPause : CommandKind::kPlay};
    case MediaKey::kPause:
      if (playback != MediaPlayback::kPlaying) return std::nullopt;
      return Command{CommandKind::kPause};
    case MediaKey::kStop:
      return Command{CommandKind::kStop};
    case MediaKey::kNext:
      return Command{CommandKind::kNext};
    case MediaKey::kPrevious:
      return Command{CommandKind::kPrevious};
  }
  return std::nullopt;
}

}  // namespace sonvela
