#include "views/lyric_line.h"

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
  const PanelLine line(LyricFont(), state.LyricLine + piece);
  QPainter painter(&panel);
  line.Draw(
      painter,
      {CentredIn(panel.width(), line.Extent().width()), CentredIn(panel.height(), line.Extent().height())},
      kLyricTextColour);
  state.LyricLine += piece;
}

void ClearLyricPanel(QImage& panel) {
  FillSurface(panel, kLyricBackground);
}

}  // namespace sonvela
