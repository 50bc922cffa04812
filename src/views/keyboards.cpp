#include "views/keyboards.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QPainter>

#include "views/keys.h"
#include "views/surface.h"

namespace sonvela {

namespace {

constexpr int kHistoryRows = 10;

// Draws every key in its own look, or puts back the picture of a keyboard of this size drawn before.
void RedrawKeyboard(QImage& keyboard, KeyboardPicture& picture, int keyHeight) {
  pixels::Prepare(keyboard);
  if (picture.Cached && picture.Image.size() == keyboard.size()) {
    if (keyboard.format() == picture.Image.format() &&
        keyboard.bytesPerLine() == picture.Image.bytesPerLine()) {
      // Into the surface's own pixels: no new buffer for every redraw.
      std::memcpy(keyboard.bits(), picture.Image.constBits(), static_cast<size_t>(keyboard.sizeInBytes()));
    } else {
      keyboard = picture.Image.copy();
    }
    return;
  }
  // A picture of another size would show a keyboard that does not fit: draw and keep a new one.
  const int w = WhiteKeyWidth(keyboard.width());
  for (int key = 1; key <= kKeyCount; ++key) DrawKey(keyboard, w, 0, keyHeight, key, kRedrawKeyboard);
  picture.Image = keyboard.copy();
  picture.Cached = true;
}

bool IsMarkable(int key) {
  return key >= 1 && key <= kMarkedKeyCount;
}

int RowTop(int row, double rowHeight) {
  return static_cast<int>(std::lrint(row * rowHeight));
}

// The keyboard's rows resampled (nearest row) into rows y0 .. y1 - 1 of the strip, at its full width.
void StretchInto(const QImage& keyboard, QImage& history, int y0, int y1) {
  const int kh = keyboard.height();
  const int span = y1 - y0;
  const int width = std::min(keyboard.width(), history.width());
  if (kh <= 0 || span <= 0 || width <= 0) return;
  for (int y = std::max(y0, 0); y < std::min(y1, history.height()); ++y) {
    // The source row under the middle of the destination row.
    const int source = static_cast<int>((2 * int64_t{y - y0} + 1) * kh / (2 * int64_t{span}));
    std::memcpy(history.scanLine(y), keyboard.constScanLine(source), static_cast<size_t>(width) * 4);
  }
}

}  // namespace

QRect PaintChannelKeyboard(QImage& keyboard, KeyboardPicture& picture, int key, int64_t colour) {
  if (colour == kRedrawKeyboard) {
    RedrawKeyboard(keyboard, picture, keyboard.height());
    return keyboard.rect();
  }
  return DrawKey(keyboard, WhiteKeyWidth(keyboard.width()), 0, keyboard.height(), key,
                 colour >= 0 ? colour : kRedrawKeyboard);
}

BigKeyboardChange PaintBigKeyboard(BigKeyboardState& state, QImage& keyboard, QImage& history, int key,
                                   int64_t colour, bool shown, bool historyOn) {
  std::string& marks = state.BigKeyboardMarks;
  if (marks.empty()) marks.assign(kMarkedKeyCount, ' ');
  const bool lighting = colour >= 0;
  const size_t mark = static_cast<size_t>(key - 1);
  if (lighting && IsMarkable(key) && marks[mark] == '*') return {};
  if (!shown) return {};

  const int keyHeight = keyboard.height() - 1;
  if (colour == kRedrawKeyboard) {
    // Every key is unlit now, drawn or put back: a mark left standing would keep its key from being lit.
    RedrawKeyboard(keyboard, state.Picture, keyHeight);
    marks.assign(kMarkedKeyCount, ' ');
    return {keyboard.rect(), {}};
  }
  // A key number outside 1..128 stands for no note at all: nothing to mark or show.
  if (!IsMarkable(key)) return {};
  BigKeyboardChange change;
  change.Keyboard = DrawKey(keyboard, WhiteKeyWidth(keyboard.width()), 0, keyHeight, key,
                            lighting ? colour : kRedrawKeyboard);
  marks[mark] = lighting ? '*' : ' ';
  if (lighting && historyOn) change.History = AddHistoryRow(state, keyboard, history);
  return change;
}

QRect AddHistoryRow(BigKeyboardState& state, const QImage& keyboard, QImage& history) {
  pixels::Prepare(history);
  const double rowHeight = history.height() / static_cast<double>(kHistoryRows);
  const QImage source = keyboard.convertToFormat(QImage::Format_RGB32);
  const bool full = state.HistoryRow >= kHistoryRows;
  // Before the strip is full its rows are stored in the order they are shown.
  const int stored = full ? state.HistoryTop : state.HistoryRow;
  const int y0 = RowTop(stored, rowHeight);
  const int y1 = RowTop(stored + 1, rowHeight);
  StretchInto(source, history, y0, y1);
  if (full) {
    state.HistoryTop = (state.HistoryTop + 1) % kHistoryRows;
    return history.rect();
  }
  state.HistoryTop = 0;
  ++state.HistoryRow;
  return QRect(0, y0, std::min(source.width(), history.width()), y1 - y0).intersected(history.rect());
}

void DrawHistoryStrip(QPainter& painter, const QImage& history, int top, const QRect& part) {
  const double rowHeight = history.height() / static_cast<double>(kHistoryRows);
  for (int shown = 0; shown < kHistoryRows; ++shown) {
    const int stored = (top + shown) % kHistoryRows;
    const QRect target(0, RowTop(shown, rowHeight), history.width(),
                       RowTop(shown + 1, rowHeight) - RowTop(shown, rowHeight));
    if (!target.intersects(part)) continue;
    // Rows may differ in height by a pixel (the strip's height need not be a multiple of ten): the
    // stored row is then stretched to the shown one.
    const QRect source(0, RowTop(stored, rowHeight), history.width(),
                       RowTop(stored + 1, rowHeight) - RowTop(stored, rowHeight));
    if (source.height() == target.height()) {
      const QRect visible = target & part;
      painter.drawImage(visible.topLeft(), history, visible.translated(0, source.y() - target.y()));
    } else {
      painter.drawImage(target, history, source);
    }
  }
}

QImage HistoryStripShown(const QImage& history, int top) {
  QImage shown(history.size(), QImage::Format_RGB32);
  shown.fill(Qt::white);
  QPainter painter(&shown);
  DrawHistoryStrip(painter, history, top, shown.rect());
  return shown;
}

void ClearHistoryStrip(QImage& history) {
  FillSurface(history, kWhite);
}

}  // namespace sonvela
