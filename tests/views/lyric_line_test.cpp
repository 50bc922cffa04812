#include "views/lyric_line.h"

#include <gtest/gtest.h>

#include "views/pixels.h"
#include "views/surface.h"

namespace sonvela {
namespace {

QImage Fresh(const QString& text) {
  QImage panel = MakeSurface({400, 40});
  LyricLineState state;
  ShowLyric(panel, state, text);
  return panel;
}

TEST(LyricLine, GrowsSyllableBySyllableAndASlashStartsANewLine) {
  for (const QString& mark : {QStringLiteral("/"), QStringLiteral("\\")}) {
    SCOPED_TRACE(mark.toStdString());
    QImage panel = MakeSurface({400, 40});
    LyricLineState state;
    ShowLyric(panel, state, "Hel");
    EXPECT_EQ(panel, Fresh("Hel"));
    ShowLyric(panel, state, "lo");
    EXPECT_EQ(panel, Fresh("Hello"));
    ShowLyric(panel, state, mark + "world");
    EXPECT_EQ(panel, Fresh("world"));
    ShowLyric(panel, state, "s" + mark);
    EXPECT_EQ(state.LyricLine, "s");
  }
  // Centred both ways, in green on the grey-green panel.
  const QImage panel = Fresh("Hello");
  const QRect text = test::BoundsOf(panel, kLyricTextColour);
  EXPECT_EQ(test::PixelAt(panel, 0, 0), kLyricBackground);
  EXPECT_NEAR(text.center().x(), 200, 3);
  EXPECT_NEAR(text.center().y(), 20, 4);
  EXPECT_GT(text.width(), test::BoundsOf(Fresh("Hel"), kLyricTextColour).width());
}

}  // namespace
}  // namespace sonvela
