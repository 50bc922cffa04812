#pragma once
// The panels of a channel row besides its keyboard: the level bar and the instrument label.

#include <QImage>
#include <QString>

#include "player/colours.h"

namespace sonvela {

constexpr Colour kLevelTextColour = Rgb(255, 255, 0);
constexpr Colour kLabelShadowColour = Rgb(192, 192, 192);
constexpr Colour kUnusedLabelBackground = Rgb(192, 192, 192);
inline const QString kUnusedChannelText = QStringLiteral(" Non usato !");

// Black panel with a bar rising from the bottom in proportion to level / 127, blue at 0 shading to red at
// 127, and the level in yellow digits centred at the top, in a smaller size when they would be wider than
// the panel.
void DrawLevelBar(QImage& image, int level);

// The text, stripped of surrounding blanks, centred both ways on the background, with a grey shadow two
// pixels right and down. A text too wide for the panel is drawn smaller, down to 8 pixels, so that it stays
// whole with its shadow; one too wide even then is cut at its end with an ellipsis.
void DrawLabel(QImage& image, const QString& text, Colour background, Colour textColour);

// An instrument label naming a program ("47 Orchestral Strings") on white.
void DrawInstrumentLabel(QImage& image, const QString& instrumentName, Colour textColour);

// An instrument label at Play: empty on white for a channel with notes, "Non usato !" on grey otherwise.
void DrawChannelUsageLabel(QImage& image, bool channelHasNotes);

}  // namespace sonvela
