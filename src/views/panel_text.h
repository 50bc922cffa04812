#pragma once
// Text on a panel with a transparent background, placed by the top left corner of its box.

#include <initializer_list>

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

#include "player/colours.h"

namespace sonvela {

// Width (advance) and height (line height) of the text in the font.
QSize TextExtent(const QFont& font, const QString& text);

// One text in one colour. A group of texts in one font is drawn with one painter by DrawTexts.
struct PanelText {
  QPoint TopLeft;
  QString Text;
  Colour TextColour = kBlack;
};
void DrawTexts(QImage& image, const QFont& font, std::initializer_list<PanelText> texts);

}  // namespace sonvela
