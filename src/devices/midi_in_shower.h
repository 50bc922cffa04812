#pragma once
// What MIDI input shows. The input logic calls these on the MIDI input thread, so an implementation must
// not draw there: it only queues each call, in order, for the UI thread, where the window shows it.

#include <cstdint>
#include <string>

#include "player/colours.h"

namespace sonvela {

// Keys played on the input light in light green.
constexpr Colour kMidiInKeyColour = Rgb(100, 255, 100);

class MidiInShower {
 public:
  virtual ~MidiInShower() = default;
  // The big keyboard: key 1..128 (MIDI note + 1) lit in kMidiInKeyColour, or kRestoreKey to clear it.
  virtual void PaintInputKey(int key, int64_t colour) = 0;
  // A program change on the input, program 0..127: the "Keyboard" window takes the program's instrument
  // name as its title and selects entry `program` of its instrument list, sending nothing.
  virtual void ShowInputProgram(int program) = 0;
  // The description of one input event. Composed for every event; the window adds it to the message log
  // only while "Monitor" is on (it decides on the UI thread, where that state lives).
  virtual void ShowMonitorLine(std::string line) = 0;
};

}  // namespace sonvela
