#include "platform/midi_in_ports.h"

#include "platform/platform_midi_in.h"

namespace sonvela {

std::vector<std::string> MidiInPortNames(const LogSink& log) {
  PlatformMidiIn ports(log);
  std::vector<std::string> names;
  const int count = ports.DeviceCount();
  for (int device = 0; device < count; ++device) names.push_back(ports.DeviceName(device));
  return names;
}

}  // namespace sonvela
