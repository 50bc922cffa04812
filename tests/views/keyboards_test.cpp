// The keyboards: keys lit and restored, the big keyboard's marks and history strip, the key at the pointer.

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "player/control_ids.h"
#include "views/key_at_pointer.h"
#include "views/keyboards.h"
#include "views/keys.h"
#include "views/pixels.h"
#include "views/surface.h"

namespace sonvela {
namespace {

using test::AllOf;
using test::PixelAt;
using test::Without;

constexpr Colour kRed = Rgb(255, 0, 0);
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

TEST_F(ChannelKeyboard, LitKeysFillTheirOwnShapeOnly) {
  // A white key: its slot below, its narrowed top above, the outline beside the C# kept.
  const QRect fill(QPoint(351, 1), QPoint(359, 28));
  EXPECT_TRUE(Light(61, kRed).contains(fill));
  EXPECT_EQ(Without(plain, fill), Without(keyboard, fill));
  EXPECT_TRUE(AllOf(keyboard, QRect(QPoint(351, 18), QPoint(359, 28)), kRed));
  EXPECT_TRUE(AllOf(keyboard, QRect(QPoint(351, 1), QPoint(355, 17)), kRed));
  EXPECT_TRUE(AllOf(keyboard, QRect(QPoint(356, 0), QPoint(356, 17)), kBlack));
  Light(61, kRestoreKey);

  // A black key: 0.6 W .. 1.4 W of slot 35, 0.6 H deep, four columns in each white key's cut-out.
  const QRect key(QPoint(356, 0), QPoint(363, 16));
  EXPECT_TRUE(key.contains(Light(62, kRed)));
  EXPECT_EQ(Without(plain, key), Without(keyboard, key));
  EXPECT_TRUE(AllOf(keyboard, key.adjusted(1, 1, -1, -1), kRed));
  EXPECT_TRUE(AllOf(keyboard, QRect(QPoint(363, 0), QPoint(363, 16)), kBlack));
  // Relighting the white key between two black ones (one lit) leaves them as they are.
  const QRect dSharp(QPoint(366, 0), QPoint(373, 16));
  Light(63, Rgb(0, 0, 255));
  Light(63, kRed);
  EXPECT_TRUE(AllOf(keyboard, key.adjusted(1, 1, -1, -1), kRed));
  EXPECT_EQ(keyboard.copy(dSharp), plain.copy(dSharp));
  EXPECT_EQ(PixelAt(keyboard, 365, 8), kRed);  // the top, between the black keys
}

TEST_F(ChannelKeyboard, ShadingOnlyInTheOwnLookAndBackAfterRestoreOrRedraw) {
  // Grey 100 at a white key's left edge and in a black key's sheen and right highlight.
  for (const QPoint shaded : {QPoint(351, 20), QPoint(357, 8), QPoint(363, 8)})
    EXPECT_EQ(PixelAt(plain, shaded.x(), shaded.y()), kGrey100);
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

  Light(61, kRed);
  EXPECT_EQ(Light(0, kRedrawKeyboard), keyboard.rect());
  EXPECT_EQ(keyboard, plain);
  // A keyboard of another size is drawn for its own size, not shown a picture that does not fit.
  QImage wider = MakeSurface({1261, 29});
  PaintChannelKeyboard(wider, picture, 0, kRedrawKeyboard);
  EXPECT_EQ(PixelAt(wider, 700, 25), kBlack);  // key 61's left outline at 35 x 20
  EXPECT_EQ(picture.Image.size(), wider.size());
}

bool RowsEqual(const QImage& a, int rowA, const QImage& b, int rowB) {
  return std::memcmp(a.constScanLine(rowA), b.constScanLine(rowB), static_cast<size_t>(a.width()) * 4) == 0;
}

// The big keyboard (white keys 10 pixels wide, 109 tall) shown, with its history strip of ten 45-pixel rows.
class BigKeyboard : public testing::Test {
 protected:
  void SetUp() override {
    Paint(0, kRedrawKeyboard);
    plain = keyboard.copy();
  }
  BigKeyboardChange Paint(int key, int64_t colour, bool shown = true) {
    return PaintBigKeyboard(state, keyboard, history, key, colour, shown, historyOn);
  }
  char Mark(int key) const { return state.BigKeyboardMarks.at(static_cast<size_t>(key - 1)); }
  // History row n shows the keyboard squeezed to 45 rows: row j is keyboard row (2j + 1) x 110 / 90.
  bool RowShowsKeyboard(int n, const QImage& shown) const {
    for (int j = 0; j < 45; ++j) {
      if (!RowsEqual(shown, 45 * n + j, keyboard, (2 * j + 1) * 110 / 90)) return false;
    }
    return true;
  }
  bool RowShowsKeyboard(int n) const {
    return RowShowsKeyboard(n, HistoryStripShown(history, state.HistoryTop));
  }

