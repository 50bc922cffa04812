#include "devices/midi_in_devices.h"

#include <algorithm>

#include "devices/midi_in_callback.h"
#include "devices/midi_out_devices.h"

namespace sonvela {

int OpenMidiInput(const MidiInContext& context, int device) {
  // The handle is the device number + 1, so it needs a device number of 0 or more.
  if (context.devices.MidiInHandle != 0 || device < 0) return 0;
  const MidiInTargets targets{context.midi, context.shower};
  const int result = context.port.Open(
      device, [targets](const MidiInMessage& message) { MidiInCallback(targets, message); });
  if (result != kMidiInOk) return 0;
  context.devices.MidiInHandle = device + 1;
  return 1;
}

int StartMidiInput(const MidiInContext& context) {
  if (context.devices.MidiInHandle == 0) return 0;
  return context.port.Start() == kMidiInOk ? 1 : 0;
}

int CloseMidiInput(const MidiInContext& context) {
  if (context.devices.MidiInHandle == 0) return 0;
  // Both always: a device that would not stop must still be let go of.
  const bool stopped = context.port.Stop() == kMidiInOk;
  const bool closed = context.port.Close() == kMidiInOk;
  // A closed device is gone even when it would not stop: keeping its handle would refuse every later open.
  if (closed) context.devices.MidiInHandle = 0;
  return stopped && closed ? 1 : 0;
}

int FillMidiInNames(MidiInDevices& devices, MidiIn& port) {
  devices.MidiInNames.fill(std::string());
  const int listed = std::clamp(port.DeviceCount(), 0, kMaxListedMidiIns);
  for (int device = 0; device < listed; ++device) {
    devices.MidiInNames[static_cast<size_t>(device)] = MidiOutEntry(device, port.DeviceName(device));
  }
  return listed;
}

void ChooseMidiInEntry(const MidiInContext& context, std::string_view entry) {
  CloseMidiInput(context);
  context.messages.ShowMessage("Midi in ora è : " + std::string(entry));
  context.devices.MidiInDeviceId = EntryDeviceNumber(entry);
  OpenMidiInput(context, context.devices.MidiInDeviceId);
  StartMidiInput(context);
}

void OpenMidiInputAtStart(const MidiInContext& context) {
  context.devices.MidiInDeviceId = 0;
  OpenMidiInput(context, context.devices.MidiInDeviceId);
  StartMidiInput(context);
}

}  // namespace sonvela
