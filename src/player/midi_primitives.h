#pragma once
// The short messages every part of the program sends, and the silence every transport change uses.

#include "player/midi_out.h"
#include "player/screen.h"

namespace sonvela {

constexpr int kControlChange = 0xB0;
constexpr int kProgramChangeStatus = 0xC0;
constexpr int kAllNotesOffController = 123;

// status + 256 x data1 + 65536 x data2, summed in floating point (data2 may carry the mute factor) and
// rounded to nearest, ties to even.
void SendShortMessage(MidiOut& midi, int status, int data1, double data2);
// Control change 123 value 0 on channel 1..16.
void AllNotesOff(MidiOut& midi, int channel);
// All Notes Off on channels 1..16 in order, and every key and level display back to rest.
void SilenceAll(MidiOut& midi, Screen& screen);
// Program 0..127 on channel 0..15. False when no output is open: the output is gone, and the program
// cannot go on.
bool ProgramChange(MidiOut& midi, int program, int channel);
// Opens the default output (the built-in synth); true on success.
bool OpenDefaultMidiOut(MidiOut& midi);

}  // namespace sonvela
