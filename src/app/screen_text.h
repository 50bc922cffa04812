#pragma once
// Texts on the screen. The program's own texts, device names and file names are UTF-8; the texts that
// songs carry are bytes in the song's charset, which the one TextDecoder reads.

#include <QString>

#include <string_view>

#include "platform/text_decoder.h"

namespace sonvela {

QString ScreenText(std::string_view utf8);
QString SongText(const TextDecoder& texts, std::string_view bytes);

}  // namespace sonvela
