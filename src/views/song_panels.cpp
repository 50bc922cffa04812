#include "views/song_panels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include <QPainter>
#include <QPainterPath>

#include "views/surface.h"
#include "views/view_colours.h"

namespace sonvela {

namespace {

constexpr int32_t kNoteOnFirst = 0x90;
constexpr int32_t kNoteOnLast = 0x9F;
constexpr int32_t kDrumNoteOn = 0x99;  // channel 10
constexpr int kTopNote = 127;

int Px(double value) {
  return static_cast<int>(std::lrint(value));
}

// Columns at 10, 20, ..., 90 % of the width.
int GridColumn(int tenth, int width) {
  return Px(tenth * 10 * static_cast<double>(width) / 100);
}

}  // namespace

void DrawSongMap(QImage& image, const SongTables& tables) {
  FillSurface(image, kSongMapBackground);
  const int w = image.width();
  const int h = image.height();
  const QRgb frame = ToQRgb(kWhite);
  pixels::FillClosed(image, 0, 0, w - 1, 0, frame);
  pixels::FillClosed(image, 0, h - 1, w - 1, h - 1, frame);
  pixels::FillClosed(image, 0, 0, 0, h - 1, frame);
  pixels::FillClosed(image, w - 1, 0, w - 1, h - 1, frame);
  for (int tenth = 1; tenth <= 9; ++tenth) {
    pixels::VerticalLine(image, GridColumn(tenth, w), 1, h, ToQRgb(kSongMapGrid));
  }

  const int64_t length = tables.LongestTrackTicks;
  if (w <= 0 || h <= 0 || length <= 0) return;
  // Row of each data byte, and the rows themselves, worked out once: millions of dots follow.
  std::array<int, 256> rowOfNote{};
  for (int note = 0; note < 256; ++note)
    rowOfNote[static_cast<size_t>(note)] = Px(h - double(note) * h / kTopNote);
  std::vector<QRgb*> rows(static_cast<size_t>(h));
  for (int y = 0; y < h; ++y) rows[static_cast<size_t>(y)] = reinterpret_cast<QRgb*>(image.scanLine(y));
  const QRgb note = ToQRgb(kSongMapNote);
  const QRgb drumNote = ToQRgb(kSongMapDrumNote);
  const double width = w;
  const double songLength = static_cast<double>(length);
  // x = tick x w / length, by a multiplication: a division for each of millions of dots costs more than the
  // rest of the loop. Near a rounding tie the product may fall on the wrong side, so divide there.
  const double scale = width / songLength;
  const auto columnOf = [&](int64_t tick) {
    const double product = static_cast<double>(tick) * scale;
    const int column = Px(product);
    if (std::abs(std::abs(product - column) - 0.5) < 1e-6)
      return Px(static_cast<double>(tick) * width / songLength);
    return column;
  };

  const int32_t tracks =
      std::min<int32_t>(tables.TrackCount, static_cast<int32_t>(tables.TrackEvents.size()) - 1);
  for (int32_t track = 1; track <= tracks; ++track) {
    const std::vector<TrackEvent>& events = tables.TrackEvents[static_cast<size_t>(track)];
    for (size_t j = 1; j < events.size(); ++j) {
      const TrackEvent& event = events[j];
      // Events come in time order: the rest of the track lies past the end too.
      if (event.tick >= length) break;
      if (event.command < kNoteOnFirst || event.command > kNoteOnLast) continue;
      const int x = columnOf(event.tick);
      const int y = event.data1 >= 0 && event.data1 < 256 ? rowOfNote[static_cast<size_t>(event.data1)]
                                                          : Px(h - double(event.data1) * h / kTopNote);
      if (x < 0 || x >= w || y < 0 || y >= h) continue;
      rows[static_cast<size_t>(y)][x] = event.command == kDrumNoteOn ? drumNote : note;
    }
  }
}

void DrawLoopBar(QImage& image, float loopStartPercent, float loopEndPercent,
                 std::optional<double> playedFraction) {
  FillSurface(image, kLoopBarBackground);
  const int w = image.width();
  const int h = image.height();
  if (loopStartPercent > 0) {
    int left = Px(static_cast<double>(loopStartPercent) * w / 100);
    int right = Px(static_cast<double>(loopEndPercent) * w / 100);
    if (right < left) std::swap(left, right);
    const double corner = std::lrint(0.3 * std::min(right - left, h)) / 2.0;
    QPainterPath range;
    range.addRoundedRect(QRectF(left, 0, right - left, h), corner, corner);
    QPainter painter(&image);
    painter.fillPath(range, ToQColor(kLoopRange));
  }
  if (playedFraction && std::isfinite(*playedFraction)) {
    const double x = *playedFraction * w;
    if (std::abs(x) < 1e9) pixels::VerticalLine(image, Px(x), 0, h, ToQRgb(kPlayPosition));
  }
  for (int tenth = 1; tenth <= 9; ++tenth) {
    pixels::VerticalLine(image, GridColumn(tenth, w), 0, h, ToQRgb(kLoopBarGrid));
  }
}

float PointerPercent(int x, int width) {
  // A panel one pixel wide (or less) has no span to measure across.
  if (width <= 1) return 0;
  return std::clamp(static_cast<float>(x * 100.0 / (width - 1)), 0.0f, 100.0f);
}

}  // namespace sonvela
