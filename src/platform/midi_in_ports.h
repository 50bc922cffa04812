#pragma once
// The MIDI input ports, for listing them: the ALSA sequencer's, or those of a running JACK server (the same
// choice as the output ports make).

#include <string>
#include <vector>

#include "platform/log_sink.h"

namespace sonvela {

// Port names in RtMidi's order (device 0 first). Empty, with a line in `log` and nothing on the terminal,
// when there is no port system.
std::vector<std::string> MidiInPortNames(const LogSink& log);

}  // namespace sonvela
