#pragma once
// Reading a panel's pixels in tests.

#include <QImage>
#include <QRect>

#include "player/colours.h"
#include "views/view_colours.h"

namespace sonvela::test {

inline Colour PixelAt(const QImage& image, int x, int y) {
  const QRgb rgb = image.pixel(x, y);
  return Rgb(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

// Bounding box of the pixels that pass the test (empty when none).
template <typename Test>
QRect BoundsWhere(const QImage& image, Test test) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (test(image.pixel(x, y) | 0xFF000000u)) bounds |= QRect(x, y, 1, 1);
    }
  }
  return bounds;
}
inline QRect BoundsOf(const QImage& image, Colour colour) {
  return BoundsWhere(image, [&](QRgb rgb) { return rgb == ToQRgb(colour); });
}

// Whether every pixel of the (non-empty) rectangle has the colour.
inline bool AllOf(const QImage& image, QRect rect, Colour colour) {
  QImage expected(rect.size(), QImage::Format_RGB32);
  expected.fill(ToQRgb(colour));
  return !rect.isEmpty() && image.copy(rect).convertToFormat(QImage::Format_RGB32) == expected;
}

// The image with the rectangle blanked out, to compare what lies around it.
inline QImage Without(QImage image, QRect rect) {
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x) image.setPixel(x, y, 0xFF123456);
  return image;
}

}  // namespace sonvela::test
