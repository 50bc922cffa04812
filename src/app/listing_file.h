#pragma once
// Saving the analysis listing as a text file beside the song: "Salvo disass".

#include <string>

#include "text/line_list.h"
#include "text/message_boxes.h"

namespace sonvela {

// The song's path with its file name lower-cased and every ".mid" taken out of that name, then ".txt":
// "Music/Tune.Mid" gives "Music/tune.txt", "song.kar" gives "song.kar.txt". The folder keeps its case.
std::string ListingFileName(const std::string& songPath);

// Writes every line followed by CR LF into the listing file of the song. Says so when the file cannot be
// written and returns false; nothing is said on success.
bool SaveListing(const LineList& lines, const std::string& songPath, MessageBoxes& messages);

}  // namespace sonvela
