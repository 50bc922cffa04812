#include "devices/midi_out_devices.h"

#include <algorithm>
#include <charconv>

#include "text/number_text.h"

namespace sonvela {

int32_t EntryDeviceNumber(std::string_view entry) {
  const size_t start = entry.find_first_not_of(' ');
  if (start == std::string_view::npos) return 0;
  entry.remove_prefix(start);
  if (!entry.empty() && entry.front() == '+') entry.remove_prefix(1);
  int32_t value = 0;
  std::from_chars(entry.data(), entry.data() + entry.size(), value);
  return value;
}

bool CountMidiOutDevices(MidiOutDevices& devices, MidiOut& midi, Logs& logs) {
  devices.MidiOutDeviceCount = midi.DeviceCount();
  DebugLog(logs, "Numero devices Midi Out:" + NumberText(devices.MidiOutDeviceCount));
  return devices.MidiOutDeviceCount != 0;
}

bool OpenMidiOutAtStart(const MidiOutContext& context) {
  if (!CountMidiOutDevices(context.devices, context.midi, context.logs)) {
    context.messages.ShowMessage("Midi non disponibile");
    return false;
  }
  if (!OpenDefaultMidiOut(context.midi)) {
    context.messages.ShowMessage("Problemi con Midi out");
    return false;
  }
  return true;
}

std::string MidiOutEntry(int device, std::string_view name) {
  std::string entry = NumberText(device);
  entry += ' ';
  entry += name;
  return entry;
}

int FillMidiOutNames(MidiOutDevices& devices, MidiOut& midi, Logs& logs) {
  devices.MidiOutNames.fill(std::string());
  devices.MidiOutDeviceCount = midi.DeviceCount();
  DebugLog(logs, "Midi device out found :" + NumberText(devices.MidiOutDeviceCount));
  const int listed = std::clamp(devices.MidiOutDeviceCount, 0, kMaxListedMidiOuts);
  for (int device = 0; device < listed; ++device) {
    auto& entry = devices.MidiOutNames[static_cast<size_t>(device)];
    entry = MidiOutEntry(device, midi.DeviceName(device));
    DebugLog(logs, entry);
  }
  return listed;
}

bool CloseMidiOutForSwitch(MidiOut& midi, Logs& logs) {
  const int result = midi.Close();
  if (result != kMidiOutOk) {
    DebugLog(logs, "Error" + NumberText(result));
    return false;
  }
  DebugLog(logs, "Close" + NumberText(0) + " OK!");
  return true;
}

void OpenMidiOut(MidiOutDevices& devices, MidiOut& midi, Logs& logs, int device) {
  const int result = midi.Open(device);
  if (result != kMidiOutOk) {
    DebugLog(logs, "Open Midi Device Out error:" + NumberText(result));
    return;
  }
  const bool listed = device >= 0 && device < kMaxListedMidiOuts;
  DebugLog(logs, "Open Midi Device Out <" +
                     (listed ? devices.MidiOutNames[static_cast<size_t>(device)] : "") + "> is OK!");
}

void OpenChosenMidiOut(MidiOutDevices& devices, MidiOut& midi, Logs& logs, MessageBoxes& messages,
                       std::string_view entry) {
  messages.ShowMessage("Midi out now is : " + std::string(entry));
  devices.MidiOutDeviceId = EntryDeviceNumber(entry);
  OpenMidiOut(devices, midi, logs, devices.MidiOutDeviceId);
  devices.MidiOutDeviceId = midi.OpenDeviceId();
}

}  // namespace sonvela
