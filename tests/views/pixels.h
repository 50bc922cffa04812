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

// Bounding box of the pixels in the colour (empty when none).
inline QRect BoundsOf(const QImage& image, Colour colour, QRect within = {}) {
  if (within.isNull()) within = image.rect();
  QRect bounds;
  for (int y = within.top(); y <= within.bottom(); ++y) {
    for (int x = within.left(); x <= within.right(); ++x) {
      if (PixelAt(image, x, y) == colour) bounds |= QRect(x, y, 1, 1);
    }
  }
  return bounds;
}

// Bounding box of the pixels that differ between two images of one size.
inline QRect Differences(const QImage& a, const QImage& b) {
  QRect bounds;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (a.pixel(x, y) != b.pixel(x, y)) bounds |= QRect(x, y, 1, 1);
    }
  }
  return bounds;
}

// Whether every pixel of the rectangle has the colour.
inline bool AllOf(const QImage& image, QRect rect, Colour colour) {
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    for (int x = rect.left(); x <= rect.right(); ++x) {
      if (PixelAt(image, x, y) != colour) return false;
    }
  }
  return !rect.isEmpty();
}

// The image with the rectangle cut out (filled with one colour), to compare what lies around it.
inline QImage Without(QImage image, QRect rect) {
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x) image.setPixel(x, y, 0xFF123456);
  return image;
}

}  // namespace sonvela::test
