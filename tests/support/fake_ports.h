#pragma once
// The core's ports faked for tests: timers the test ticks by hand, a clock it sets, a screen and message
// boxes that record what they were asked to show, and a song list over a vector.

#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "player/control_ids.h"
#include "player/screen.h"
#include "player/tick_timers.h"
#include "player/wall_clock.h"
#include "session/song_list.h"
#include "text/message_boxes.h"

namespace sonvela {

class ManualTimers : public TickTimers {
 public:
  uint32_t Start(int slot, int) override { return running[static_cast<size_t>(slot)] = ++lastId; }
  void Kill(int slot) override { running[static_cast<size_t>(slot)] = 0; }
  bool Running(int slot) const { return running[static_cast<size_t>(slot)] != 0; }
  // Ticks of a killed timer are dropped, as on the platform.
  void Tick(TickSink& sink, int slot) {
    if (Running(slot)) sink.OnTimerTick(slot);
  }
  std::array<uint32_t, 4> running{};
  uint32_t lastId = 0;
};

// The time of day (ms, which a test may set anywhere, as a change of the system time would) and a
// monotonic clock (steadyMs); Advance moves both on, the time of day wrapping at midnight.
class SettableClock : public WallClock {
 public:
  double MillisecondsSinceMidnight() override { return ms; }
  double MonotonicMs() override { return steadyMs; }
  LocalDateTime Now() override {
    const auto seconds = static_cast<int>(ms / 1000);
    return {2024, 5, 6, seconds / 3600, seconds / 60 % 60, seconds % 60};
  }
  void Advance(double by) {
    steadyMs += by;
    ms = std::fmod(ms + by, kMsPerDay);
  }
  static constexpr double kMsPerDay = 86400 * 1000.0;
  double ms = 10 * 3600 * 1000.0;  // ten in the morning
  double steadyMs = 5000;          // since the machine started
};

struct RecordedMessages : MessageBoxes {
  void ShowMessage(std::string_view text) override { shown.emplace_back(text); }
  std::vector<std::string> shown;
};

class RecordingScreen : public Screen {
 public:
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  void SetText(int id, std::string_view text) override { texts[id] = std::string(text); }
  void SetBackground(int id, Colour colour) override { backgrounds[id] = colour; }
  void SetTextColour(int id, Colour colour) override { textColours[id] = colour; }
  void SetChecked(int id, bool checked) override { this->checked[id] = checked; }
  void DrawLevelBar(int id, int level) override { levels[id].push_back(level); }
  void ShowProgramOnChannel(int, int program, Colour colour) override {
    programs.push_back({program, colour});
  }
  void ShowChannelUsage(std::string_view used) override { channelUsage.emplace_back(used); }
  void PaintChannelKeyboard(int id, int key, int64_t colour) override {
    keys.push_back({id, key, colour, std::this_thread::get_id()});
  }
  void PaintBigKeyboard(int key, int64_t colour) override { PaintChannelKeyboard(kBigKeyboard, key, colour); }
  void ShowLyric(std::string_view text) override { lyrics.emplace_back(text); }
  void DrawLoopBar(float start, float end, double played) override {
    loopBars.push_back({start, end, played});
  }

  struct KeyPaint {
    int id, key;
    int64_t colour;
    std::thread::id thread;  // the thread that asked
  };
  struct LoopBar {
    float start, end;
    double played;
  };
  std::vector<std::string> messages, channelUsage, lyrics;
  std::map<int, std::string> texts;
  std::map<int, Colour> backgrounds, textColours;
  std::map<int, bool> checked;
  std::map<int, std::vector<int>> levels;
  std::vector<std::pair<int, Colour>> programs;  // program, text colour
  std::vector<KeyPaint> keys;
  std::vector<LoopBar> loopBars;
};

// The dialog and the refill report to `onStep` as "choose" and "fill <name>".
class VectorSongList : public SongList {
 public:
  int Count() override { return static_cast<int>(entries.size()); }
  int SelectedIndex() override { return selected; }
  void Select(int index) override { selected = index; }
  std::string EntryText(int index) override { return entries.at(static_cast<size_t>(index)); }
  bool GoesRound() const override { return goesRound; }
  std::string ChooseSongFile() override {
    if (onStep) onStep("choose");
    return chosen;
  }
  void FillSongList(const std::string& name) override {
    if (onStep) onStep("fill " + name);
  }
  std::vector<std::string> entries;
  int selected = -1;
  bool goesRound = true;
  std::string chosen;
  std::function<void(const std::string&)> onStep;
};

}  // namespace sonvela
