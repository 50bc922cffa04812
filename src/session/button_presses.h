#pragma once
// Presses of the transport's buttons, made by code in a given order (the toolbox's play switches).

#include <vector>

#include "player/transport.h"

namespace sonvela {

enum class Button { kContinuo, kIntro, kMute, kMonitor, kFix, kHalve, kDouble, kOff, kSolo, kLoop };

struct ButtonPress {
  Button button;
  int channel = 0;      // kOff, kSolo: 1..16
  float loopStart = 0;  // kLoop: percent of the song
  float loopEnd = 0;
};

// The toggles that a load leaves alone (Continuo, Intro, Mute, Monitor, Fix): pressed once, before the
// first Play.
void PressSettingButtons(Transport& transport, const std::vector<ButtonPress>& presses);
// What a load resets or makes new (the tempo, the channel buttons) and the loop marks, which are percentages
// of each song: pressed after every load, before its Play.
void PressSongButtons(Transport& transport, const std::vector<ButtonPress>& presses);

}  // namespace sonvela
