#pragma once
// Texts from song files are bytes; the screen shows valid UTF-8 as UTF-8 and reads anything else as
// Windows-1252, the code page of the karaoke files of their time.

#include <QString>

#include <string_view>

namespace sonvela {

QString ScreenText(std::string_view bytes);

}  // namespace sonvela
