#pragma once
// Piano keys: where each key lies on a keyboard of 63 white slots, and how one key is drawn.
// Key k (1..108) stands for MIDI note k - 1; key 1 is a C at slot 0, key 108 a B at slot 62.

#include <cstdint>

#include <QImage>
#include <QRect>

#include "player/colours.h"

namespace sonvela {

constexpr int kKeyCount = 108;
constexpr int kMarkedKeyCount = 128;  // notes 108..127 have no key but can be marked
constexpr int kWhiteSlots = 63;
constexpr Colour kWhiteKeyColour = kWhite;
constexpr Colour kBlackKeyColour = kBlack;
constexpr Colour kKeyOutline = kBlack;

enum class KeyShape {
  kCutRight,  // C, F
  kCutBoth,   // D, G, A
  kCutLeft,   // E, B
  kBlack,     // the sharps
};

KeyShape ShapeOfKey(int key);
// White slot of the key; a black key shares the slot of the white key on its left.
int SlotOfKey(int key);
// Width of one white key for a keyboard this many pixels wide.
int WhiteKeyWidth(int keyboardWidth);

// Draws key 1..108 with its top edge at `top`, white keys `height` pixels tall (black keys 0.6 of it).
// colour: a colour to light the key, or any negative value for its own look (white or black, shaded).
// Keys outside 1..108 draw nothing. Returns the pixels it changed (empty when none).
QRect DrawKey(QImage& image, int whiteWidth, int top, int height, int key, int64_t colour);

}  // namespace sonvela
