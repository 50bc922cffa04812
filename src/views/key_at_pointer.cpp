#include "views/key_at_pointer.h"

#include <array>
#include <cstdint>

#include "player/control_ids.h"
#include "text/number_text.h"
#include "views/keys.h"

namespace sonvela {

namespace {

// Key number of the white key at each slot of an octave.
constexpr std::array<int, 7> kWhiteKeyOfSlot = {1, 3, 5, 6, 8, 10, 12};

int KeyAt(QPoint pointer, QSize size) {
  const int64_t width = size.width();
  const int64_t height = size.height();
  const int64_t rx = pointer.x();
  const int64_t ry = pointer.y();
  // Outside the keyboard (or on one of no size) there is no key.
  if (rx < 0 || ry < 0 || rx >= width || ry >= height) return 0;
  if (5 * ry > 3 * height) {
    const int64_t slot = kWhiteSlots * rx / width;
    return static_cast<int>(12 * (slot / 7)) + kWhiteKeyOfSlot[static_cast<size_t>(slot % 7)];
  }
  return static_cast<int>(rx * kKeyCount / width) + 1;
}

}  // namespace

KeyHit KeyAtPointer(QPoint pointer, QSize size, int controlId) {
  KeyHit hit;
  hit.Key = KeyAt(pointer, size);
  hit.LogLine = "Nota :" + NumberText(hit.Key - 1) + NumberText(controlId - kChannelKeyboardBase + 1);
  return hit;
}

}  // namespace sonvela
