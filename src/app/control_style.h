#pragma once
// Fonts and colours of the controls.

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QString>

#include "player/colours.h"

namespace sonvela {

// The dark background of the main window and of its dark labels and lists.
constexpr Colour kWindowBackColour = Rgb(30, 50, 55);
constexpr Colour kGreenText = Rgb(0, 255, 0);

// A fixed-pitch font with the given character height and average character width in pixels.
QFont MakeFont(int height, int width);
// The font of buttons, plain labels and the drop-down list.
QFont ControlFont();

QColor ToQColor(Colour colour);
// A style sheet that sets a widget's text and background colours; with a type name it leaves the widget's
// children (a list's scroll bars) their own look.
QString ColourStyle(Colour text, Colour background, const char* typeName = nullptr);

// A label's text and background colours, through its palette: labels change colour with every played note,
// which a style sheet would make costly. Nothing happens when the colours are already these.
void SetLabelColours(QLabel* label, Colour text, Colour background);
void SetLabelTextColour(QLabel* label, Colour text);
void SetLabelBackground(QLabel* label, Colour background);
// A 2-pixel sunken edge around a label.
void MakeSunken(QLabel* label);

}  // namespace sonvela
