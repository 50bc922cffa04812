#pragma once
// What the windows show besides the song: the Keyboard window with its history strip and the channels its
// big keyboard follows, the list windows and the karaoke window. The session owns it and the commands change
// it; the buttons show it, and the transport reads the channel filters on every note.

#include <array>

#include "player/transport_state.h"

namespace sonvela {

enum class ToolWindowKind { kListing, kEventTable, kDebug, kKeyboard, kKaraoke };

struct ViewSettings {
  // Indexed by ToolWindowKind.
  std::array<bool, 5> WindowShown{};
  bool History = false;
  // The big keyboard follows a channel whose filter is on: all are, to start with (indexed by channel 1..16).
  std::array<bool, kChannels + 1> ChannelFilter = [] {
    std::array<bool, kChannels + 1> all{};
    all.fill(true);
    return all;
  }();

  bool Shown(ToolWindowKind kind) const { return WindowShown[static_cast<size_t>(kind)]; }
};

}  // namespace sonvela
