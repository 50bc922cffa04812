#include "compose/demo_voices.h"

#include <string_view>

namespace sonvela {
namespace {

std::string Repeat(std::string_view piece, int times) {
  std::string text;
  text.reserve(piece.size() * static_cast<size_t>(times));
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

std::string Blanks(int count) {
  return std::string(static_cast<size_t>(count), ' ');
}

}  // namespace

std::array<Voice, kVoiceCount> DemoVoices() {
  std::array<Voice, kVoiceCount> voices;
  voices[0] = {Repeat("[AC]TEODOLFO ", 10), "", 50, 20, 0, 82};
  voices[1] = {Repeat("[00]T O O F TT O O O OO", 10), "", 100, 140, 0, 75};
  voices[2] = {Repeat("T O O F TT O O O OO", 20), "", 50, 140, 0, 75};
  voices[3] = {Blanks(20) + Repeat("[AC]OFLODOETTEODOLFO", 10), "", 10, 100, 0, 55};
  voices[5] = {Repeat(Blanks(20) + Repeat("ABCDE", 2), 2), "", 50, 0, 0, 19};
  // Percussion: voice 10 by its own channel, 11 and 12 by setting.
  voices[9] = {Repeat("K", 100), "", 200, 0, 0, kNoProgram};
  voices[10] = {Repeat(")", 100), "", 10, 0, 10, kNoProgram};
  voices[11] = {Repeat(Blanks(10) + "8 < >", 10), "", 40, 0, 10, kNoProgram};
  return voices;
}

}  // namespace sonvela
