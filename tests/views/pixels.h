#pragma once
// Reading a panel's pixels in tests, and comparing panels with a golden PNG.

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "golden.h"
#include "player/colours.h"
#include "views/view_colours.h"

namespace sonvela::test {

// Bounding box of the pixels that pass the test (empty when none).
template <typename Test>
QRect BoundsWhere(const QImage& image, Test test) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (test(image.pixel(x, y) | 0xFF000000u)) bounds |= QRect(x, y, 1, 1);
  return bounds;
}
inline Colour PixelAt(const QImage& image, int x, int y) {
  const QRgb rgb = image.pixel(x, y);
  return Rgb(qRed(rgb), qGreen(rgb), qBlue(rgb));
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
// Bounding box of the pixels where two images of one size differ.
inline QRect Changed(const QImage& before, const QImage& after) {
  QRect bounds;
  for (int y = 0; y < after.height(); ++y)
    for (int x = 0; x < after.width(); ++x)
      if (before.pixel(x, y) != after.pixel(x, y)) bounds |= QRect(x, y, 1, 1);
  return bounds;
}
// Whether all that changed lies in the rectangle a painter said it changed: the surface repaints only that.
inline bool Inside(const QImage& before, const QImage& after, QRect rect) {
  return (Changed(before, after) | rect) == rect;
}

// The panels one below the other on black, against tests/data/<name>; SONVELA_WRITE_GOLDEN=1 rewrites it.
inline void ExpectGoldenSheet(const std::vector<QImage>& panels, const char* name) {
  int width = 0, height = 0;
  for (const QImage& panel : panels) width = std::max(width, panel.width()), height += panel.height();
  QImage sheet(width, height, QImage::Format_RGB32);
  sheet.fill(Qt::black);
  for (int y = 0; const QImage& panel : panels) {
    QPainter(&sheet).drawImage(0, y, panel);
    y += panel.height();
  }
  const QString path = QString::fromStdString(GoldenPath(name));
  ASSERT_TRUE(!WritingGolden() || sheet.save(path)) << name;
  const QImage golden(path);
  ASSERT_EQ(golden.size(), sheet.size()) << name;
  EXPECT_EQ(Changed(golden, sheet), QRect()) << name << ": where the pixels differ";
}

}  // namespace sonvela::test
