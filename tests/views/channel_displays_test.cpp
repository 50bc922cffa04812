#include "views/channel_displays.h"

#include <algorithm>

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
using test::PixelAt;

TEST(LevelBar, RisesFromTheBottomInItsShadeOfBlueToRed) {
  // Tall enough that the bar's top lies below the digits.
  struct Case {
    int level;
    Colour bar;
    int top;  // first row of the bar: 60 - level x 60 / 127, rounded
  };
  for (const Case& c : {Case{64, Rgb(129, 0, 126), 30}, Case{100, Rgb(201, 0, 54), 13},
                        Case{127, Rgb(255, 0, 0), 0}, Case{1, Rgb(2, 0, 253), 60}}) {
    SCOPED_TRACE(c.level);
    QImage bar = MakeSurface({22, 60});
    DrawLevelBar(bar, c.level);
    const int barTop = std::max(c.top, 20);
    if (barTop < 60) {
      EXPECT_TRUE(AllOf(bar, QRect(0, barTop, 22, 60 - barTop), c.bar));
    }
    if (c.top > 20) {
      EXPECT_TRUE(AllOf(bar, QRect(0, 20, 22, c.top - 20), kBlack));
    }
  }
  // Out of range: the colour stays within its parts and the bar within the panel.
  QImage bar = MakeSurface({22, 60});
  DrawLevelBar(bar, 300);
  EXPECT_TRUE(AllOf(bar, QRect(0, 20, 22, 40), Rgb(255, 0, 0)));
  DrawLevelBar(bar, -5);
  EXPECT_TRUE(AllOf(bar, QRect(0, 20, 22, 40), kBlack));
}

// Bounding box of the pixels that pass the test.
template <typename Test>
QRect BoundsWhere(const QImage& image, Test test) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (test(image.pixel(x, y))) bounds |= QRect(x, y, 1, 1);
    }
  }
  return bounds;
}

TEST(LevelBar, ShowsTheLevelInYellowCentredAtTheTop) {
  QImage bar = MakeSurface({22, 29});
  DrawLevelBar(bar, 0);
  const QRect digits = BoundsWhere(bar, [](QRgb rgb) { return rgb != qRgb(0, 0, 0); });
  ASSERT_FALSE(BoundsOf(bar, kLevelTextColour).isEmpty());
  EXPECT_TRUE(digits.contains(BoundsOf(bar, kLevelTextColour)));
  EXPECT_LT(digits.bottom(), QFontMetrics(PanelFont()).height());
  EXPECT_NEAR(digits.center().x(), 11, 1);
  // Nothing but the yellow text (and its smoothed edges) on the black panel for level 0.
  EXPECT_EQ(BoundsWhere(bar, [](QRgb rgb) { return qRed(rgb) != qGreen(rgb) || qBlue(rgb) != 0; }), QRect());

  QImage three = MakeSurface({22, 29});
  DrawLevelBar(three, 127);
  EXPECT_GT(BoundsOf(three, kLevelTextColour).width(), BoundsOf(bar, kLevelTextColour).width() * 2);
}

TEST(Label, CentresTheStrippedTextWithAGreyShadowTwoPixelsRightAndDown) {
  QImage label = MakeSurface({110, 29});
  DrawLabel(label, "  Sax ", kWhite, kProgramShown);
  // Blue text over a grey shadow on white: the text tints its pixels blue, the shadow leaves them grey.
  const QRect text = BoundsWhere(label, [](QRgb rgb) { return qBlue(rgb) > qRed(rgb); });
  const QRect shadow =
      BoundsWhere(label, [](QRgb rgb) { return qRed(rgb) == qBlue(rgb) && qRed(rgb) < 255; });
  ASSERT_FALSE(text.isEmpty());
  EXPECT_NEAR(text.center().x(), 55, 1.5);
  EXPECT_NEAR(text.center().y(), 14, 2);
  EXPECT_EQ(shadow.bottomRight(), text.bottomRight() + QPoint(2, 2));
  EXPECT_FALSE(BoundsOf(label, kLabelShadowColour).isEmpty());
  EXPECT_FALSE(BoundsOf(label, kProgramShown).isEmpty());
  EXPECT_EQ(BoundsWhere(label, [](QRgb rgb) { return rgb != qRgb(255, 255, 255); }), text | shadow);

  QImage unstripped = MakeSurface({110, 29});
  DrawLabel(unstripped, "Sax", kWhite, kProgramShown);
  EXPECT_EQ(label, unstripped);
}

TEST(PanelFonts, AreTheFixedPitchFace) {
  for (const QFont& font : {PanelFont(), LyricFont()}) {
    const QFontInfo info(font);
    EXPECT_EQ(info.family(), "DejaVu Sans Mono");
    EXPECT_TRUE(info.fixedPitch());
  }
  EXPECT_TRUE(QFontInfo(LyricFont()).bold());
}

TEST(Label, InstrumentLabelsAndChannelUsage) {
  QImage label = MakeSurface({110, 29});
  DrawInstrumentLabel(label, "66 Sax", kProgramStepped);
  EXPECT_EQ(PixelAt(label, 0, 0), kWhite);
  EXPECT_FALSE(BoundsOf(label, kProgramStepped).isEmpty());

  DrawChannelUsageLabel(label, false);
  QImage expected = MakeSurface({110, 29});
  DrawLabel(expected, "Non usato !", kUnusedLabelBackground, kBlack);
  EXPECT_EQ(label, expected);
  EXPECT_EQ(PixelAt(label, 0, 0), Rgb(192, 192, 192));
  EXPECT_FALSE(BoundsOf(label, kBlack).isEmpty());

  DrawChannelUsageLabel(label, true);
  EXPECT_TRUE(AllOf(label, label.rect(), kWhite));
}

}  // namespace
}  // namespace sonvela
