#pragma once
// Choosing and opening the MIDI output: counting the devices, the entries of the "Midi out device" dialog,
// and the switch to a chosen entry. Every step is reported in the debug log.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "player/midi_out.h"
#include "player/midi_primitives.h"
#include "text/logs.h"
#include "text/message_boxes.h"

namespace sonvela {

constexpr int kMaxListedMidiOuts = 21;
constexpr int kPauseAfterCloseMs = 3000;

// The device state: what was counted and chosen, and the dialog's entries.
struct MidiOutDevices {
  int32_t MidiOutDeviceCount = 0;
  int32_t MidiOutDeviceId = 0;
  std::array<std::string, kMaxListedMidiOuts> MidiOutNames;
};

struct MidiOutContext {
  MidiOutDevices& devices;
  MidiOut& midi;
  Logs& logs;
  MessageBoxes& messages;
};

// True when there is at least one output device; logs the count.
bool CountMidiOutDevices(MidiOutDevices& devices, MidiOut& midi, Logs& logs);
// The start-up check: a device must exist and the default output must open; false (after telling the
// user) when the window's initialisation must stop.
bool OpenMidiOutAtStart(const MidiOutContext& context);
// The entry of device i: its number as number text, a blank, its name (" 0 Synth").
std::string MidiOutEntry(int device, std::string_view name);
// The device number at the start of a dialog entry, leading blanks skipped; 0 when there is none.
int32_t EntryDeviceNumber(std::string_view entry);
// Fills the dialog's entries (devices 0..20) and logs them; returns how many there are.
int FillMidiOutNames(MidiOutDevices& devices, MidiOut& midi, Logs& logs);
// Opens a device, logged.
void OpenMidiOut(MidiOutDevices& devices, MidiOut& midi, Logs& logs, int device);

// A switch to an entry chosen in the dialog, in two halves so that the caller's thread never stops for the
// pause between them (a window keeps answering): first the close, logged; when it returns true the device
// wants kPauseAfterCloseMs before the second half.
bool CloseMidiOutForSwitch(MidiOut& midi, Logs& logs);
// The second half: tell, open the entry's device, note the id the output reports.
void OpenChosenMidiOut(MidiOutDevices& devices, MidiOut& midi, Logs& logs, MessageBoxes& messages,
                       std::string_view entry);

}  // namespace sonvela
