#include "player/midi_primitives.h"

#include <cmath>
#include <cstdint>

#include "player/control_ids.h"

namespace sonvela {

void SendShortMessage(MidiOut& midi, int status, int data1, double data2) {
  const auto word = static_cast<int64_t>(std::nearbyint(status + 256.0 * data1 + 65536.0 * data2));
  midi.Send(static_cast<uint32_t>(word));
}

void AllNotesOff(MidiOut& midi, int channel) {
  SendShortMessage(midi, kControlChange + channel - 1, kAllNotesOffController, 0);
}

void SilenceAll(MidiOut& midi, Screen& screen) {
  for (int channel = 1; channel <= 16; ++channel) {
    AllNotesOff(midi, channel);
    screen.PaintChannelKeyboard(ChannelControl(kChannelKeyboardBase, channel), 0, kRedrawKeyboard);
    screen.DrawLevelBar(ChannelControl(kLevelBarBase, channel), 0);
  }
  screen.PaintBigKeyboard(0, kRedrawKeyboard);
}

bool ProgramChange(MidiOut& midi, int program, int channel) {
  // The port cannot report a failed send; a closed output is the failure it can see.
  if (midi.OpenDeviceId() < 0) return false;
  SendShortMessage(midi, kProgramChangeStatus + channel, program, 0);
  return true;
}

bool OpenDefaultMidiOut(MidiOut& midi) {
  return midi.Open(kDefaultMidiOut) == kMidiOutOk;
}

}  // namespace sonvela
