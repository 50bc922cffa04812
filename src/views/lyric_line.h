#pragma once
// The karaoke line: grows syllable by syllable, centred both ways on its panel.

#include <QImage>
#include <QString>

#include "player/colours.h"

namespace sonvela {

constexpr Colour kLyricBackground = Rgb(60, 100, 60);
constexpr Colour kLyricTextColour = Rgb(0, 255, 0);

// Lives for the whole run: only a text that starts a new line empties it, not a new song.
struct LyricLineState {
  QString LyricLine;
};

// Shows the line so far followed by the text, then adds the text to the line. A text holding "/" or "\"
// starts a new line; those characters are not shown.
void ShowLyric(QImage& panel, LyricLineState& state, const QString& text);

// The empty panel, as it is before the first lyric.
void ClearLyricPanel(QImage& panel);

}  // namespace sonvela
