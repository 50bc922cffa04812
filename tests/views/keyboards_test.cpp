// The keyboards: keys lit and restored, the big keyboard's marks and history strip, the key at the pointer.

#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "player/control_ids.h"
#include "views/key_at_pointer.h"
#include "views/keyboards.h"
#include "views/pixels.h"
#include "views/surface.h"

namespace sonvela {
namespace {

using test::Inside;

constexpr Colour kRed = Rgb(255, 0, 0), kBlue = Rgb(0, 0, 255);

// One keyboard in keyboards.png a step, at three sizes sharing one picture (at 3 pixels a key a black key's
// highlight reaches the next key, below 1 nothing is drawn): keys of each shape, a white key relit between
// black ones, both ends and beyond; then a big keyboard and its strip of uneven rows gone round the ring.
TEST(Keyboards, LightsAndRestoresMatchTheGoldenSheet) {
  constexpr int64_t kSteps[][2] = {
      {61, kRed},        {62, kRed},         {63, kBlue},       {63, kRed},          {65, kBlue},
      {64, kRestoreKey}, {1, kRed},          {108, kRed},       {0, kRed},           {109, kRed},
      {70, kRed},        {62, kRestoreKey},  {61, kRestoreKey}, {63, kRestoreKey},   {65, kRestoreKey},
      {1, kRestoreKey},  {108, kRestoreKey}, {61, kWhite},      {0, kRedrawKeyboard}};
  std::vector<QImage> sheet;
  KeyboardPicture picture;
  for (const QSize size : {QSize(631, 29), QSize(189, 15), QSize(20, 10)}) {
    QImage keyboard = MakeSurface(size), plain;
    PaintChannelKeyboard(keyboard, picture, 0, kRedrawKeyboard);
    plain = keyboard.copy();
    for (const auto& [key, colour] : kSteps) {
      const QImage before = keyboard.copy();
      EXPECT_TRUE(Inside(before, keyboard, PaintChannelKeyboard(keyboard, picture, int(key), colour))) << key;
      sheet.push_back(keyboard);
    }
    EXPECT_EQ(keyboard, plain);
    for (int key : {0, 109}) EXPECT_EQ(PaintChannelKeyboard(keyboard, picture, key, kRed), QRect()) << key;
  }
  BigKeyboardState big;
  QImage keyboard = MakeSurface({631, 110}), strip = MakeSurface({631, 455});
  for (int key = 39; key < 63; ++key)
    PaintBigKeyboard(big, keyboard, strip, key, key == 39 ? kRedrawKeyboard : Rgb(0, 4 * key, 0), true, true);
  sheet.insert(sheet.end(), {keyboard, HistoryStripShown(strip, big.HistoryTop)});
  test::ExpectGoldenSheet(sheet, "keyboards.png");
}

std::string Marked(const BigKeyboardState& state) {
  std::string keys;
  for (size_t i = 0; i < state.BigKeyboardMarks.size(); ++i)
    if (state.BigKeyboardMarks[i] == '*') keys += std::to_string(i + 1) + " ";
  return keys;
}

// A lit key is not lit again; nothing happens while hidden; notes without a key are marked and add a row
// without drawing; restoring draws even an unlit key; a redraw, the first too, unmarks all. Then round the
// ring twice: a snapshot fills the next row; with all ten in use, the last, as the rest move up.
TEST(BigKeyboard, MarksAndHistoryRows) {
  const std::tuple<int, int64_t, bool, bool, bool, int, const char*> kSteps[] = {
      {61, kRed, true, false, true, 0, "61 "},        {0, kRedrawKeyboard, true, true, true, 0, ""},
      {61, kRed, true, true, true, 1, "61 "},         {61, kBlue, true, true, false, 1, "61 "},
      {61, kRestoreKey, true, true, true, 1, ""},     {61, kRestoreKey, true, true, true, 1, ""},
      {62, kRed, false, true, false, 1, ""},          {62, kRed, true, false, true, 1, "62 "},
      {109, kRed, true, true, false, 2, "62 109 "},   {128, kRed, true, true, false, 3, "62 109 128 "},
      {0, kRed, true, true, false, 3, "62 109 128 "}, {0, kRedrawKeyboard, true, true, true, 3, ""}};
  BigKeyboardState state, other;
  QImage keyboard = MakeSurface({631, 110}), history = MakeSurface({631, 450}), plain = keyboard.copy();
  PaintBigKeyboard(other, plain, history, 0, kRedrawKeyboard, true, false);
  for (const auto& [key, colour, shown, historyOn, draws, rows, marked] : kSteps) {
    const QImage before = keyboard.copy();
    const auto change = PaintBigKeyboard(state, keyboard, history, key, colour, shown, historyOn);
    EXPECT_EQ(std::tuple(!change.Keyboard.isEmpty(), state.HistoryRow, Marked(state)),
              std::tuple(draws, rows, std::string(marked)));
    EXPECT_TRUE(Inside(before, keyboard, change.Keyboard) && (*marked != '\0' || keyboard == plain)) << key;
  }
  for (int key = 40; key < 73; ++key) {
    const QImage before = HistoryStripShown(history, state.HistoryTop);
    const int moved = state.HistoryRow == 10 ? 45 : 0;
    const QRect changed = PaintBigKeyboard(state, keyboard, history, key, kRed, true, true).History;
    const QImage shown = HistoryStripShown(history, state.HistoryTop);
    const int last = state.HistoryRow - 1;
    EXPECT_TRUE(Inside(before, shown, changed)) << key;
    EXPECT_EQ(shown.copy(0, 45 * last, 631, 45), keyboard.scaled(631, 45)) << key;  // rows under their middle
    EXPECT_EQ(shown.copy(0, 0, 631, 45 * last), before.copy(0, moved, 631, 45 * last)) << key;
  }
  EXPECT_EQ(state.HistoryRow, 10);
}

// The upper part in 108 strips, the lower part (below 3/5 of the height) by white slot; 0 outside.
TEST(KeyAtPointer, UpperPartIn108StripsLowerPartByWhiteSlot) {
  // 351 x 108 / 631 = 60.07; 70 is 7 W, slot 7; 35 lies in slot 3, the F.
  constexpr int kCases[][4] = {{0, 5, 631, 1},    {630, 5, 631, 108}, {351, 18, 631, 61}, {350, 18, 631, 60},
                               {70, 19, 630, 13}, {69, 19, 630, 12},  {365, 25, 631, 63}, {630, 29, 631, 108},
                               {-1, 5, 631, 0},   {-1, 25, 631, 0},   {631, 5, 631, 0},   {5, 30, 631, 0},
                               {35, 25, 630, 6},  {0, 0, 0, 0}};
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
