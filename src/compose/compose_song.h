#pragma once
// The composer: a fixed demonstration piece, written as lines of note letters, becomes "creato.mid".

#include <string>

#include "text/logs.h"
#include "text/message_boxes.h"

namespace sonvela {

// The file the composer writes, and Create plays.
inline constexpr char kComposedFileName[] = "creato.mid";

// The bytes of the composed file; writes each voice text after parsing to the debug log.
std::string ComposeSongBytes(Logs& logs);

// Writes "creato.mid" into `directory` (created or truncated). When it cannot be written the user is
// told which file and why, and the result is false.
bool ComposeSong(const std::string& directory, Logs& logs, MessageBoxes& messages);

}  // namespace sonvela
