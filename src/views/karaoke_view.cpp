#include "views/karaoke_view.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

#include "views/panel_text.h"
#include "views/surface.h"
#include "views/view_fonts.h"

namespace sonvela {

namespace {

// Two lines and the room around them fill the height; a line too long for the width gives way down to
// this size, and past it runs off the sides rather than turn unreadable.
constexpr int kLinesPerHeight = 4;
constexpr int kMinPixels = 10;
constexpr int kSideMarginPercent = 4;
// The current line's middle at 2/5 of the height, the next line's at 7/10.
constexpr double kCurrentMiddle = 0.40;
constexpr double kNextMiddle = 0.70;

int Top(const QImage& image, double middle, int height) {
  return static_cast<int>(std::lrint(image.height() * middle - height / 2.0));
}

}  // namespace

QRect DrawKaraoke(QImage& image, const KaraokeText& text) {
  FillSurface(image, kKaraokeBackground);
  const int pixels = std::max(kMinPixels, image.height() / kLinesPerHeight);
  const int width = image.width() - 2 * image.width() * kSideMarginPercent / 100;
  QPainter painter(&image);
  if (text.noLyrics) {
    const PanelLine line = FittedLine(KaraokeFont(pixels / 2), kNoLyricsText, width, kMinPixels);
    line.Draw(painter,
              {CentredIn(image.width(), line.Extent().width()), Top(image, 0.5, line.Extent().height())},
              kKaraokeNextColour);
    return image.rect();
  }

  // Both lines in one size, the largest at which each fits; the current line is fitted whole, then drawn
  // in two parts at that size.
  const int fitted =
      std::min(FittedLine(KaraokeFont(pixels), text.sung + text.unsung, width, kMinPixels).PixelSize(),
               FittedLine(KaraokeFont(pixels), text.next, width, kMinPixels).PixelSize());
  const QFont font = KaraokeFont(fitted);
  const PanelLine sung(font, text.sung);
  const PanelLine unsung(font, text.unsung);
  const int height = std::max(sung.Extent().height(), unsung.Extent().height());
  const QPoint at(CentredIn(image.width(), sung.Extent().width() + unsung.Extent().width()),
                  Top(image, kCurrentMiddle, height));
  sung.Draw(painter, at, kKaraokeSungColour);
  unsung.Draw(painter, at + QPoint(sung.Extent().width(), 0), kKaraokeLineColour);

  const PanelLine next(font, text.next);
  next.Draw(
      painter,
      {CentredIn(image.width(), next.Extent().width()), Top(image, kNextMiddle, next.Extent().height())},
      kKaraokeNextColour);
  return QRect(0, at.y(), image.width(), height) & image.rect();
}

}  // namespace sonvela
