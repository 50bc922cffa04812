#pragma once
// The channel keyboards and the big keyboard with its history strip.
//
// Colour argument of the painters: kRedrawKeyboard (-1) redraws the whole keyboard in its own look, a colour
// (0 or more) lights the key in it, any other negative value (callers pass kRestoreKey, -2) gives the key its
// own look back. Each returns the pixels it changed, so the surface repaints only those.
// UI thread only: requests from MIDI input are posted to it.

#include <cstdint>
#include <string>

#include <QImage>
#include <QRect>

class QPainter;

#include "player/colours.h"

namespace sonvela {

// A fully drawn keyboard, made by the first full redraw and put back by the later ones.
struct KeyboardPicture {
  bool Cached = false;
  QImage Image;
};

// What the big keyboard keeps between calls.
struct BigKeyboardState {
  KeyboardPicture Picture;
  // One character per key number 1..128 (index key - 1): '*' lit, ' ' not. Empty until first used.
  std::string BigKeyboardMarks;
  // Rows of the history strip in use, 0..10.
  int HistoryRow = 0;
  // Once all ten rows are in use, the strip's picture is kept as a ring: a new snapshot overwrites the
  // oldest stored row and this one, the stored row shown at the top, moves on. A snapshot then costs one
  // row, never a move of the whole strip (2 MB on a wide screen, for every lit note of a dense song).
  int HistoryTop = 0;
};

// A channel keyboard: white keys as tall as the surface. All sixteen share one picture (they have one size).
QRect PaintChannelKeyboard(QImage& keyboard, KeyboardPicture& picture, int key, int64_t colour);

struct BigKeyboardChange {
  QRect Keyboard;  // pixels changed on the big keyboard
  QRect History;   // pixels changed on the history strip
};

// The big keyboard: white keys one pixel shorter than the surface. A key already lit is not lit again.
// Nothing happens while the keyboard is not shown (`shown` false), so lights asked for then are never shown.
// Lighting a key marks it and, with `historyOn`, adds a snapshot of the keyboard to the history strip;
// keys 109..128 (notes without a key) are marked and add a row without drawing.
BigKeyboardChange PaintBigKeyboard(BigKeyboardState& state, QImage& keyboard, QImage& history, int key,
                                   int64_t colour, bool shown, bool historyOn);

// Adds a snapshot of the big keyboard, squeezed to a tenth of the strip's height, below the rows in use; with
// all ten in use, the strip as shown moves up one row and the snapshot fills the last row.
QRect AddHistoryRow(BigKeyboardState& state, const QImage& keyboard, QImage& history);

// Paints `part` of the strip as shown (its stored rows from `top` on) with a painter whose origin is the
// strip's top left corner.
void DrawHistoryStrip(QPainter& painter, const QImage& history, int top, const QRect& part);
// The strip as shown, as one picture.
QImage HistoryStripShown(const QImage& history, int top);

// A click on the strip whitens it; the rows in use stay counted.
void ClearHistoryStrip(QImage& history);

}  // namespace sonvela
