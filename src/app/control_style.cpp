#include "app/control_style.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace sonvela {

namespace {

constexpr char kFixedFamily[] = "DejaVu Sans Mono";
constexpr char kControlFamily[] = "DejaVu Sans";
constexpr int kControlFontPixels = 11;
constexpr int kSunkenEdge = 2;

Colour FromQColor(const QColor& colour) {
  return Rgb(colour.red(), colour.green(), colour.blue());
}

}  // namespace

QFont MakeFont(int height, int width) {
  QFont font(kFixedFamily);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPixelSize(height);
  // The family has one width; stretching it gives the average character width asked for.
  const double natural = QFontMetricsF(font).horizontalAdvance(QLatin1Char('x'));
  if (natural > 0) {
    const long stretch = std::lrint(100.0 * width / natural);
    font.setStretch(static_cast<int>(std::clamp(stretch, 1L, 4000L)));
  }
  return font;
}

QFont ControlFont() {
  QFont font(kControlFamily);
  font.setPixelSize(kControlFontPixels);
  return font;
}

QColor ToQColor(Colour colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
                static_cast<int>(colour >> 16 & 0xFF));
}

QString ColourStyle(Colour text, Colour background, const char* typeName) {
  const QString colours = QStringLiteral("color: %1; background-color: %2;")
                              .arg(ToQColor(text).name(), ToQColor(background).name());
  if (typeName == nullptr) return colours;
  return QStringLiteral("%1 { %2 }").arg(QLatin1String(typeName), colours);
}

void SetLabelColours(QLabel* label, Colour text, Colour background) {
  const QColor textColour = ToQColor(text);
  const QColor backColour = ToQColor(background);
  QPalette palette = label->palette();
  if (label->autoFillBackground() && palette.color(QPalette::WindowText) == textColour &&
      palette.color(QPalette::Window) == backColour) {
    return;
  }
  palette.setColor(QPalette::WindowText, textColour);
  palette.setColor(QPalette::Window, backColour);
  label->setPalette(palette);
  label->setAutoFillBackground(true);
}

void SetLabelTextColour(QLabel* label, Colour text) {
  SetLabelColours(label, text, FromQColor(label->palette().color(QPalette::Window)));
}

void SetLabelBackground(QLabel* label, Colour background) {
  SetLabelColours(label, FromQColor(label->palette().color(QPalette::WindowText)), background);
}

void MakeSunken(QLabel* label) {
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setLineWidth(kSunkenEdge);
}

}  // namespace sonvela
