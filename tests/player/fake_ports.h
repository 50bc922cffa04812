#pragma once
// Fakes of the playback ports: timers the test ticks by hand, a clock the test sets, and a screen that
// records what it was asked to show.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "player/control_ids.h"
#include "player/screen.h"
#include "player/tick_timers.h"
#include "player/wall_clock.h"

namespace sonvela {

class ManualTimers : public TickTimers {
 public:
  uint32_t Start(int slot, int) override {
    running[static_cast<size_t>(slot)] = ++lastId;
    return lastId;
  }
  void Kill(int slot) override { running[static_cast<size_t>(slot)] = 0; }
  bool Running(int slot) const { return running[static_cast<size_t>(slot)] != 0; }
  // Delivers one tick when the slot runs, as the platform does (ticks of a killed timer are dropped).
  void Tick(TickSink& sink, int slot) {
    if (Running(slot)) sink.OnTimerTick(slot);
  }

  std::array<uint32_t, 4> running{};
  uint32_t lastId = 0;
};

class SettableClock : public WallClock {
 public:
  double MillisecondsSinceMidnight() override { return ms; }
  LocalDateTime Now() override {
    const auto seconds = static_cast<int>(ms / 1000);
    return {2024, 5, 6, seconds / 3600, seconds / 60 % 60, seconds % 60};
  }
  double ms = 10 * 3600 * 1000.0;  // ten in the morning
};

class RecordingScreen : public Screen {
 public:
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  void SetText(int id, std::string_view text) override { texts[id] = std::string(text); }
  void SetBackground(int id, Colour colour) override { backgrounds[id] = colour; }
  void SetTextColour(int id, Colour colour) override { textColours[id] = colour; }
  void SetChecked(int id, bool checked) override { this->checked[id] = checked; }
  bool IsChecked(int id) override {
    const auto found = checked.find(id);
    // The big keyboard's channel filters start ticked.
    return found != checked.end() ? found->second : id >= kChannelFilterBase && id < kChannelFilterBase + 16;
  }
  void DrawLevelBar(int id, int level) override { levels[id].push_back(level); }
  void ShowProgramOnChannel(int channel, int program, Colour textColour) override {
    programs.push_back({channel, program, textColour});
  }
  void ShowChannelUsage(std::string_view used) override { channelUsage.emplace_back(used); }
  void PaintChannelKeyboard(int id, int key, int64_t colour) override { keys.push_back({id, key, colour}); }
  void PaintBigKeyboard(int key, int64_t colour) override { keys.push_back({kBigKeyboard, key, colour}); }
  void ShowLyric(std::string_view text) override { lyrics.emplace_back(text); }
  void DrawLoopBar(float, float, double) override { ++loopBarDraws; }
  void PlayNextInList() override {
    ++nextSongRequests;
    if (onPlayNext) onPlayNext();
  }
  void EndMainWindow() override { mainWindowEnded = true; }

  struct ProgramShown {
    int channel;
    int program;
    Colour colour;
  };
  struct KeyPaint {
    int id;
    int key;
    int64_t colour;
  };
  std::vector<std::string> messages;
  std::map<int, std::string> texts;
  std::map<int, Colour> backgrounds;
  std::map<int, Colour> textColours;
  std::map<int, bool> checked;
  std::map<int, std::vector<int>> levels;
  std::vector<ProgramShown> programs;
  std::vector<std::string> channelUsage;
  std::vector<KeyPaint> keys;
  std::vector<std::string> lyrics;
  int loopBarDraws = 0;
  int nextSongRequests = 0;
  std::function<void()> onPlayNext;
  bool mainWindowEnded = false;
};

}  // namespace sonvela
