#include "views/lyric_line.h"

#include "views/panel_text.h"
#include "views/surface.h"
#include "views/view_fonts.h"

namespace sonvela {

QRect DrawLyricLine(QImage& panel, const QString& line) {
  ClearLyricPanel(panel);
  if (line.isEmpty()) return panel.rect();
  const PanelLine text(LyricFont(), line);
  QPainter painter(&panel);
  text.Draw(
      painter,
      {CentredIn(panel.width(), text.Extent().width()), CentredIn(panel.height(), text.Extent().height())},
      kLyricTextColour);
  return panel.rect();
}

void ClearLyricPanel(QImage& panel) {
  FillSurface(panel, kLyricBackground);
}

}  // namespace sonvela
