#pragma once
// `play --port N`: playback always opens the default output, so for this run device N is made the default.
// Everything else passes through to the real output.

#include "player/forwarding_midi_out.h"

namespace sonvela {

class RoutedMidiOut : public ForwardingMidiOut {
 public:
  RoutedMidiOut(MidiOut& output, int device) : ForwardingMidiOut(output), device_(device) {}

  int Open(int device) override { return output_.Open(device == kDefaultMidiOut ? device_ : device); }

 private:
  int device_;
};

}  // namespace sonvela
