#pragma once
// What the keyboard tests read off the recording screen and output, as text and words.

#include <string>
#include <vector>

#include "player/recording_midi_out.h"
#include "support/fake_ports.h"

namespace sonvela {

// Each key painted: "2202 61 rgb(175,165,225)", "2400 61 restore", "2203 49 redraw".
inline std::vector<std::string> KeyTexts(const RecordingScreen& screen) {
  std::vector<std::string> texts;
  for (const RecordingScreen::KeyPaint& paint : screen.keys) {
    std::string text = std::to_string(paint.id) + " " + std::to_string(paint.key) + " ";
    const auto rgb = static_cast<Colour>(paint.colour);
    texts.push_back(paint.colour == kRedrawKeyboard ? text + "redraw"
                    : paint.colour == kRestoreKey
                        ? text + "restore"
                        : text + "rgb(" + std::to_string(rgb & 0xFF) + "," + std::to_string(rgb >> 8 & 0xFF) +
                              "," + std::to_string(rgb >> 16 & 0xFF) + ")");
  }
  return texts;
}

inline std::vector<uint32_t> SentWords(const RecordingMidiOut& midi) {
  std::vector<uint32_t> words;
  for (const SentMessage& sent : midi.Sent) words.push_back(sent.word);
  return words;
}

}  // namespace sonvela
