#pragma once
// Choosing, opening and closing the MIDI input: the entries of the "Midi in device" dialog, the switch to a
// chosen entry, and the device opened at start-up. Everything here runs on the UI thread; the messages of
// the open device go to MidiInCallback on the input thread.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "devices/midi_in.h"
#include "devices/midi_in_shower.h"
#include "player/midi_out.h"
#include "text/message_boxes.h"

namespace sonvela {

constexpr int kMaxListedMidiIns = 21;

// The device state of the input.
struct MidiInDevices {
  // 1 + the number of the open device; 0 when none is open.
  int32_t MidiInHandle = 0;
  // The device chosen last (0 at start).
  int32_t MidiInDeviceId = 0;
  // The dialog's entries, " 0 Name" (number text, a blank, the name); empty past the last device.
  std::array<std::string, kMaxListedMidiIns> MidiInNames;
};

// `midi` and `shower` receive the input's messages on the input thread; they must outlive the open device
// (CloseMidiInput before they go).
struct MidiInContext {
  MidiInDevices& devices;
  MidiIn& port;
  MidiOut& midi;
  MidiInShower& shower;
  MessageBoxes& messages;
};

// 1 when the device was opened; 0 when it failed or a device is already open (that one stays open).
int OpenMidiInput(const MidiInContext& context, int device);
// 1 when the open device was started; 0 otherwise (also when none is open).
int StartMidiInput(const MidiInContext& context);
// Stops and closes the open device, both always: 1 when both succeeded; 0 when either failed or none was
// open. The device counts as open until a close succeeds.
int CloseMidiInput(const MidiInContext& context);

// Fills the dialog's entries (devices 0..20); returns how many there are.
int FillMidiInNames(MidiInDevices& devices, MidiIn& port);
// An entry chosen in the dialog (the dialog closes itself): close the current input, tell the user, open
// and start the entry's device. A failed open leaves no input open.
void ChooseMidiInEntry(const MidiInContext& context, std::string_view entry);
// Start-up: device 0 opened and started; nothing is said when there is no such device.
void OpenMidiInputAtStart(const MidiInContext& context);

}  // namespace sonvela
