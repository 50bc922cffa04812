#pragma once
// The checked state of every toggle of the windows, taken from its one owner: the transport state for the
// transport's toggles, the view settings for the windows' own. The buttons show it; nothing reads it back
// from them.

#include <array>
#include <utility>

#include "player/screen.h"
#include "player/transport_state.h"
#include "player/view_settings.h"

namespace sonvela {

class ControlStates {
 public:
  // Every toggle's state on the screen: all of them after a command (a clicked button has flipped itself,
  // whatever the command made of it), only the changed ones after a tick.
  void Show(Screen& screen, const TransportState& transport, const ViewSettings& view, bool all);

 private:
  static constexpr size_t kToggles = 12 + kChannels;
  std::array<std::pair<int, bool>, kToggles> shown_{};
  bool anyShown_ = false;
};

}  // namespace sonvela
