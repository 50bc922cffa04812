#include "session/control_states.h"

#include "player/control_ids.h"

namespace sonvela {

void ControlStates::Show(Screen& screen, const TransportState& transport, const ViewSettings& view,
                         bool all) {
  const std::array<std::pair<int, bool>, kToggles> now = [&] {
    std::array<std::pair<int, bool>, kToggles> states{{
        {kPauseToggle, transport.Paused == 1},
        {kContinuoToggle, transport.ContinuoOn == 1},
        {kIntroToggle, transport.IntroSeconds > 0},
        {kMuteToggle, transport.DataScale == 0.0f},
        {kMonitorToggle, transport.MonitorOn == 1},
        {kTempoFixToggle, transport.TempoFixed == 1},
        {kListingToggle, view.Shown(ToolWindowKind::kListing)},
        {kEventTableToggle, view.Shown(ToolWindowKind::kEventTable)},
        {kDebugToggle, view.Shown(ToolWindowKind::kDebug)},
        {kBigKeyboardToggle, view.Shown(ToolWindowKind::kKeyboard)},
        {kHistoryToggle, view.History},
        {kKaraokeWindow, view.Shown(ToolWindowKind::kKaraoke)},
    }};
    for (int channel = 1; channel <= kChannels; ++channel) {
      states[static_cast<size_t>(11 + channel)] = {ChannelControl(kChannelFilterBase, channel),
                                                   view.ChannelFilter[static_cast<size_t>(channel)]};
    }
    return states;
  }();
  for (size_t i = 0; i < kToggles; ++i) {
    if (all || !anyShown_ || now[i].second != shown_[i].second)
      screen.SetChecked(now[i].first, now[i].second);
  }
  shown_ = now;
  anyShown_ = true;
}

}  // namespace sonvela
