#include "views/panel_text.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>
#include <QTextLayout>

#include "views/view_colours.h"

namespace sonvela {

PanelLine::PanelLine(const QFont& font, const QString& text) : pixels_(font.pixelSize()) {
  QTextLayout layout(text, font);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  const QFontMetrics metrics(font);
  extent_ = {line.isValid() ? static_cast<int>(std::lrint(line.naturalTextWidth())) : 0, metrics.height()};
  if (line.isValid()) runs_ = line.glyphRuns();
}

void PanelLine::Draw(QPainter& painter, QPoint topLeft, Colour colour) const {
  painter.setPen(ToQColor(colour));
  for (const QGlyphRun& run : runs_) painter.drawGlyphRun(topLeft, run);
}

PanelLine FittedLine(QFont font, const QString& text, int width, int minPixels) {
  int pixels = font.pixelSize();
  PanelLine line(font, text);
  while (line.Extent().width() > width && pixels > minPixels) {
    // Widths scale about with the size: jump close to the fitting size, then step down if hinting made it
    // a little wider.
    const int scaled = static_cast<int>(static_cast<long long>(pixels) * width / line.Extent().width());
    pixels = std::max(minPixels, std::min(pixels - 1, scaled));
    font.setPixelSize(pixels);
    line = PanelLine(font, text);
  }
  return line;
}

int CentredIn(int outer, int inner) {
  return static_cast<int>(std::lrint((outer - inner) / 2.0));
}

}  // namespace sonvela
