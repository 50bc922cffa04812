#pragma once
// The core's colours (24-bit, red in the low byte) as Qt colours.

#include <QColor>
#include <QRgb>

#include "player/colours.h"

namespace sonvela {

constexpr QRgb ToQRgb(Colour colour) {
  return qRgb(static_cast<int>(colour & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
              static_cast<int>(colour >> 16 & 0xFF));
}

inline QColor ToQColor(Colour colour) {
  return QColor::fromRgb(ToQRgb(colour));
}

}  // namespace sonvela
