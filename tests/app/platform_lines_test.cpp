// The platform's lines: all in the Debug window, and "no sound", once, where the user looks.

#include "app/platform_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sonvela {
namespace {

TEST(PlatformLines, EveryLineGoesToDebugAndTheFirstNoSoundAlsoToTheMessageLog) {
  Logs logs;
  PlatformLines lines;
  const std::vector<std::string> taken = {
      "Built-in synth: SoundFont /x.sf2 loaded in 140 ms",
      "Built-in synth: no audio output could be opened (pulseaudio: not available; alsa: no card), no sound",
      "MIDI ports: the song's sends run at normal priority (not permitted)",
      "Built-in synth: no audio output could be opened (alsa: no card), no sound",
  };
  for (const std::string& line : taken) lines.Take(logs, line);
  EXPECT_EQ(logs.Debug.ToVector(), taken);
  EXPECT_EQ(logs.Messages.ToVector(), std::vector<std::string>{taken[1]});
}

}  // namespace
}  // namespace sonvela
