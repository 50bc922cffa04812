#pragma once
// The panels' fonts: DejaVu Sans Mono, a fixed-pitch face, at fixed pixel sizes so that a panel's pixels do
// not depend on the screen's resolution.

#include <QFont>

namespace sonvela {

// Level bars and instrument labels.
constexpr int kPanelFontPixels = 12;
// The lyric line: 20 points at 96 dots per inch.
constexpr int kLyricFontPixels = 27;

QFont FixedFont(int pixelSize, bool bold, bool antialiased);
inline QFont PanelFont() {
  return FixedFont(kPanelFontPixels, false, true);
}
inline QFont LyricFont() {
  return FixedFont(kLyricFontPixels, true, true);
}
// The karaoke window's words: DejaVu Sans Bold, a face made to be read from afar, at any size.
QFont KaraokeFont(int pixelSize);

}  // namespace sonvela
