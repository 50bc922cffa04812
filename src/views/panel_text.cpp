#include "views/panel_text.h"

#include <cmath>

#include <QFontMetrics>
#include <QTextLayout>

#include "views/view_colours.h"

namespace sonvela {

PanelLine::PanelLine(const QFont& font, const QString& text) {
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

int CentredIn(int outer, int inner) {
  return static_cast<int>(std::lrint((outer - inner) / 2.0));
}

}  // namespace sonvela
