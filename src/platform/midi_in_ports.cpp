#include "platform/midi_in_ports.h"

#include <jack/jack.h>
#include <rtmidi/RtMidi.h>
#include <unistd.h>

#include <algorithm>

#include "platform/audio_libraries.h"

namespace sonvela {

namespace {

bool Reachable(RtMidi::Api api) {
  // Without the device RtMidi's ALSA backend fails loudly; without a server its JACK backend warns.
  if (api == RtMidi::LINUX_ALSA) return access("/dev/snd/seq", R_OK | W_OK) == 0;
  jack_client_t* client = jack_client_open("SonvelaProbe", JackNoStartServer, nullptr);
  if (!client) return false;
  jack_client_close(client);
  return true;
}

void LogPortError(RtMidiError::Type type, const std::string& text, void* data) {
  if (type != RtMidiError::DEBUG_WARNING) (*static_cast<LogSink*>(data))("MIDI in ports: " + text);
}

}  // namespace

std::vector<std::string> MidiInPortNames(const LogSink& log) {
  PrepareAudioLibraries();
  LogSink sink = log ? log : LogSink([](const std::string&) {});
  std::vector<RtMidi::Api> compiled;
  RtMidi::getCompiledApi(compiled);
  for (RtMidi::Api api : {RtMidi::LINUX_ALSA, RtMidi::UNIX_JACK}) {
    if (std::find(compiled.begin(), compiled.end(), api) == compiled.end() || !Reachable(api)) continue;
    try {
      RtMidiIn ports(api, "Sonvela");
      ports.setErrorCallback(&LogPortError, &sink);
      std::vector<std::string> names;
      const unsigned count = ports.getPortCount();
      for (unsigned port = 0; port < count; ++port) names.push_back(ports.getPortName(port));
      return names;
    } catch (const RtMidiError& error) {
      sink(RtMidi::getApiDisplayName(api) + " not available: " + error.getMessage());
    }
  }
  sink("MIDI in ports: no ALSA sequencer and no JACK server");
  return {};
}

}  // namespace sonvela
