#include "cli/sound_output.h"

#include <cstdio>

#include "cli/exit_status.h"

namespace sonvela {

namespace {
constexpr int kBuiltInSynth = 0;
constexpr int kSynthTailMs = 1000;
}  // namespace

// The platform's own log lines (library chatter, loading times) are not for the terminal: what matters to
// the user is said below, once.
SoundOutput::SoundOutput(int device)
    : platform_(LogSink{}), routed_(platform_, [device] { return device; }) {}

std::unique_ptr<SoundOutput> SoundOutput::Open(int device, int& status) {
  const int chosen = device < 0 ? kBuiltInSynth : device;
  std::unique_ptr<SoundOutput> output(new SoundOutput(chosen));
  PlatformMidiOut& platform = output->platform_;
  const int count = platform.DeviceCount();
  if (chosen >= count) {
    std::fprintf(stderr, "There is no MIDI output device %d: \"sonvela-cli devices\" lists devices 0..%d.\n",
                 chosen, count - 1);
    status = kExitUsageError;
    return nullptr;
  }
  const int result = platform.Open(chosen);
  if (result != kMidiOutOk) {
    std::fprintf(stderr, "Cannot open MIDI output device %d (%s): %s\n", chosen,
                 platform.DeviceName(chosen).c_str(), platform.ErrorText(result).c_str());
    status = kExitFileError;
    return nullptr;
  }
  if (chosen == kBuiltInSynth) {
    // Play must not start before the synth can sound.
    if (!platform.Synth().WaitUntilLoaded()) {
      std::fputs("Built-in synth: no SoundFont could be loaded, playing silently.\n", stderr);
    } else if (platform.Synth().AudioDriver().empty()) {
      std::fputs("Built-in synth: no audio output could be opened, playing silently.\n", stderr);
    } else {
      output->tailMs_ = kSynthTailMs;
    }
  }
  status = kExitDone;
  return output;
}

}  // namespace sonvela
