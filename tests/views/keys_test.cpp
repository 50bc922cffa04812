#include "views/keys.h"

#include <gtest/gtest.h>

#include "views/keyboards.h"
#include "views/pixels.h"
#include "views/surface.h"

namespace sonvela {
namespace {

using test::AllOf;
using test::Differences;
using test::PixelAt;
using test::Without;

constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kBlue = Rgb(0, 0, 255);

// A channel keyboard 631 pixels wide: white keys 10 pixels, 29 tall, cut-outs 17 rows deep.
class ChannelKeyboard : public testing::Test {
 protected:
  void SetUp() override {
    PaintChannelKeyboard(keyboard, picture, 0, kRedrawKeyboard);
    plain = keyboard.copy();
  }
  QRect Light(int key, int64_t colour) { return PaintChannelKeyboard(keyboard, picture, key, colour); }

  KeyboardPicture picture;
  QImage keyboard = MakeSurface({631, 29});
  QImage plain;
};

TEST(KeyLayout, SlotsAndShapes) {
  EXPECT_EQ(SlotOfKey(1), 0);
  EXPECT_EQ(SlotOfKey(108), 62);
  EXPECT_EQ(SlotOfKey(61), 35);
  EXPECT_EQ(SlotOfKey(62), 35);  // C# shares the slot of its C
  EXPECT_EQ(ShapeOfKey(61), KeyShape::kCutRight);
  EXPECT_EQ(ShapeOfKey(63), KeyShape::kCutBoth);
  EXPECT_EQ(ShapeOfKey(108), KeyShape::kCutLeft);
  EXPECT_EQ(ShapeOfKey(62), KeyShape::kBlack);
  EXPECT_EQ(WhiteKeyWidth(631), 10);
  EXPECT_EQ(WhiteKeyWidth(1261), 20);
}

TEST_F(ChannelKeyboard, LitWhiteKeyFillsItsSlotBelowAndItsNarrowedTopAbove) {
  // Key 61, a C at slot 35: x = 350..360, upper part up to 0.6 W = 356.
  const QRect changed = Light(61, kRed);
  EXPECT_EQ(Differences(plain, keyboard), QRect(QPoint(351, 1), QPoint(359, 28)));
  EXPECT_TRUE(changed.contains(QRect(QPoint(351, 1), QPoint(359, 28))));
  EXPECT_TRUE(AllOf(keyboard, QRect(QPoint(351, 18), QPoint(359, 28)), kRed));
  EXPECT_TRUE(AllOf(keyboard, QRect(QPoint(351, 1), QPoint(355, 17)), kRed));
  EXPECT_TRUE(AllOf(keyboard, QRect(QPoint(350, 0), QPoint(350, 28)), kBlack));  // outline on the left
  EXPECT_TRUE(AllOf(keyboard, QRect(QPoint(356, 0), QPoint(356, 17)), kBlack));  // beside the black key
  EXPECT_TRUE(AllOf(keyboard, QRect(QPoint(360, 17), QPoint(360, 28)), kBlack));
}

TEST_F(ChannelKeyboard, LitBlackKeyCoversTheTwoCutOutsAndNothingElse) {
  // Key 62, C#: 0.6 W .. 1.4 W of slot 35 (columns 356..363), 0.6 H deep (rows 0..16).
  const QRect key(QPoint(356, 0), QPoint(363, 16));
  const QRect changed = Light(62, kRed);
  EXPECT_TRUE(key.contains(Differences(plain, keyboard)));
  EXPECT_TRUE(key.contains(changed));
  EXPECT_TRUE(AllOf(keyboard, key.adjusted(1, 1, -1, -1), kRed));
  EXPECT_TRUE(AllOf(keyboard, QRect(QPoint(363, 0), QPoint(363, 16)), kBlack));
  EXPECT_TRUE(AllOf(keyboard, QRect(QPoint(356, 17), QPoint(363, 17)), kBlack));  // the white keys' step
  EXPECT_EQ(Without(plain, key), Without(keyboard, key));
}

TEST_F(ChannelKeyboard, RelitWhiteKeyLeavesItsBlackNeighbours) {
  // Key 63, D at slot 36, between C# (62) and D# (64).
  const QRect sharp(QPoint(356, 0), QPoint(363, 16));
  const QRect dSharp(QPoint(366, 0), QPoint(373, 16));
  Light(63, kBlue);
  Light(63, kRed);
  EXPECT_EQ(keyboard.copy(sharp), plain.copy(sharp));
  EXPECT_EQ(keyboard.copy(dSharp), plain.copy(dSharp));
  EXPECT_EQ(PixelAt(keyboard, 365, 8), kRed);   // the top, between the two black keys
  EXPECT_EQ(PixelAt(keyboard, 361, 25), kRed);  // the bottom, under C#
}

TEST_F(ChannelKeyboard, ShadingOnlyInTheOwnLookAndBackAfterRestore) {
  // The left edge of a white key runs from grey 100 to white over 0.3 W; a black key's sheen starts at 100.
  EXPECT_EQ(PixelAt(plain, 351, 20), Rgb(100, 100, 100));
  EXPECT_EQ(PixelAt(plain, 352, 20), Rgb(152, 152, 152));
  EXPECT_EQ(PixelAt(plain, 354, 20), kWhite);
  EXPECT_EQ(PixelAt(plain, 357, 8), Rgb(100, 100, 100));
  EXPECT_EQ(PixelAt(plain, 363, 8), Rgb(100, 100, 100));  // highlight on the right edge
  // Keys other than C and F are shaded below the cut-outs only.
  EXPECT_EQ(PixelAt(plain, 361, 10), kBlack);
  EXPECT_EQ(PixelAt(plain, 361, 20), Rgb(100, 100, 100));

  for (int key : {61, 62}) {
    Light(key, kRed);
    Light(key, kRestoreKey);
    EXPECT_EQ(keyboard, plain) << key;
  }
  Light(61, kRed);
  EXPECT_EQ(PixelAt(keyboard, 351, 20), kRed);
  Light(61, kWhite);  // lit in the white key's own colour: it looks like itself
  EXPECT_EQ(keyboard, plain);
}

TEST_F(ChannelKeyboard, KeysOutsideTheKeyboardDrawNothing) {
  for (int key : {-1, 0, 109, 128}) {
    EXPECT_TRUE(Light(key, kRed).isEmpty()) << key;
    EXPECT_TRUE(Light(key, kRestoreKey).isEmpty()) << key;
  }
  EXPECT_EQ(keyboard, plain);
  QImage tiny = MakeSurface({20, 10});
  EXPECT_TRUE(DrawKey(tiny, WhiteKeyWidth(20), 0, 10, 1, kRed).isEmpty());
  QImage empty;
  EXPECT_TRUE(DrawKey(empty, 10, 0, 29, 61, kRed).isEmpty());
}

TEST_F(ChannelKeyboard, FullRedrawPutsThePictureBack) {
  Light(61, kRed);
  Light(62, kBlue);
  EXPECT_EQ(Light(0, kRedrawKeyboard), keyboard.rect());
  EXPECT_EQ(keyboard, plain);
  // Another keyboard of the same size gets the same picture without drawing.
  QImage other = MakeSurface({631, 29}, kRed);
  PaintChannelKeyboard(other, picture, 0, kRedrawKeyboard);
  EXPECT_EQ(other, plain);
  // One of another size is drawn for its own size instead of showing a picture that does not fit.
  QImage wider = MakeSurface({1261, 29});
  PaintChannelKeyboard(wider, picture, 0, kRedrawKeyboard);
  EXPECT_EQ(PixelAt(wider, 700, 25), kBlack);  // key 61's left outline at 35 x 20
  EXPECT_EQ(picture.Image.size(), wider.size());
}

}  // namespace
}  // namespace sonvela
