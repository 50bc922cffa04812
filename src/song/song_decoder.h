#pragma once
// The song decoder: walks the bytes of a Standard MIDI File or karaoke file once and hands what it finds
// on as it goes. Tolerant: it checks nothing first, decodes what it recognises, hands on what it does
// not, and never reads outside the data.

#include <string_view>

#include "song/song_events.h"

namespace sonvela {

// The tags delimit the tracks, not the length fields: a track runs from its "MTrk" to the next one.
// Running status carries from one track into the next.
void DecodeSong(std::string_view file, SongEvents& events);

}  // namespace sonvela
