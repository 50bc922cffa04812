#pragma once
// Where the platform layer's own lines (and the audio libraries' chatter) go: the debug log.

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>

namespace sonvela {

using LogSink = std::function<void(const std::string& line)>;

// The lines that say the program goes on without sound end so.
inline constexpr std::string_view kNoSoundEnding = ", no sound";
inline bool SaysNoSound(std::string_view line) {
  return line.ends_with(kNoSoundEnding);
}

// Wraps a sink so that calls from several threads (UI, SoundFont loader, audio and MIDI threads) never
// overlap.
inline LogSink SerializedLog(LogSink sink) {
  if (!sink) return [](const std::string&) {};
  auto mutex = std::make_shared<std::mutex>();
  return [sink = std::move(sink), mutex](const std::string& line) {
    std::lock_guard lock(*mutex);
    sink(line);
  };
}

}  // namespace sonvela
