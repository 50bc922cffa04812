#include "platform/midi_out_codes.h"

#include "player/midi_out.h"

namespace sonvela {

std::string MidiOutErrorText(int code) {
  switch (code) {
    case kMidiOutOk:
      return "No error.";
    case kMidiOutFailed:
      return "The MIDI output device could not be opened.";
    case kMidiOutBadDevice:
      return "There is no MIDI output device with that number.";
    case kMidiOutNotOpen:
      return "No MIDI output device is open.";
    case kMidiOutNoDriver:
      return "No MIDI port system is available.";
    default:
      return "Unknown MIDI output error " + std::to_string(code) + ".";
  }
}

}  // namespace sonvela
