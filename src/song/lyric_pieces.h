#pragma once
// Which of a song's events sing, and how a Lyric event becomes a piece of the lyric line. A karaoke song's
// syllables are its Text events; a song without them sings from its Lyric events, by the same marks, and a
// Lyric ending in a line break ends its line. The lyric line and the karaoke window both read the song so.

#include <string>
#include <string_view>

#include "song/song_tables.h"

namespace sonvela {

// The song has no Text event with a text: its Lyric events are its words.
bool SingsFromLyricEvents(const SongTables& tables);

// Lyric events, in the order they are sung, as pieces of the lyric line (session/lyric_line.h).
class LyricEventPieces {
 public:
  // The piece the Lyric event's tagged text gives, into `piece` (its room reused): the text without its
  // tag and line breaks, after a "/" when the Lyric before it ended its line.
  void Take(std::string_view tagged, std::string& piece);

 private:
  bool lineEnded_ = false;
};

}  // namespace sonvela
