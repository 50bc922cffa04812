#include "views/channel_displays.h"

#include <algorithm>
#include <cmath>

#include "views/panel_text.h"
#include "views/surface.h"
#include "views/view_colours.h"
#include "views/view_fonts.h"

namespace sonvela {

namespace {

constexpr int kTopLevel = 127;

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

  const PanelLine digits(PanelFont(), QString::number(level));
  QPainter painter(&image);
  digits.Draw(painter, QPoint(CentredIn(w, digits.Extent().width()), 0), kLevelTextColour);
}

void DrawLabel(QImage& image, const QString& text, Colour background, Colour textColour) {
  FillSurface(image, background);
  const QString shown = text.trimmed();
  if (shown.isEmpty()) return;
  const PanelLine line(PanelFont(), shown);
  const QPoint at(CentredIn(image.width(), line.Extent().width()),
                  CentredIn(image.height(), line.Extent().height()));
  QPainter painter(&image);
  line.Draw(painter, at + QPoint(2, 2), kLabelShadowColour);
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
