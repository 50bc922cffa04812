#include "views/panel_text.h"

#include <QFontMetrics>
#include <QPainter>

#include "views/surface.h"
#include "views/view_colours.h"

namespace sonvela {

QSize TextExtent(const QFont& font, const QString& text) {
  const QFontMetrics metrics(font);
  return {metrics.horizontalAdvance(text), metrics.height()};
}

void DrawTexts(QImage& image, const QFont& font, std::initializer_list<PanelText> texts) {
  pixels::Prepare(image);
  QPainter painter(&image);
  painter.setFont(font);
  const int ascent = painter.fontMetrics().ascent();
  for (const PanelText& text : texts) {
    if (text.Text.isEmpty()) continue;
    painter.setPen(ToQColor(text.TextColour));
    painter.drawText(text.TopLeft + QPoint(0, ascent), text.Text);
  }
}

}  // namespace sonvela