  const std::string kNoMarks = std::string(128, ' ');
  BigKeyboardState state;
  QImage keyboard = MakeSurface({631, 110});
  QImage history = MakeSurface({631, 450});
  QImage plain;
  bool historyOn = true;
};

TEST_F(BigKeyboard, LightingMarksTheKeyAndAddsAHistoryRowOnce) {
  EXPECT_EQ(state.BigKeyboardMarks, kNoMarks);
  EXPECT_EQ(Paint(61, kRed).History, QRect(0, 0, 631, 45));
  EXPECT_EQ(PixelAt(keyboard, 355, 100), kRed);
  EXPECT_EQ(Mark(61), '*');
  EXPECT_EQ(state.HistoryRow, 1);
  EXPECT_TRUE(RowShowsKeyboard(0));
  // A lit key is not lit again: no drawing, no row.
  const BigKeyboardChange again = Paint(61, Rgb(0, 0, 255));
  EXPECT_TRUE(again.Keyboard.isEmpty() && again.History.isEmpty());
  EXPECT_EQ(PixelAt(keyboard, 355, 100), kRed);
  EXPECT_EQ(state.HistoryRow, 1);
  // Cleared: unmarked, its own look back; clearing a key that is not lit still draws it.
  Paint(61, kRestoreKey);
  EXPECT_EQ(keyboard, plain);
  EXPECT_EQ(Mark(61), ' ');
  EXPECT_FALSE(Paint(61, kRestoreKey).Keyboard.isEmpty());
  // Hidden: nothing at all. Without history: no row.
  EXPECT_TRUE(Paint(62, kRed, false).Keyboard.isEmpty());
  EXPECT_EQ(Mark(62), ' ');
  historyOn = false;
  Paint(62, kRed);
  EXPECT_EQ(Mark(62), '*');
  EXPECT_EQ(state.HistoryRow, 1);
  // A full redraw unlights every key, the first one (which draws them) too.
  Paint(0, kRedrawKeyboard);
  EXPECT_EQ(keyboard, plain);
  EXPECT_EQ(state.BigKeyboardMarks, kNoMarks);
  BigKeyboardState fresh;
  PaintBigKeyboard(fresh, keyboard, history, 61, kRed, true, false);
  PaintBigKeyboard(fresh, keyboard, history, 0, kRedrawKeyboard, true, false);
  EXPECT_EQ(fresh.BigKeyboardMarks, kNoMarks);
  // Notes without a key are marked and add a row without drawing; not a note at all: nothing.
  historyOn = true;
  const int rows = state.HistoryRow;
  for (int key : {109, 128}) {
    const BigKeyboardChange change = Paint(key, kRed);
    EXPECT_TRUE(change.Keyboard.isEmpty() && !change.History.isEmpty()) << key;
    EXPECT_EQ(Mark(key), '*');
  }
  EXPECT_EQ(keyboard, plain);
  EXPECT_TRUE(Paint(0, kRed).History.isEmpty());
  EXPECT_EQ(state.HistoryRow, rows + 2);
}

TEST_F(BigKeyboard, TheEleventhLitKeyScrollsTheStrip) {
  for (int key = 40; key < 50; ++key) Paint(key, kRed);
  EXPECT_EQ(state.HistoryRow, 10);
  EXPECT_TRUE(RowShowsKeyboard(9));
  const QImage before = HistoryStripShown(history, state.HistoryTop);
  // Round the ring more than once: every snapshot lands in the last row, the rest move up one.
  for (int key = 50; key < 73; ++key) {
    EXPECT_EQ(Paint(key, kRed).History, history.rect());
    EXPECT_TRUE(RowShowsKeyboard(9)) << key;
    if (key == 51) {
      const QImage shown = HistoryStripShown(history, state.HistoryTop);
      for (int y = 0; y < 360; ++y) ASSERT_TRUE(RowsEqual(shown, y, before, y + 90)) << y;  // up two rows
    }
  }
  EXPECT_EQ(state.HistoryRow, 10);
  // Each row shows its own snapshot: the one above the last was taken before key 72 was lit.
  const QImage shown = HistoryStripShown(history, state.HistoryTop);
  Paint(72, kRestoreKey);
  EXPECT_TRUE(RowShowsKeyboard(8, shown));

  // Uneven rows (45 and 46 pixels): the last (410..454) all from the last snapshot, key 62 lit in it only.
  history = MakeSurface({631, 455});
  state = {};
  Paint(0, kRedrawKeyboard);
  for (int key = 40; key < 62; ++key) Paint(key, kRed);
  const int x = Paint(62, kRed).Keyboard.center().x();
  const QImage uneven = HistoryStripShown(history, state.HistoryTop);
  for (int y = 410; y < 455; ++y) {
    bool fromKeyboard = false;
    for (int k = 0; k < 110 && !fromKeyboard; ++k) fromKeyboard = RowsEqual(uneven, y, keyboard, k);
    ASSERT_TRUE(fromKeyboard) << y;
  }
  EXPECT_EQ(PixelAt(uneven, x, 411), kRed);
  EXPECT_NE(PixelAt(uneven, x, 365), kRed);
}

// The upper part in 108 strips, the lower part (below 3/5 of the height) by white slot; 0 outside.
TEST(KeyAtPointer, UpperPartIn108StripsLowerPartByWhiteSlot) {
  // 351 x 108 / 631 = 60.07; 70 is 7 W, slot 7.
  constexpr int kCases[][4] = {{0, 5, 631, 1},    {630, 5, 631, 108}, {351, 18, 631, 61}, {350, 18, 631, 60},
                               {70, 19, 630, 13}, {69, 19, 630, 12},  {365, 25, 631, 63}, {630, 29, 631, 108},
                               {-1, 5, 631, 0},   {-1, 25, 631, 0},   {631, 5, 631, 0},   {5, 30, 631, 0},
                               {0, 0, 0, 0}};
  for (const auto& [x, y, width, key] : kCases)
    EXPECT_EQ(KeyAtPointer({x, y}, {width, width == 0 ? 0 : 30}, kChannelKeyboardBase).Key, key)
        << x << "," << y;
  EXPECT_EQ(KeyAtPointer({351, 5}, {631, 30}, ChannelControl(kChannelKeyboardBase, 6)).LogLine,
            "Nota : 60 6");
  EXPECT_EQ(KeyAtPointer({0, 5}, {1261, 110}, kBigKeyboard).LogLine, "Nota : 0 201");
  EXPECT_EQ(KeyAtPointer({-3, 5}, {631, 30}, kChannelKeyboardBase).LogLine, "Nota :-1 1");
}

}  // namespace
}  // namespace sonvela
