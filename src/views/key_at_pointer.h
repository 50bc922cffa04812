#pragma once
// Which key lies under the pointer on a keyboard surface.

#include <string>

#include <QPoint>
#include <QSize>

namespace sonvela {

struct KeyHit {
  int Key = 0;          // 1..108, 0 when none
  std::string LogLine;  // for the debug log: "Nota : 60 6" for key 61 on the sixth channel keyboard
};

// pointer: relative to the keyboard's top left corner; size: the keyboard's size; controlId: the keyboard's
// control id (2200 + channel index, or the big keyboard's). Below 0.6 of the height the white key of the
// slot counts, above it the width is cut into 108 equal strips, one per key, whatever the drawn shapes.
KeyHit KeyAtPointer(QPoint pointer, QSize size, int controlId);

}  // namespace sonvela
