#pragma once
// The sounding output of `play`: the platform's outputs with device N (--port) as the default, opened and
// ready before Play (the built-in synth with its SoundFont loaded).

#include <memory>
#include <string>

#include "platform/platform_midi_out.h"
#include "platform/redirected_midi_out.h"

namespace sonvela {

class SoundOutput {
 public:
  // Device -1 or 0: the built-in synth. Reports on standard error and returns null when the device does not
  // exist (`status` 2) or cannot be opened (`status` 1).
  static std::unique_ptr<SoundOutput> Open(int device, int& status);

  MidiOut& Midi() { return routed_; }
  // How long the last notes ring on after the song: only the built-in synth's own sound needs waiting for.
  int TailMs() const { return tailMs_; }

 private:
  explicit SoundOutput(int device);

  PlatformMidiOut platform_;
  RedirectedMidiOut routed_;
  int tailMs_ = 0;
};

}  // namespace sonvela
