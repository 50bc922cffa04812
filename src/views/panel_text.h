#pragma once
// Text on a panel with a transparent background, placed by the top left corner of its box.

#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPoint>
#include <QSize>
#include <QString>

#include "player/colours.h"

namespace sonvela {

// One line of text laid out once in a font, to be measured and then drawn as often as needed.
class PanelLine {
 public:
  PanelLine(const QFont& font, const QString& text);
  // Width (advance) and height (ascent + descent) of the line.
  QSize Extent() const { return extent_; }
  int PixelSize() const { return pixels_; }
  void Draw(QPainter& painter, QPoint topLeft, Colour colour) const;

 private:
  QList<QGlyphRun> runs_;
  QSize extent_;
  int pixels_;
};

// The line in the largest pixel size, from the font's own down to `minPixels`, at which it is at most
// `width` pixels wide; in `minPixels` when none is. The face stays: only the size gives way.
PanelLine FittedLine(QFont font, const QString& text, int width, int minPixels);

// Left edge (or top) that centres `inner` pixels in `outer` pixels, rounded to the nearest, ties to even.
int CentredIn(int outer, int inner);

}  // namespace sonvela
