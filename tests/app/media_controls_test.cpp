// The media controls without a bus to register on, and what each media key asks of the session.

#include "app/media_controls.h"

#include <gtest/gtest.h>

namespace sonvela {
namespace {

TEST(MediaControls, WithoutASessionBusThePlayerGoesOnAndTheDebugLogSaysSoOnce) {
  std::vector<std::string> lines;
  MediaControls controls({.status = [] { return MediaStatus{}; },
                          .positionUs = [] { return int64_t{0}; },
                          .apply = [](const Command&) { FAIL() << "nothing may be applied"; },
                          .raise = [] {},
                          .quit = [] {},
                          .debugLog = [&](const std::string& line) { lines.push_back(line); }},
                         QDBusConnection(QStringLiteral("not connected")));
  controls.Refresh();
  controls.Press(MediaKey::kPause);
  EXPECT_FALSE(controls.Registered());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("No session bus", 0), 0u) << lines[0];
}

TEST(MediaControls, EachKeyIsTheCommandOfTheWindowsButtonForThePlayersState) {
  using enum MediaPlayback;
  const std::optional<CommandKind> none;
  const struct {
    MediaKey key;
    MediaPlayback playback;
    std::optional<CommandKind> command;
  } cases[] = {
      {MediaKey::kPlay, kStopped, CommandKind::kPlay},
      {MediaKey::kPlay, kPaused, CommandKind::kPause},
      {MediaKey::kPlay, kPlaying, none},
      {MediaKey::kPause, kPlaying, CommandKind::kPause},
      {MediaKey::kPause, kPaused, none},
      {MediaKey::kPause, kStopped, none},
      {MediaKey::kPlayPause, kPlaying, CommandKind::kPause},
      {MediaKey::kPlayPause, kPaused, CommandKind::kPause},
      {MediaKey::kPlayPause, kStopped, CommandKind::kPlay},
      {MediaKey::kStop, kPaused, CommandKind::kStop},
      {MediaKey::kNext, kStopped, CommandKind::kNext},
      {MediaKey::kPrevious, kPlaying, CommandKind::kPrevious},
  };
  for (const auto& each : cases) {
    const std::optional<Command> command = MediaCommand(each.key, each.playback);
    EXPECT_EQ(command ? std::optional(command->kind) : none, each.command)
        << static_cast<int>(each.key) << " " << static_cast<int>(each.playback);
  }
}

}  // namespace
}  // namespace sonvela
