#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "views/keyboards.h"
#include "views/pixels.h"
#include "views/surface.h"

namespace sonvela {
namespace {

using test::PixelAt;

constexpr Colour kRed = Rgb(255, 0, 0);
const std::string kNoMarks(128, ' ');

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
  // History row n as shown holds the keyboard squeezed to 45 rows: row j shows keyboard row
  // (2j + 1) x 110 / 90.
  bool RowShowsKeyboard(int n) const {
    const QImage shown = HistoryStripShown(history, state.HistoryTop);
    for (int j = 0; j < 45; ++j) {
      if (!RowsEqual(shown, 45 * n + j, keyboard, (2 * j + 1) * 110 / 90)) return false;
    }
    return true;
  }

  BigKeyboardState state;
  QImage keyboard = MakeSurface({631, 110});
  QImage history = MakeSurface({631, 450});
  QImage plain;
  bool historyOn = true;
};

TEST_F(BigKeyboard, LightingMarksTheKeyAndAddsAHistoryRowOnce) {
  EXPECT_EQ(state.BigKeyboardMarks, kNoMarks);
  const BigKeyboardChange lit = Paint(61, kRed);
  EXPECT_EQ(PixelAt(keyboard, 355, 100), kRed);
  EXPECT_EQ(Mark(61), '*');
  EXPECT_EQ(state.HistoryRow, 1);
  EXPECT_TRUE(RowShowsKeyboard(0));
  EXPECT_EQ(lit.History, QRect(0, 0, 631, 45));

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
}

TEST_F(BigKeyboard, NotesWithoutAKeyAreMarkedAndAddARowWithoutDrawing) {
  for (int key : {109, 128}) {
    const BigKeyboardChange change = Paint(key, kRed);
    EXPECT_TRUE(change.Keyboard.isEmpty());
    EXPECT_FALSE(change.History.isEmpty());
    EXPECT_EQ(Mark(key), '*');
  }
  EXPECT_EQ(keyboard, plain);
  EXPECT_EQ(state.HistoryRow, 2);
  // Not a note at all: nothing.
  EXPECT_TRUE(Paint(0, kRed).History.isEmpty());
  EXPECT_EQ(state.HistoryRow, 2);
}

TEST_F(BigKeyboard, TheEleventhLitKeyScrollsTheStrip) {
  for (int key = 40; key < 50; ++key) Paint(key, kRed);
  EXPECT_EQ(state.HistoryRow, 10);
  EXPECT_TRUE(RowShowsKeyboard(9));
  const QImage before = HistoryStripShown(history, state.HistoryTop);
  // Round the ring more than once: every snapshot lands in the last row, the rest move up one.
  for (int key = 50; key < 73; ++key) {
    EXPECT_EQ(Paint(key, kRed).History, history.rect());
    EXPECT_EQ(state.HistoryRow, 10);
    EXPECT_TRUE(RowShowsKeyboard(9)) << key;
    if (key == 51) {
      const QImage shown = HistoryStripShown(history, state.HistoryTop);
      for (int y = 0; y < 360; ++y) ASSERT_TRUE(RowsEqual(shown, y, before, y + 90)) << y;  // up two rows
    }
  }
  // Each row shows its own snapshot: the one above the last was taken before key 72 was lit.
  const QImage shown = HistoryStripShown(history, state.HistoryTop);
  Paint(72, kRestoreKey);
  for (int j = 0; j < 45; ++j) {
    ASSERT_TRUE(RowsEqual(shown, 45 * 8 + j, keyboard, (2 * j + 1) * 110 / 90)) << j;
  }
}

TEST_F(BigKeyboard, AStripOfUnevenRowsIsShownInOrder) {
  history = MakeSurface({631, 455});  // rows of 45 and 46 pixels
  for (int key = 40; key < 62; ++key) Paint(key, kRed);
  const QRect key62 = Paint(62, kRed).Keyboard;
  const QImage shown = HistoryStripShown(history, state.HistoryTop);
  // The last row shown (410..454) is all of the last snapshot, with key 62 lit at its top; the row
  // above it was taken before.
  for (int y = 410; y < 455; ++y) {
    bool fromKeyboard = false;
    for (int k = 0; k < 110 && !fromKeyboard; ++k) fromKeyboard = RowsEqual(shown, y, keyboard, k);
    ASSERT_TRUE(fromKeyboard) << y;
  }
  const int x = key62.center().x();
  EXPECT_EQ(PixelAt(shown, x, 411), kRed);
  EXPECT_NE(PixelAt(shown, x, 365), kRed);
}

}  // namespace
}  // namespace sonvela
