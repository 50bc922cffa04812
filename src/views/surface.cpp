#include "views/surface.h"

#include <algorithm>

#include "views/view_colours.h"

namespace sonvela {

QImage MakeSurface(QSize size, Colour background) {
  QImage image(size, QImage::Format_RGB32);
  FillSurface(image, background);
  return image;
}

void FillSurface(QImage& image, Colour colour) {
  pixels::Prepare(image);
  image.fill(ToQRgb(colour));
}

namespace pixels {

void Prepare(QImage& image) {
  const QImage::Format format = image.format();
  if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
      format != QImage::Format_ARGB32_Premultiplied) {
    image.convertTo(QImage::Format_RGB32);
  }
}

QRect ClosedRect(const QImage& image, int x0, int y0, int x1, int y1) {
  return QRect(QPoint(x0, y0), QPoint(x1, y1)).intersected(image.rect());
}

void FillClosed(QImage& image, int x0, int y0, int x1, int y1, QRgb colour) {
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, image.width() - 1);
  y1 = std::min(y1, image.height() - 1);
  if (x1 < x0 || y1 < y0) return;
  for (int y = y0; y <= y1; ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    std::fill(row + x0, row + x1 + 1, colour);
  }
}

}  // namespace pixels
}  // namespace sonvela
