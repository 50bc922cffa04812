#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "views/keyboards.h"
#include "views/keys.h"
#include "views/pixels.h"
#include "views/surface.h"

namespace sonvela {
namespace {

using test::PixelAt;

constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kBlue = Rgb(0, 0, 255);

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
  // History row n holds the keyboard squeezed to 45 rows: row j shows keyboard row (2j + 1) x 110 / 90.
  bool RowShows(int n, const QImage& picture) const {
    for (int j = 0; j < 45; ++j) {
      if (!RowsEqual(history, 45 * n + j, picture, (2 * j + 1) * 110 / 90)) return false;
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
  EXPECT_EQ(state.BigKeyboardMarks, std::string(128, ' '));
  EXPECT_EQ(PixelAt(keyboard, 355, 100), kWhite);
  const BigKeyboardChange lit = Paint(61, kRed);
  EXPECT_EQ(PixelAt(keyboard, 355, 100), kRed);
  EXPECT_EQ(Mark(61), '*');
  EXPECT_EQ(state.HistoryRow, 1);
  EXPECT_TRUE(RowShows(0, keyboard));
  EXPECT_EQ(lit.History, QRect(0, 0, 631, 45));
  EXPECT_EQ(PixelAt(history, 0, 45), kWhite);

  // A lit key is not lit again: no drawing, no row.
  const BigKeyboardChange again = Paint(61, kBlue);
  EXPECT_TRUE(again.Keyboard.isEmpty());
  EXPECT_TRUE(again.History.isEmpty());
  EXPECT_EQ(PixelAt(keyboard, 355, 100), kRed);
  EXPECT_EQ(state.HistoryRow, 1);

  // Cleared: its own look back and unmarked. Clearing a key that is not lit still draws it.
  Paint(61, kRestoreKey);
  EXPECT_EQ(keyboard, plain);
  EXPECT_EQ(Mark(61), ' ');
  EXPECT_FALSE(Paint(61, kRestoreKey).Keyboard.isEmpty());
  EXPECT_EQ(state.HistoryRow, 1);
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
  EXPECT_TRUE(Paint(129, kRed).History.isEmpty());
  EXPECT_EQ(state.HistoryRow, 2);
}

TEST_F(BigKeyboard, HiddenOrWithoutHistoryDoesLess) {
  EXPECT_TRUE(Paint(61, kRed, false).Keyboard.isEmpty());
  EXPECT_EQ(Mark(61), ' ');
  EXPECT_EQ(keyboard, plain);
  historyOn = false;
  Paint(61, kRed);
  EXPECT_EQ(Mark(61), '*');
  EXPECT_EQ(state.HistoryRow, 0);
}

TEST_F(BigKeyboard, RedrawFromThePictureUnlightsEveryKey) {
  Paint(61, kRed);
  Paint(110, kRed);
  Paint(0, kRedrawKeyboard);
  EXPECT_EQ(keyboard, plain);
  EXPECT_EQ(state.BigKeyboardMarks, std::string(128, ' '));
}

TEST_F(BigKeyboard, TheEleventhLitKeyScrollsTheStrip) {
  for (int key = 40; key < 50; ++key) Paint(key, kRed);
  EXPECT_EQ(state.HistoryRow, 10);
  EXPECT_TRUE(RowShows(9, keyboard));
  const QImage before = history.copy();
  for (int key = 50; key < 52; ++key) {
    const BigKeyboardChange change = Paint(key, kBlue);
    EXPECT_EQ(change.History, history.rect());
    EXPECT_EQ(state.HistoryRow, 10);
    EXPECT_TRUE(RowShows(9, keyboard));
  }
  // Two scrolls: the third row of before is now the first.
  for (int y = 0; y < 360; ++y) EXPECT_TRUE(RowsEqual(history, y, before, y + 90)) << y;

  ClearHistoryStrip(history);
  EXPECT_EQ(PixelAt(history, 300, 300), kWhite);
  EXPECT_EQ(state.HistoryRow, 10);
}

}  // namespace
}  // namespace sonvela
