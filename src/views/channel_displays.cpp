#include "views/channel_displays.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>

#include "views/panel_text.h"
#include "views/surface.h"
#include "views/view_colours.h"
#include "views/view_fonts.h"

namespace sonvela {

namespace {

constexpr int kTopLevel = 127;
// The smallest sizes the panels' text shrinks to: a level's digits stay readable at the top of the narrow
// bar; below the label's size a name is cut at its end instead.
constexpr int kMinLevelPixels = 7;
constexpr int kMinLabelPixels = 8;
// The label's shadow lies this far right and down of its text.
constexpr int kShadowOffset = 2;

int ColourPart(double value) {
  return std::clamp(static_cast<int>(std::lrint(value)), 0, 255);
}

}  // namespace

void DrawLevelBar(QImage& image, int level) {
  const int w = image.width();
  const int h = image.height();
  FillSurface(image, kBlack);
  const double share = static_cast<double>(level) * 255 / kTopLevel;
  const Colour bar = Rgb(ColourPart(share), 0, ColourPart(255 - share));
  const int top = static_cast<int>(std::lrint(h - static_cast<double>(level) * h / kTopLevel));
  pixels::FillClosed(image, 0, top, w - 1, h - 1, ToQRgb(bar));

  const QString number = QString::number(level);
  PanelLine digits(PanelFont(), number);
  if (digits.Extent().width() > w) {
    // Three digits in the panels' size are wider than the bar: they take a smaller size, in bold so that
    // their thinner strokes still show yellow.
    QFont smaller = PanelFont();
    smaller.setBold(true);
    digits = FittedLine(smaller, number, w, kMinLevelPixels);
  }
  QPainter painter(&image);
  digits.Draw(painter, QPoint(CentredIn(w, digits.Extent().width()), 0), kLevelTextColour);
}

void DrawLabel(QImage& image, const QString& text, Colour background, Colour textColour) {
  FillSurface(image, background);
  const QString shown = text.trimmed();
  if (shown.isEmpty()) return;
  // Text and shadow together fit the label: a long name takes a smaller size, and only a name too long
  // even for the smallest is cut, at its end.
  const int room = image.width() - kShadowOffset;
  PanelLine line = FittedLine(PanelFont(), shown, room, kMinLabelPixels);
  if (line.Extent().width() > room) {
    QFont smallest = PanelFont();
    smallest.setPixelSize(kMinLabelPixels);
    line = PanelLine(smallest, QFontMetrics(smallest).elidedText(shown, Qt::ElideRight, room));
  }
  // Centred on the label, moved left as far as its shadow needs.
  const int left = std::clamp(CentredIn(image.width(), line.Extent().width()), 0,
                              std::max(0, room - line.Extent().width()));
  const QPoint at(left, CentredIn(image.height(), line.Extent().height()));
  QPainter painter(&image);
  line.Draw(painter, at + QPoint(kShadowOffset, kShadowOffset), kLabelShadowColour);
  line.Draw(painter, at, textColour);
}

void DrawInstrumentLabel(QImage& image, const QString& instrumentName, Colour textColour) {
  DrawLabel(image, instrumentName, kWhite, textColour);
}

void DrawChannelUsageLabel(QImage& image, bool channelHasNotes) {
  if (channelHasNotes) {
    DrawLabel(image, QString(), kWhite, kProgramShown);
  } else {
    DrawLabel(image, kUnusedChannelText, kUnusedLabelBackground, kBlack);
  }
}

}  // namespace sonvela
