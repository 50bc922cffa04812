#pragma once
// What the views keep between calls, owned by the window for the life of the program.

#include "views/keyboards.h"

namespace sonvela {

struct ViewState {
  KeyboardPicture ChannelKeyboard;  // shared by the sixteen channel keyboards
  BigKeyboardState BigKeyboard;     // its picture, BigKeyboardMarks and the history strip's HistoryRow
};

}  // namespace sonvela
