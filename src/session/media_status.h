#pragma once
// What the desktop's media controls see of a session (playing, paused or stopped; the song, its length and
// position; whether the song list has a next and a previous entry), and what each media key asks for in
// the session's own commands, so that it acts as the window's button would.

#include <cstdint>
#include <optional>
#include <string>

#include "session/command.h"
#include "session/play_session.h"
#include "session/song_list.h"

namespace sonvela {

enum class MediaPlayback { kStopped, kPlaying, kPaused };
enum class MediaKey { kPlay, kPause, kPlayPause, kStop, kNext, kPrevious };

struct MediaStatus {
  MediaPlayback playback = MediaPlayback::kStopped;
  std::string songPath;  // empty: no song loaded
  uint64_t load = 0;     // which load of the session the song is (a new load is a new track)
  int64_t lengthUs = 0;
  bool canGoNext = false;
  bool canGoPrevious = false;

  bool operator==(const MediaStatus&) const = default;
};

MediaStatus MediaStatusOf(const PlaySession& session, SongList& songs);
// Where the song is, in microseconds from its start; 0 when none plays.
int64_t MediaPositionUs(const PlaySession& session);

// The command a media key gives now, none when it has nothing to do. Play resumes a paused song (the Pause
// toggle), starts a stopped one from its start (Play), and leaves a playing one alone.
std::optional<Command> MediaCommand(MediaKey key, MediaPlayback playback);

}  // namespace sonvela
