#pragma once
// Drawing surfaces: the QImage of each panel, and the pixel primitives the painters share. Painters write
// 32-bit pixels straight into the image's rows; a surface of another format is converted on first use.

#include <QImage>
#include <QRect>
#include <QSize>

#include "player/colours.h"

namespace sonvela {

// A surface of the given size in the format the painters write, filled with `background`.
QImage MakeSurface(QSize size, Colour background = kWhite);

// Fills the whole surface with one colour.
void FillSurface(QImage& image, Colour colour);

namespace pixels {

// Converts the image to a 32-bit format when it is not one already.
void Prepare(QImage& image);

// Fills columns x0..x1 and rows y0..y1, both inclusive, clipped to the image. Empty when x1 < x0 or y1 < y0.
void FillClosed(QImage& image, int x0, int y0, int x1, int y1, QRgb colour);

// One vertical line at column x over rows y0 .. y1 - 1 (the end row is not drawn).
inline void VerticalLine(QImage& image, int x, int y0, int y1, QRgb colour) {
  FillClosed(image, x, y0, x, y1 - 1, colour);
}

// The rectangle of columns x0..x1 and rows y0..y1 (inclusive), clipped to the image.
QRect ClosedRect(const QImage& image, int x0, int y0, int x1, int y1);

}  // namespace pixels
}  // namespace sonvela
