#pragma once
// Texts from song files are bytes; the screen shows them as DisplayText decodes them (valid UTF-8 as it
// is, anything else as Windows-1252).

#include <QString>

#include <string_view>

namespace sonvela {

QString ScreenText(std::string_view bytes);

}  // namespace sonvela
