#pragma once
// Connecting to the machine's MIDI system through RtMidi, for the input and the output alike: ALSA's
// sequencer when its device is there, else a JACK server that answers, else none.

#include <rtmidi/RtMidi.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/jack_cycle_watch.h"
#include "platform/jack_server.h"

namespace sonvela {

// "ALSA" or "JACK": the system the ports were made on.
template <typename Ports>
std::string PortSystemName(Ports& ports) {
  return ports.getCurrentApi() == RtMidi::LINUX_ALSA ? "ALSA" : "JACK";
}

// The ports of the first system that answers, their errors reported to `onError` (with `data`); null
// when none does, each failure told to `report`. On JACK, `jackCycles` keeps the client that found the
// server: RtMidi warns on the terminal, before its error callback can be set, only when it finds none.
template <typename Ports>
std::unique_ptr<Ports> ConnectRtMidi(const char* clientName, RtMidiErrorCallback onError, void* data,
                                     std::unique_ptr<JackCycleWatch>& jackCycles,
                                     const std::function<void(const std::string&)>& report) {
  std::vector<RtMidi::Api> compiled;
  RtMidi::getCompiledApi(compiled);
  for (RtMidi::Api api : {RtMidi::LINUX_ALSA, RtMidi::UNIX_JACK}) {
    // An API missing from the build would make RtMidi pick another one silently.
    if (std::find(compiled.begin(), compiled.end(), api) == compiled.end()) continue;
    // Without the device RtMidi's ALSA backend fails loudly (and throws); without a server its JACK
    // backend warns and leaks on every listing. Neither is worth trying then.
    if (api == RtMidi::LINUX_ALSA && access("/dev/snd/seq", R_OK | W_OK) != 0) continue;
    if (api == RtMidi::UNIX_JACK) {
      jackCycles = std::make_unique<JackCycleWatch>();
      if (!jackCycles->Running()) {
        jackCycles.reset();
        if (const std::string why = JackNotAnswering(); !why.empty()) report(why);
        continue;
      }
    }
    try {
      auto ports = std::make_unique<Ports>(api, clientName);
      ports->setErrorCallback(onError, data);
      return ports;
    } catch (const RtMidiError& error) {
      report(RtMidi::getApiDisplayName(api) + " not available: " + error.getMessage());
      jackCycles.reset();
    }
  }
  return nullptr;
}

}  // namespace sonvela
