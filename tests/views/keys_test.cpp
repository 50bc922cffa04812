#include "views/keys.h"

#include <gtest/gtest.h>

#include "views/keyboards.h"
#include "views/pixels.h"
#include "views/surface.h"

namespace sonvela {
namespace {

using test::AllOf;
using test::PixelAt;
using test::Without;

constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kBlue = Rgb(0, 0, 255);
constexpr Colour kGrey100 = Rgb(100, 100, 100);

// A channel keyboard 631 pixels wide: white keys 10 pixels, 29 tall, cut-outs 17 rows deep.
// Key 61 (C at slot 35) spans x = 350..360, its C# (62) columns 356..363, the D (63) 360..370.
class ChannelKeyboard : public testing::Test {
 protected:
  void SetUp() override {
    Light(0, kRedrawKeyboard);
    plain = keyboard.copy();
  }
  QRect Light(int key, int64_t colour) { return PaintChannelKeyboard(keyboard, picture, key, colour); }

  KeyboardPicture picture;
  QImage keyboard = MakeSurface({631, 29});
  QImage plain;
};

TEST_F(ChannelKeyboard, LitWhiteKeyFillsItsSlotBelowAndItsNarrowedTopAbove) {
  const QRect changed = Light(61, kRed);
  const QRect fill(QPoint(351, 1), QPoint(359, 28));
  EXPECT_EQ(Without(plain, fill), Without(keyboard, fill));
  EXPECT_TRUE(changed.contains(fill));
  EXPECT_TRUE(AllOf(keyboard, QRect(QPoint(351, 18), QPoint(359, 28)), kRed));
  EXPECT_TRUE(AllOf(keyboard, QRect(QPoint(351, 1), QPoint(355, 17)), kRed));
  EXPECT_TRUE(AllOf(keyboard, QRect(QPoint(356, 0), QPoint(356, 17)), kBlack));  // outline beside C#
}

TEST_F(ChannelKeyboard, LitBlackKeyCoversTheTwoCutOutsAndNothingElse) {
  // 0.6 W .. 1.4 W of slot 35, 0.6 H deep: four columns in each white key's cut-out.
  const QRect key(QPoint(356, 0), QPoint(363, 16));
  EXPECT_TRUE(key.contains(Light(62, kRed)));
  EXPECT_EQ(Without(plain, key), Without(keyboard, key));
  EXPECT_TRUE(AllOf(keyboard, key.adjusted(1, 1, -1, -1), kRed));
  EXPECT_TRUE(AllOf(keyboard, QRect(QPoint(363, 0), QPoint(363, 16)), kBlack));

  // Relighting the white key between two black ones (one lit) leaves them as they are.
  const QRect dSharp(QPoint(366, 0), QPoint(373, 16));
  Light(63, kBlue);
  Light(63, kRed);
  EXPECT_TRUE(AllOf(keyboard, key.adjusted(1, 1, -1, -1), kRed));
  EXPECT_EQ(keyboard.copy(dSharp), plain.copy(dSharp));
  EXPECT_EQ(PixelAt(keyboard, 365, 8), kRed);  // the top, between the black keys
}

TEST_F(ChannelKeyboard, ShadingOnlyInTheOwnLookAndBackAfterRestore) {
  // A white key's left edge runs from grey 100 to white over 0.3 W (below the cut-outs on a D);
  // a black key has a sheen and a highlight on its right edge.
  EXPECT_EQ(PixelAt(plain, 351, 20), kGrey100);
  EXPECT_EQ(PixelAt(plain, 357, 8), kGrey100);
  EXPECT_EQ(PixelAt(plain, 363, 8), kGrey100);
  for (int key : {61, 62}) {
    Light(key, kRed);
    EXPECT_EQ(PixelAt(keyboard, 357, 8), key == 62 ? kRed : kGrey100);
    Light(key, kRestoreKey);
    EXPECT_EQ(keyboard, plain) << key;
  }
  Light(61, kRed);
  EXPECT_EQ(PixelAt(keyboard, 351, 20), kRed);
  Light(61, kWhite);  // lit in its own colour it looks like itself
  EXPECT_EQ(keyboard, plain);

  for (int key : {0, 109}) EXPECT_TRUE(Light(key, kRed).isEmpty()) << key;
  QImage narrow = MakeSurface({20, 10});  // less than half a pixel a key
  EXPECT_TRUE(DrawKey(narrow, WhiteKeyWidth(20), 0, 10, 1, kRed).isEmpty());
  EXPECT_EQ(keyboard, plain);
}

TEST_F(ChannelKeyboard, FullRedrawPutsThePictureBackForItsSizeOnly) {
  Light(61, kRed);
  EXPECT_EQ(Light(0, kRedrawKeyboard), keyboard.rect());
  EXPECT_EQ(keyboard, plain);
  // A keyboard of another size is drawn for its own size, not shown a picture that does not fit.
  QImage wider = MakeSurface({1261, 29});
  PaintChannelKeyboard(wider, picture, 0, kRedrawKeyboard);
  EXPECT_EQ(PixelAt(wider, 700, 25), kBlack);  // key 61's left outline at 35 x 20
  EXPECT_EQ(picture.Image.size(), wider.size());
}

}  // namespace
}  // namespace sonvela
