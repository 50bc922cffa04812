#include "compose/compose_song.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "compose/composed_file.h"
#include "compose/demo_voices.h"
#include "compose/event_line.h"
#include "compose/voice_events.h"
#include "compose/voice_text.h"

namespace sonvela {
namespace {

constexpr char kFileName[] = "creato.mid";

}  // namespace

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
  const std::string path = directory.empty() ? kFileName : directory + "/" + kFileName;
  const std::string bytes = ComposeSongBytes(logs);
  const auto complain = [&](int error) {
    messages.ShowMessage("Impossibile scrivere il file \"" + path + "\": " + std::strerror(error));
    return false;
  };
  // "wb" truncates, so a shorter rewrite leaves nothing of the old file behind.
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return complain(errno);
  errno = 0;
  const size_t written = std::fwrite(bytes.data(), 1, bytes.size(), file);
  const int writeError = written == bytes.size() ? 0 : (errno ? errno : EIO);
  // Closing flushes the buffer: its failure is a lost write too.
  errno = 0;
  const int closeError = std::fclose(file) == 0 ? 0 : (errno ? errno : EIO);
  if (writeError != 0) return complain(writeError);
  if (closeError != 0) return complain(closeError);
  return true;
}

}  // namespace sonvela
