#include "views/keys.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "views/surface.h"
#include "views/view_colours.h"

namespace sonvela {

namespace {

constexpr std::array<int, 12> kWhiteSlot = {0, 0, 1, 1, 2, 3, 3, 4, 4, 5, 5, 6};
constexpr std::array<KeyShape, 12> kShape = {KeyShape::kCutRight, KeyShape::kBlack,   KeyShape::kCutBoth,
                                             KeyShape::kBlack,    KeyShape::kCutLeft, KeyShape::kCutRight,
                                             KeyShape::kBlack,    KeyShape::kCutBoth, KeyShape::kBlack,
                                             KeyShape::kCutBoth,  KeyShape::kBlack,   KeyShape::kCutLeft};

// Key geometry is worked out in single precision and rounded to the nearest pixel, ties to even.
int Px(float value) {
  return static_cast<int>(std::lrint(value));
}

QRgb Grey(float level) {
  const int g = std::clamp(Px(level), 0, 255);
  return qRgb(g, g, g);
}

// A white key is the lattice of its outline: a lower block the full slot wide and an upper block narrowed
// by the cut-outs that the black keys fill. Outline pixels are those on the boundary, the rest is fill.
QRect DrawWhiteKey(QImage& image, KeyShape shape, int x, int w, int top, int h, Colour colour) {
  const float fx = static_cast<float>(x);
  const float fw = static_cast<float>(w);
  const float ft = static_cast<float>(top);
  const float fh = static_cast<float>(h);
  const int right = x + w;
  const int bottom = top + h;
  const int step = Px(ft + 0.6f * fh);  // where the cut-outs end
  const int upperLeft = shape == KeyShape::kCutRight ? x : Px(fx + 0.4f * fw);
  const int upperRight = shape == KeyShape::kCutLeft ? right : Px(fx + 0.6f * fw);

  const QRgb outline = ToQRgb(kKeyOutline);
  const QRgb fill = ToQRgb(colour);
  pixels::FillClosed(image, upperLeft, top, upperRight, step, outline);
  pixels::FillClosed(image, x, step, right, bottom, outline);
  pixels::FillClosed(image, upperLeft + 1, top + 1, upperRight - 1, bottom - 1, fill);
  pixels::FillClosed(image, x + 1, step + 1, right - 1, bottom - 1, fill);

  if (colour == kWhiteKeyColour) {
    // The left edge darkens from grey 100 to white.
    const float s = 0.3f * fw;
    const int shadeTop = shape == KeyShape::kCutRight ? Px(ft + 1) : Px(ft + 0.6f * fh + 1);
    const int shadeBottom = Px(ft + fh);
    for (int i = 0; static_cast<float>(i) <= s; ++i) {
      pixels::VerticalLine(image, x + i + 1, shadeTop, shadeBottom,
                           Grey(100 + 155 * static_cast<float>(i) / s));
    }
  }
  return pixels::ClosedRect(image, x, top, right, bottom);
}

// 0.8 of a white key wide, centred on the boundary between the slot and the next.
QRect DrawBlackKey(QImage& image, int x, int w, int top, int h, Colour colour) {
  const float fx = static_cast<float>(x);
  const float fw = static_cast<float>(w);
  const float ft = static_cast<float>(top);
  const float fh = static_cast<float>(h);
  const int left = Px(fx + 0.6f * fw);
  const int right = Px(fx + 1.4f * fw) - 1;
  const int bottom = Px(ft + 0.6f * fh) - 1;
  pixels::FillClosed(image, left, top, right, bottom, ToQRgb(kKeyOutline));
  pixels::FillClosed(image, left + 1, top + 1, right - 1, bottom - 1, ToQRgb(colour));
  QRect changed = pixels::ClosedRect(image, left, top, right, bottom);

  if (colour == kBlackKeyColour) {
    // A grey sheen fading to black, and a short highlight along the right edge.
    const float s = 0.3f * fw;
    const int sheenTop = Px(ft + 4);
    const int sheenBottom = Px(ft + 0.55f * fh);
    for (int i = 0; static_cast<float>(i) <= s; ++i) {
      const int column = Px(fx + 0.7f * fw + static_cast<float>(i));
      pixels::VerticalLine(image, column, sheenTop, sheenBottom, Grey(100 - 155 * static_cast<float>(i) / s));
    }
    const int edgeBottom = Px(ft + 0.58f * fh);
    for (int i = 0; static_cast<float>(i) <= s / 3; ++i) {
      const int column = Px(fx + 1.3f * fw - static_cast<float>(i));
      pixels::VerticalLine(image, column, top, edgeBottom, Grey(100 - 155 * static_cast<float>(i) / s));
      // On very narrow keys the highlight can reach the next key's outline.
      changed |= pixels::ClosedRect(image, column, top, column, edgeBottom - 1);
    }
  }
  return changed;
}

}  // namespace

KeyShape ShapeOfKey(int key) {
  return kShape[static_cast<size_t>((key - 1) % 12)];
}

int SlotOfKey(int key) {
  return 7 * ((key - 1) / 12) + kWhiteSlot[static_cast<size_t>((key - 1) % 12)];
}

int WhiteKeyWidth(int keyboardWidth) {
  return static_cast<int>(std::lrint(keyboardWidth / static_cast<double>(kWhiteSlots)));
}

QRect DrawKey(QImage& image, int whiteWidth, int top, int height, int key, int64_t colour) {
  // A keyboard narrower than half a pixel a key has nothing to draw (and its shading would divide by zero).
  if (key < 1 || key > kKeyCount || whiteWidth < 1 || height < 1) return {};
  pixels::Prepare(image);
  const KeyShape shape = ShapeOfKey(key);
  const bool black = shape == KeyShape::kBlack;
  const Colour fill =
      colour < 0 ? (black ? kBlackKeyColour : kWhiteKeyColour) : static_cast<Colour>(colour) & 0xFFFFFF;
  const int x = SlotOfKey(key) * whiteWidth;
  return black ? DrawBlackKey(image, x, whiteWidth, top, height, fill)
               : DrawWhiteKey(image, shape, x, whiteWidth, top, height, fill);
}

}  // namespace sonvela
