#include "session/button_presses.h"

namespace sonvela {

void PressSettingButtons(Transport& transport, const std::vector<ButtonPress>& presses) {
  for (const ButtonPress& press : presses) {
    switch (press.button) {
      case Button::kContinuo:
        transport.ToggleContinuo();
        break;
      case Button::kIntro:
        transport.ToggleIntro();
        break;
      case Button::kMute:
        transport.ToggleMute();
        break;
      case Button::kMonitor:
        transport.ToggleMonitor();
        break;
      case Button::kFix:
        transport.ToggleTempoFixed();
        break;
      default:
        break;
    }
  }
}

void PressSongButtons(Transport& transport, const std::vector<ButtonPress>& presses) {
  for (const ButtonPress& press : presses) {
    switch (press.button) {
      case Button::kHalve:
        transport.HalveTempo();
        break;
      case Button::kDouble:
        transport.DoubleTempo();
        break;
      case Button::kOff:
        transport.ToggleChannel(press.channel);
        break;
      case Button::kSolo:
        transport.SoloChannel(press.channel);
        break;
      case Button::kLoop:
        // A left click on the loop bar at the start, then a right click at the end.
        transport.SetLoopStart(press.loopStart);
        transport.SetLoopEnd(press.loopEnd);
        break;
      default:
        break;
    }
  }
}

}  // namespace sonvela
