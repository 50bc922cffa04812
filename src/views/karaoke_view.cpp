#include "views/karaoke_view.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>
#include <QPainter>

#include "views/panel_text.h"
#include "views/surface.h"
#include "views/view_colours.h"
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

int Top(int pictureHeight, double middle, int height) {
  return static_cast<int>(std::lrint(pictureHeight * middle - height / 2.0));
}

int TextWidth(QSize picture) {
  return picture.width() - 2 * picture.width() * kSideMarginPercent / 100;
}

// The band of the current line: the whole width, the height of a line in that size.
QRect CurrentBand(const QImage& image, int typeSize) {
  const int height = QFontMetrics(KaraokeFont(typeSize)).height();
  return QRect(0, Top(image.height(), kCurrentMiddle, height), image.width(), height) & image.rect();
}

void DrawCentred(QPainter& painter, const QImage& image, const PanelLine& line, double middle,
                 Colour colour) {
  line.Draw(
      painter,
      {CentredIn(image.width(), line.Extent().width()), Top(image.height(), middle, line.Extent().height())},
      colour);
}

}  // namespace

int KaraokeTypeSize(QSize picture, const KaraokeText& text) {
  const int largest = std::max(kMinPixels, picture.height() / kLinesPerHeight);
  if (text.noLyrics) {
    return FittedLine(KaraokeFont(largest / 2), kNoLyricsText, TextWidth(picture), kMinPixels).PixelSize();
  }
  const auto fitted = [&](const QString& line) {
    return FittedLine(KaraokeFont(largest), line, TextWidth(picture), kMinPixels).PixelSize();
  };
  return std::min(fitted(text.sung + text.unsung), fitted(text.next));
}

QRect DrawKaraoke(QImage& image, const KaraokeText& text, int typeSize) {
  FillSurface(image, kKaraokeBackground);
  if (text.noLyrics) {
    QPainter painter(&image);
    DrawCentred(painter, image, PanelLine(KaraokeFont(typeSize), kNoLyricsText), 0.5, kKaraokeNextColour);
    return image.rect();
  }
  DrawKaraokeLine(image, text, typeSize);
  QPainter painter(&image);
  DrawCentred(painter, image, PanelLine(KaraokeFont(typeSize), text.next), kNextMiddle, kKaraokeNextColour);
  return image.rect();
}

QRect DrawKaraokeLine(QImage& image, const KaraokeText& text, int typeSize) {
  const QRect band = CurrentBand(image, typeSize);
  QPainter painter(&image);
  painter.fillRect(band, ToQColor(kKaraokeBackground));
  const QFont font = KaraokeFont(typeSize);
  const PanelLine sung(font, text.sung);
  const PanelLine unsung(font, text.unsung);
  const QPoint at(CentredIn(image.width(), sung.Extent().width() + unsung.Extent().width()), band.top());
  sung.Draw(painter, at, kKaraokeSungColour);
  unsung.Draw(painter, at + QPoint(sung.Extent().width(), 0), kKaraokeLineColour);
  return band;
}

}  // namespace sonvela
