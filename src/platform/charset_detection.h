#pragma once
// Which charset a song's texts are written in, told from all of them together: one syllable alone is too
// little to tell. Texts that are valid UTF-8 take no part (they show as UTF-8).

#include <optional>
#include <string>

#include "song/song_tables.h"

namespace sonvela {

// The converter's name of the charset, or nullopt when the texts cannot tell.
std::optional<std::string> DetectCharset(const SongTables& song);

}  // namespace sonvela
