#pragma once
// What happens to each message of the MIDI input, on the input thread: channel messages go on unchanged to
// the output (the thru); notes light and clear keys of the big keyboard, program changes show the
// instrument; every event gets a monitor line. System messages (clock, active sensing, ...) are ignored.

#include <string>

#include "devices/midi_in.h"
#include "devices/midi_in_shower.h"
#include "player/midi_out.h"

namespace sonvela {

// Where the input's messages go. Both are called from the input thread: MidiOut::Send is safe from any
// thread, and the shower only queues its calls for the UI thread.
struct MidiInTargets {
  MidiOut& midi;
  MidiInShower& shower;
};

void MidiInCallback(const MidiInTargets& targets, const MidiInMessage& message);

// The monitor line of an event; empty for the messages that are ignored and the ones without a description
// (key pressure, channel pressure).
std::string MidiInMonitorLine(const MidiInMessage& message);

}  // namespace sonvela
