#include "player/recording_midi_out.h"

namespace sonvela {

void RecordingMidiOut::MarkStart() {
  if (clock_ != nullptr) startMs_ = clock_->MonotonicMs();
  manualMs_ = 0;
}

double RecordingMidiOut::NowMs() {
  return clock_ != nullptr ? clock_->MonotonicMs() - startMs_ : manualMs_;
}

std::string RecordingMidiOut::DeviceName(int device) {
  if (device < 0 || device >= DeviceCount()) return {};
  return DeviceNames[static_cast<size_t>(device)];
}

int RecordingMidiOut::Open(int device) {
  Calls.push_back("open " + std::to_string(device));
  if (OpenResult != kMidiOutOk) return OpenResult;
  // The default output is the built-in synth, device 0.
  openDevice_ = device == kDefaultMidiOut ? 0 : device;
  return kMidiOutOk;
}

int RecordingMidiOut::Close() {
  Calls.push_back("close");
  if (openDevice_ < 0) return CloseResult != kMidiOutOk ? CloseResult : 1;
  if (CloseResult != kMidiOutOk) return CloseResult;
  openDevice_ = -1;
  return kMidiOutOk;
}

std::string RecordingMidiOut::ErrorText(int code) {
  return "error " + std::to_string(code);
}

void RecordingMidiOut::Send(uint32_t message) {
  Sent.push_back({NowMs(), message});
}

}  // namespace sonvela
