#include "views/lyric_line.h"

#include <gtest/gtest.h>

#include "views/pixels.h"
#include "views/surface.h"

namespace sonvela {
namespace {

QImage Drawn(const QString& line) {
  QImage panel = MakeSurface({400, 40});
  DrawLyricLine(panel, line);
  return panel;
}

TEST(LyricLine, DrawsTheWholeLineCentredInGreenAndReplacesTheLineBefore) {
  const QImage panel = Drawn("Hello");
  const QRect text = test::BoundsOf(panel, kLyricTextColour);
  EXPECT_EQ(test::PixelAt(panel, 0, 0), kLyricBackground);
  EXPECT_NEAR(text.center().x(), 200, 3);
  EXPECT_NEAR(text.center().y(), 20, 4);
  EXPECT_GT(text.width(), test::BoundsOf(Drawn("Hel"), kLyricTextColour).width());

  // A new line leaves nothing of the longer one before it; an empty line is the empty panel.
  QImage reused = Drawn("A much longer line of text");
  DrawLyricLine(reused, "Hello");
  EXPECT_EQ(reused, panel);
  DrawLyricLine(reused, QString());
  QImage empty = MakeSurface({400, 40});
  ClearLyricPanel(empty);
  EXPECT_EQ(reused, empty);
}

}  // namespace
}  // namespace sonvela
