#include "views/lyric_line.h"

#include <cmath>

#include "views/panel_text.h"
#include "views/surface.h"
#include "views/view_fonts.h"

namespace sonvela {

void ShowLyric(QImage& panel, LyricLineState& state, const QString& text) {
  QString piece = text;
  if (piece.contains(QLatin1Char('/')) || piece.contains(QLatin1Char('\\'))) state.LyricLine.clear();
  piece.remove(QLatin1Char('/'));
  piece.remove(QLatin1Char('\\'));

  ClearLyricPanel(panel);
  const QFont font = LyricFont();
  const QString shown = state.LyricLine + piece;
  const QSize extent = TextExtent(font, shown);
  const QPoint at(static_cast<int>(std::lrint((panel.width() - extent.width()) / 2.0)),
                  static_cast<int>(std::lrint((panel.height() - extent.height()) / 2.0)));
  DrawTexts(panel, font, {{at, shown, kLyricTextColour}});
  state.LyricLine += piece;
}

void ClearLyricPanel(QImage& panel) {
  FillSurface(panel, kLyricBackground);
}

}  // namespace sonvela
