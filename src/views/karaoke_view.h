#pragma once
// The karaoke window's picture: the line being sung whole, its sung part in a second colour, the next line
// below it, both as large as the picture's height allows and narrowed to fit its width. Which line and how
// much of it is the session's (session/karaoke_lines.h); this only draws what it is given.

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include "player/colours.h"

namespace sonvela {

constexpr Colour kKaraokeBackground = Rgb(16, 16, 48);
constexpr Colour kKaraokeSungColour = Rgb(255, 190, 0);
constexpr Colour kKaraokeLineColour = Rgb(255, 255, 255);
constexpr Colour kKaraokeNextColour = Rgb(150, 150, 190);

inline constexpr const char* kNoLyricsText = "Nessun testo";

struct KaraokeText {
  QString sung;    // of the current line, so far
  QString unsung;  // the rest of it
  QString next;    // the line after it
  bool noLyrics = false;
};

// The type size for a line and the one after it in a picture of that size: as large as the height allows,
// both lines fitting the width. Chosen once a line, so that the line stays put while it is sung.
int KaraokeTypeSize(QSize picture, const KaraokeText& text);
// Draws the whole picture; returns what it changed.
QRect DrawKaraoke(QImage& image, const KaraokeText& text, int typeSize);
// Draws only the current line, as a syllable along it is sung; returns what it changed.
QRect DrawKaraokeLine(QImage& image, const KaraokeText& text, int typeSize);

}  // namespace sonvela
