#pragma once
// The user's charset for the song's texts: from the environment (SONVELA_CHARSET) for one run, else as
// last chosen on the lyric line's menu, which keeps it between runs.

#include <QMenu>

#include <functional>
#include <string>

#include "platform/text_decoder.h"
#include "text/logs.h"

namespace sonvela {

// Chooses the charset the program starts with; a name the converter does not know is ignored, and said
// in the debug log.
void ChooseStartCharset(TextDecoder& texts, Logs& logs);
// Chooses `name` and keeps it for the next runs.
void ChooseAndKeepCharset(TextDecoder& texts, const std::string& name);
// The menu's charset entries, "Automatico" first, the chosen one checked; `choose` gets the name picked.
void AddCharsetChoices(QMenu& menu, const TextDecoder& texts, const std::function<void(std::string)>& choose);

}  // namespace sonvela
