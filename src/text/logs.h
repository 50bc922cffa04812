#pragma once
// The two running text logs: the debug log (Debug window) and the message log (main window).
// Every subsystem writes them one line per call; the text "RESET" empties a log.

#include <string_view>

#include "text/line_list.h"

namespace sonvela {

struct Logs {
  LineList Debug;
  LineList Messages;
};

void DebugLog(Logs& logs, std::string_view text);
// Splits the text at CR LF pairs and adds each piece that is not blank, unchanged.
void MessageLog(Logs& logs, std::string_view text);

}  // namespace sonvela
