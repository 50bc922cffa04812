#include "views/lyric_line.h"

#include <gtest/gtest.h>

#include "views/pixels.h"
#include "views/surface.h"

namespace sonvela {
namespace {

using test::BoundsOf;
using test::PixelAt;

QImage Fresh(const QString& text) {
  QImage panel = MakeSurface({400, 40});
  LyricLineState state;
  ShowLyric(panel, state, text);
  return panel;
}

TEST(LyricLine, GrowsSyllableBySyllableAndASlashStartsANewLine) {
  for (const QString& breakMark : {QStringLiteral("/"), QStringLiteral("\\")}) {
    SCOPED_TRACE(breakMark.toStdString());
    QImage panel = MakeSurface({400, 40});
    LyricLineState state;
    ShowLyric(panel, state, "Hel");
    EXPECT_EQ(panel, Fresh("Hel"));
    const QRect hel = BoundsOf(panel, kLyricTextColour);
    ShowLyric(panel, state, "lo");
    EXPECT_EQ(panel, Fresh("Hello"));
    EXPECT_GT(BoundsOf(panel, kLyricTextColour).width(), hel.width());
    ShowLyric(panel, state, breakMark + "world");
    EXPECT_EQ(panel, Fresh("world"));
    EXPECT_EQ(state.LyricLine, "world");
    ShowLyric(panel, state, "s" + breakMark);  // a mark at the end starts the line too
    EXPECT_EQ(state.LyricLine, "s");
  }
}

TEST(LyricLine, CentredBothWaysInGreenOnTheGreyGreenPanel) {
  const QImage panel = Fresh("Hello");
  EXPECT_EQ(PixelAt(panel, 0, 0), kLyricBackground);
  const QRect text = BoundsOf(panel, kLyricTextColour);
  ASSERT_FALSE(text.isEmpty());
  EXPECT_NEAR(text.center().x(), 200, 3);
  EXPECT_NEAR(text.center().y(), 20, 4);
  EXPECT_GT(text.height(), 15);  // 20 points
}

}  // namespace
}  // namespace sonvela
