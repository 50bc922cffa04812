#pragma once
// The error codes that the platform's MidiOut implementations return, besides kMidiOutOk.

#include <string>

namespace sonvela {

// Numbered like the multimedia error codes of Windows (MMSYSERR_*), which readers of MIDI logs know.
constexpr int kMidiOutFailed = 1;     // the device exists but could not be opened
constexpr int kMidiOutBadDevice = 2;  // no device with that number
constexpr int kMidiOutNotOpen = 5;    // Close with nothing open
constexpr int kMidiOutNoDriver = 6;   // no MIDI port system at all

std::string MidiOutErrorText(int code);

// The product name of device 0.
constexpr const char* kBuiltInSynthName = "Sonvela Synth (FluidSynth)";

}  // namespace sonvela
