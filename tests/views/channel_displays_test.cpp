#include "views/channel_displays.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>

#include "views/pixels.h"
#include "views/surface.h"
#include "views/view_fonts.h"

namespace sonvela {
namespace {

using test::AllOf;
using test::BoundsOf;
using test::BoundsWhere;

TEST(LevelBar, RisesFromTheBottomInItsShadeOfBlueToRed) {
  struct Case {
    int level;
    Colour bar;
    int top;  // 60 - level x 60 / 127, rounded; the panel is tall enough to see it below the digits
  };
  for (const Case& c : {Case{64, Rgb(129, 0, 126), 30}, Case{100, Rgb(201, 0, 54), 13},
                        Case{300, Rgb(255, 0, 0), 0}, Case{1, Rgb(2, 0, 253), 60}, Case{-5, kBlack, 60}}) {
    SCOPED_TRACE(c.level);
    QImage bar = MakeSurface({22, 60});
    DrawLevelBar(bar, c.level);
    const int top = std::max(c.top, 20);
    EXPECT_TRUE(top == 60 || AllOf(bar, QRect(0, top, 22, 60 - top), c.bar));
    EXPECT_TRUE(top == 20 || AllOf(bar, QRect(0, 20, 22, top - 20), kBlack));
  }
}

TEST(LevelBar, ShowsTheLevelInYellowCentredAtTheTop) {
  QImage bar = MakeSurface({22, 29});
  DrawLevelBar(bar, 0);
  const QRect digits = BoundsWhere(bar, [](QRgb rgb) { return rgb != qRgb(0, 0, 0); });
  EXPECT_TRUE(digits.contains(BoundsOf(bar, kLevelTextColour)));
  EXPECT_LT(digits.bottom(), QFontMetrics(PanelFont()).height());
  EXPECT_NEAR(digits.center().x(), 11, 1);
  // Nothing but yellow (and its smoothed edges) on the black panel for level 0.
  EXPECT_EQ(BoundsWhere(bar, [](QRgb rgb) { return qRed(rgb) != qGreen(rgb) || qBlue(rgb) != 0; }), QRect());
}

TEST(LevelBar, ThreeDigitsFitTheNarrowBarInASmallerSize) {
  // The window's bar is 18 pixels wide inside its frame; "127" in the panels' size is wider.
  QImage bar = MakeSurface({18, 25});
  DrawLevelBar(bar, 127);
  // On the full red bar the digits are what has any green in it.
  const QRect digits = BoundsWhere(bar, [](QRgb rgb) { return qGreen(rgb) > 0; });
  ASSERT_FALSE(digits.isEmpty());
  EXPECT_FALSE(BoundsOf(bar, kLevelTextColour).isEmpty());
  // Whole: clear of both edges, centred, at the top, and still tall enough to read.
  EXPECT_GE(digits.left(), 1);
  EXPECT_LE(digits.right(), 16);
  EXPECT_NEAR(digits.center().x(), 8.5, 1);
  EXPECT_LT(digits.top(), 4);
  EXPECT_GE(digits.height(), 6);

  // Two digits keep the panels' size: taller than the three.
  QImage two = MakeSurface({18, 25});
  DrawLevelBar(two, 99);
  EXPECT_GT(BoundsWhere(two, [](QRgb rgb) { return qGreen(rgb) > 0; }).height(), digits.height());
}

TEST(Label, LongNamesStayWholeWithTheirShadowInsideTheLabel) {
  // The window's label is 106 x 25 inside its frame. The first two fit in a smaller size; the longest
  // names are cut at their end in the smallest.
  for (const char* name : {"83 Lead 3 (calliope)", "47 Orchestral Strings", "25 Acoustic Guitar(nylon)"}) {
    SCOPED_TRACE(name);
    QImage label = MakeSurface({106, 25});
    DrawInstrumentLabel(label, name, kProgramShown);
    const QRect text = BoundsWhere(label, [](QRgb rgb) { return qBlue(rgb) > qRed(rgb); });
    const QRect shadow =
        BoundsWhere(label, [](QRgb rgb) { return qRed(rgb) == qBlue(rgb) && qRed(rgb) < 255; });
    ASSERT_FALSE(text.isEmpty());
    // Nothing reaches an edge, where the panel would cut it; the shadow is whole.
    EXPECT_GE(text.left(), 1);
    EXPECT_LE(shadow.right(), 104);
    EXPECT_EQ(shadow.bottomRight(), text.bottomRight() + QPoint(2, 2));
    EXPECT_GE(text.height(), 6);
    // It uses the room: no needless shrinking.
    EXPECT_GT(text.width(), 80);
  }
}

TEST(Label, CentresTheStrippedTextWithAGreyShadowTwoPixelsRightAndDown) {
  QImage label = MakeSurface({110, 29});
  DrawInstrumentLabel(label, "  Sax ", kProgramShown);
  // Blue text over a grey shadow on white: the text tints its pixels blue, the shadow leaves them grey.
  const QRect text = BoundsWhere(label, [](QRgb rgb) { return qBlue(rgb) > qRed(rgb); });
  const QRect shadow =
      BoundsWhere(label, [](QRgb rgb) { return qRed(rgb) == qBlue(rgb) && qRed(rgb) < 255; });
  EXPECT_NEAR(text.center().x(), 55, 1.5);
  EXPECT_NEAR(text.center().y(), 14, 2);
  EXPECT_EQ(shadow.bottomRight(), text.bottomRight() + QPoint(2, 2));
  EXPECT_FALSE(BoundsOf(label, kLabelShadowColour).isEmpty());
  EXPECT_EQ(BoundsWhere(label, [](QRgb rgb) { return rgb != qRgb(255, 255, 255); }), text | shadow);

  QImage stripped = MakeSurface({110, 29});
  DrawLabel(stripped, "Sax", kWhite, kProgramShown);
  EXPECT_EQ(label, stripped);
}

TEST(Label, ChannelUsageAndFonts) {
  QImage label = MakeSurface({110, 29});
  DrawChannelUsageLabel(label, false);
  QImage expected = MakeSurface({110, 29});
  DrawLabel(expected, "Non usato !", Rgb(192, 192, 192), kBlack);
  EXPECT_EQ(label, expected);
  DrawChannelUsageLabel(label, true);
  EXPECT_TRUE(AllOf(label, label.rect(), kWhite));

  for (const QFont& font : {PanelFont(), LyricFont()}) {
    EXPECT_EQ(QFontInfo(font).family(), "DejaVu Sans Mono");
    EXPECT_TRUE(QFontInfo(font).fixedPitch());
  }
}

}  // namespace
}  // namespace sonvela
