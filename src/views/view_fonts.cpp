#include "views/view_fonts.h"

#include <QString>

namespace sonvela {

QFont FixedFont(int pixelSize, bool bold, bool antialiased) {
  QFont font(QStringLiteral("DejaVu Sans Mono"));
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setStyleStrategy(antialiased ? QFont::PreferAntialias : QFont::NoAntialias);
  return font;
}

QFont KaraokeFont(int pixelSize) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelSize);
  font.setBold(true);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

}  // namespace sonvela
