#pragma once
// A Screen for the keyboard tests: records what was lit, written and said, each key with the thread that
// asked for it.

#include <map>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "player/colours.h"
#include "player/control_ids.h"
#include "player/recording_midi_out.h"
#include "player/screen.h"

namespace sonvela {

// "2202 61 rgb(175,165,225)", "2400 61 restore", "2203 49 redraw".
inline std::string KeyPaintText(int id, int key, int64_t colour) {
  std::string text = std::to_string(id) + " " + std::to_string(key) + " ";
  if (colour == kRedrawKeyboard) return text + "redraw";
  if (colour == kRestoreKey) return text + "restore";
  const auto rgb = static_cast<Colour>(colour);
  return text + "rgb(" + std::to_string(rgb & 0xFF) + "," + std::to_string(rgb >> 8 & 0xFF) + "," +
         std::to_string(rgb >> 16 & 0xFF) + ")";
}

inline std::vector<uint32_t> SentWords(const RecordingMidiOut& midi) {
  std::vector<uint32_t> words;
  for (const SentMessage& sent : midi.Sent) words.push_back(sent.word);
  return words;
}

class KeyScreen : public Screen {
 public:
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  void SetText(int id, std::string_view text) override { texts[id] = std::string(text); }
  void SetBackground(int, Colour) override {}
  void SetTextColour(int, Colour) override {}
  void SetChecked(int, bool) override {}
  bool IsChecked(int) override { return false; }
  void DrawLevelBar(int, int) override {}
  void ShowProgramOnChannel(int channel, int program, Colour) override {
    programs.emplace_back(channel, program);
  }
  void ShowChannelUsage(std::string_view) override {}
  void PaintChannelKeyboard(int id, int key, int64_t colour) override { AddKey(id, key, colour); }
  void PaintBigKeyboard(int key, int64_t colour) override { AddKey(kBigKeyboard, key, colour); }
  void ShowLyric(std::string_view) override {}
  void DrawLoopBar(float, float, double) override {}
  void PlayNextInList() override {}
  void EndMainWindow() override { mainWindowEnded = true; }

  std::vector<std::string> keys;
  std::vector<std::thread::id> keyThreads;
  std::map<int, std::string> texts;
  std::vector<std::string> messages;
  std::vector<std::pair<int, int>> programs;  // channel, program
  bool mainWindowEnded = false;

 private:
  void AddKey(int id, int key, int64_t colour) {
    keys.push_back(KeyPaintText(id, key, colour));
    keyThreads.push_back(std::this_thread::get_id());
  }
};

}  // namespace sonvela
