#include "app/program_output.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "devices/midi_out_devices.h"
#include "platform/midi_out_codes.h"

namespace sonvela {

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

NamedDefaultMidiOut::NamedDefaultMidiOut(MidiOut& output, std::string portName, LogSink log)
    : RedirectedMidiOut(
          output,
          [this] {
            const int port = FindPort();
            if (port < 0 && log_) {
              log_(std::string(kMidiOutVariable) + ": no MIDI output port named \"" + portName_ + "\"");
            }
            return port;
          }),
      portName_(std::move(portName)),
      log_(std::move(log)) {}

int NamedDefaultMidiOut::FindPort() {
  const int count = output_.DeviceCount();
  // Device 0 is the built-in synth, which this output stands in for.
  for (int device = 1; device < count; ++device) {
    const std::string name = output_.DeviceName(device);
    if (name == portName_ || Trimmed(MidiOutEntry(device, name)) == Trimmed(portName_)) return device;
  }
  return -1;
}

ProgramOutput::ProgramOutput(LogSink log, WallClock& clock) {
  capturePath_ = Environment(kCaptureVariable);
  if (!capturePath_.empty()) {
    capture_ = std::make_unique<CaptureMidiOut>([&clock] { return clock.MonotonicMs(); });
    captureFile_.Create(capturePath_, captureError_);
    timedCapture_ = TimedCapture(*capture_, log);
    midi_ = timedCapture_.get();
    return;
  }
  platform_ = std::make_unique<PlatformMidiOut>(log);
  midi_ = platform_.get();
  const std::string port = Environment(kMidiOutVariable);
  if (!port.empty()) {
    named_ = std::make_unique<NamedDefaultMidiOut>(*platform_, port, std::move(log));
    midi_ = named_.get();
  }
}

ProgramOutput::~ProgramOutput() = default;

void ProgramOutput::FlushCapture() {
  if (!capture_ || !captureError_.empty()) return;
  captureFile_.Append(capture_->TakeRecorded(), captureError_);
}

void ProgramOutput::WriteCapture(MessageBoxes& messages) {
  if (!capture_) return;
  timedCapture_->Drain();
  if (captureError_.empty()) captureFile_.Close(capture_->TakeRecorded(), captureError_);
  if (!captureError_.empty()) {
    messages.ShowMessage("Impossibile scrivere il file \"" + capturePath_ + "\": " + captureError_);
  }
}

}  // namespace sonvela
