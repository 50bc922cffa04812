#pragma once
// "All organ": every channel switched to the church organ, and the instrument labels that name a program
// follow.

#include "player/midi_out.h"
#include "player/transport.h"

namespace sonvela {

constexpr int kOrganProgram = 19;  // "20 Church Organ"

// The program each instrument label stands for. The transport keeps it (a program change played, a click
// on the label); the label shows it.
class InstrumentLabels {
 public:
  virtual ~InstrumentLabels() = default;
  // Channel 1..16: the label's program 0..127; -1 when it stands for none (after Play), 0 before any.
  virtual int LabelProgram(int channel) = 0;
  // Channel 1..16: the label names program 0..127 and stands for it from now on.
  virtual void ShowLabelProgram(int channel, int program) = 0;
};

// The labels of the main window, as the transport keeps and shows them.
class TransportInstrumentLabels : public InstrumentLabels {
 public:
  explicit TransportInstrumentLabels(Transport& transport) : transport_(transport) {}
  int LabelProgram(int channel) override;
  void ShowLabelProgram(int channel, int program) override;

 private:
  Transport& transport_;
};

// Channel by channel: the program change, then the label, when it holds a program above 0, renamed.
void AllOrgan(MidiOut& midi, InstrumentLabels& labels);

}  // namespace sonvela
