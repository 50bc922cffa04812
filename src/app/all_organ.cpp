#include "app/all_organ.h"

#include "player/midi_primitives.h"
#include "player/transport_state.h"

namespace sonvela {

int TransportInstrumentLabels::LabelProgram(int channel) {
  return transport_.State().InstrumentProgram[static_cast<size_t>(channel)];
}

void TransportInstrumentLabels::ShowLabelProgram(int channel, int program) {
  transport_.ShowProgramOnChannel(channel, program);
}

void AllOrgan(MidiOut& midi, InstrumentLabels& labels) {
  for (int channel = 1; channel <= kChannels; ++channel) {
    SendShortMessage(midi, kProgramChangeStatus + channel - 1, kOrganProgram, 127);
    if (labels.LabelProgram(channel) > 0) labels.ShowLabelProgram(channel, kOrganProgram);
  }
}

}  // namespace sonvela
