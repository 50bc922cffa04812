#include "compose/compose_song.h"

#include <array>
#include <cstdio>
#include <vector>

#include "compose/composed_file.h"
#include "compose/demo_voices.h"
#include "compose/event_line.h"
#include "compose/voice_events.h"
#include "compose/voice_text.h"
#include "files/write_file.h"

namespace sonvela {

std::string ComposeSongBytes(Logs& logs) {
  std::array<Voice, kVoiceCount> voices = DemoVoices();
  for (Voice& voice : voices) {
    ParseVoiceText(voice.VoiceText, voice.VoiceMode);
    DebugLog(logs, voice.VoiceText);
  }
  std::vector<ComposedEvent> events;
  std::vector<ProgramChange> programs;
  for (int v = 1; v <= kVoiceCount; ++v) {
    const Voice& voice = voices[static_cast<size_t>(v - 1)];
    const int32_t channel = VoiceChannelIndex(v, voice.VoiceChannel);
    if (voice.Program != kNoProgram) programs.push_back({channel, voice.Program});
    const std::vector<ComposedEvent> voiceEvents =
        ComposeVoiceEvents(voice.VoiceText, voice.VoiceMode, voice.VoiceStep, voice.VoiceLength, channel);
    events.insert(events.end(), voiceEvents.begin(), voiceEvents.end());
  }
  return ComposedFileBytes(programs, SortedEventLines(events));
}

bool ComposeSong(const std::string& directory, Logs& logs, MessageBoxes& messages) {
  const std::string path = directory.empty() ? kComposedFileName : directory + "/" + kComposedFileName;
  const std::string bytes = ComposeSongBytes(logs);
  return WriteFileTellingFailure(
      path,
      [&bytes](std::FILE* file) { return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size(); },
      messages);
}

}  // namespace sonvela
