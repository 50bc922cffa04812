#pragma once
// The karaoke line on its panel: the whole line so far, centred both ways. Which syllables make the line
// is the session's rule (session/lyric_line.h); this only draws what it is given.

#include <QImage>
#include <QString>

#include "player/colours.h"

namespace sonvela {

constexpr Colour kLyricBackground = Rgb(60, 100, 60);
constexpr Colour kLyricTextColour = Rgb(0, 255, 0);

// Clears the panel and draws the line on it. Returns the pixels it changed (the whole panel).
QRect DrawLyricLine(QImage& panel, const QString& line);

// The empty panel, as it is before the first lyric.
void ClearLyricPanel(QImage& panel);

}  // namespace sonvela
