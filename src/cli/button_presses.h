#pragma once
// The play switches as presses of the transport's buttons, in command-line order.

#include <vector>

#include "cli/play_options.h"
#include "player/transport.h"

namespace sonvela {

// The toggles that a load leaves alone (Continuo, Intro, Mute, Monitor, Fix): pressed once, before the
// first Play.
void PressSettingButtons(Transport& transport, const std::vector<ButtonPress>& presses);
// What a load resets or makes new (the tempo, the channel buttons) and the loop marks, which are percentages
// of each song: pressed after every load, before its Play.
void PressSongButtons(Transport& transport, const std::vector<ButtonPress>& presses);

}  // namespace sonvela
