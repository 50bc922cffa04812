#pragma once
// An output whose default device is another one, chosen at every open: playback always opens the
// default, so `play --port N` and SONVELA_MIDI_OUT make their port the default. Everything else passes
// through to the real output.

#include <functional>
#include <utility>

#include "platform/midi_out_codes.h"
#include "player/forwarding_midi_out.h"

namespace sonvela {

class RedirectedMidiOut : public ForwardingMidiOut {
 public:
  // `chooseDefault` names the device that stands for the default, or -1 when there is none now (the open
  // then fails).
  RedirectedMidiOut(MidiOut& output, std::function<int()> chooseDefault)
      : ForwardingMidiOut(output), chooseDefault_(std::move(chooseDefault)) {}

  int Open(int device) override {
    if (device != kDefaultMidiOut) return output_.Open(device);
    const int chosen = chooseDefault_();
    return chosen < 0 ? kMidiOutBadDevice : output_.Open(chosen);
  }

 private:
  std::function<int()> chooseDefault_;
};

}  // namespace sonvela
