#include "views/key_at_pointer.h"

#include <gtest/gtest.h>

#include "player/control_ids.h"

namespace sonvela {
namespace {

int Key(int x, int y, QSize size = {631, 30}) {  // white keys 10 wide; the upper part ends at row 18
  return KeyAtPointer({x, y}, size, kChannelKeyboardBase).Key;
}

TEST(KeyAtPointer, UpperPartIn108StripsLowerPartByWhiteSlot) {
  EXPECT_EQ(Key(0, 5), 1);
  EXPECT_EQ(Key(630, 5), 108);
  EXPECT_EQ(Key(351, 18), 61);  // 351 x 108 / 631 = 60.07
  EXPECT_EQ(Key(350, 18), 60);
  EXPECT_EQ(Key(70, 19, {630, 30}), 13);  // 7 W: slot 7
  EXPECT_EQ(Key(69, 19, {630, 30}), 12);
  EXPECT_EQ(Key(365, 25), 63);
  EXPECT_EQ(Key(630, 29), 108);
  for (QPoint outside : {QPoint(-1, 5), QPoint(-1, 25), QPoint(631, 5), QPoint(5, 30)}) {
    EXPECT_EQ(Key(outside.x(), outside.y()), 0) << outside.x() << "," << outside.y();
  }
  EXPECT_EQ(Key(0, 0, {0, 0}), 0);
}

TEST(KeyAtPointer, LogLineNamesTheNoteAndTheKeyboard) {
  EXPECT_EQ(KeyAtPointer({351, 5}, {631, 30}, ChannelControl(kChannelKeyboardBase, 6)).LogLine,
            "Nota : 60 6");
  EXPECT_EQ(KeyAtPointer({0, 5}, {1261, 110}, kBigKeyboard).LogLine, "Nota : 0 201");
  EXPECT_EQ(KeyAtPointer({-3, 5}, {631, 30}, kChannelKeyboardBase).LogLine, "Nota :-1 1");
}

}  // namespace
}  // namespace sonvela
