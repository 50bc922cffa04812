#pragma once
// What the desktop program takes from its command line: the text of its arguments names one song.

#include <string>
#include <string_view>
#include <vector>

namespace sonvela {

// The arguments after the program's own name, joined by blanks, as bytes.
std::string ArgumentsText(const std::vector<std::string>& arguments);
// The song to load at start: the arguments' text with every double quote removed ("" when there are none).
// Nothing else is checked: several words make one path.
std::string SongFromArguments(std::string_view argumentsText);
// A copy that finds another one running says so only when it was started on a MIDI file.
bool NamesMidiFile(std::string_view argumentsText);

}  // namespace sonvela
