#include "platform/platform_midi_out.h"

#include <unistd.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/audio_libraries.h"
#include "platform/cerr_to_log.h"
#include "platform/jack_server.h"
#include "platform/midi_out_codes.h"

namespace sonvela {

namespace {

constexpr const char* kClientName = "Sonvela";
constexpr const char* kPortName = "Sonvela Out";

// Bytes of a short message by its status; 0 for what a short message cannot carry.
size_t MessageLength(int status) {
  if (status < 0x80) return 0;  // running status: a short message word always carries its own status
  switch (status & 0xF0) {
    case 0xC0:
    case 0xD0:
      return 2;
    case 0xF0:
      break;
    default:
      return 3;
  }
  switch (status) {
    case 0xF1:
    case 0xF3:
      return 2;
    case 0xF2:
      return 3;
    case 0xF6:
    case 0xF8:
    case 0xFA:
    case 0xFB:
    case 0xFC:
    case 0xFE:
    case 0xFF:
      return 1;
    default:
      return 0;  // SysEx and undefined statuses
  }
}

}  // namespace

PlatformMidiOut::PlatformMidiOut(const SynthOptions& options, LogSink log)
    : log_(SerializedLog(std::move(log))), synth_(options, log_) {
  std::lock_guard lock(mutex_);
  ConnectPorts();
}

PlatformMidiOut::~PlatformMidiOut() {
  std::lock_guard lock(mutex_);
  if (openDevice_ >= 0) CloseLocked();
}

void PlatformMidiOut::ConnectPorts() {
  PrepareAudioLibraries();
  std::vector<RtMidi::Api> compiled;
  RtMidi::getCompiledApi(compiled);
  for (RtMidi::Api api : {RtMidi::LINUX_ALSA, RtMidi::UNIX_JACK}) {
    // An API missing from the build would make RtMidi pick another one silently.
    if (std::find(compiled.begin(), compiled.end(), api) == compiled.end()) continue;
    // Without the device RtMidi's ALSA backend fails loudly (and throws); without a server its JACK
    // backend warns and leaks on every listing. Neither is worth trying then.
    if (api == RtMidi::LINUX_ALSA && access("/dev/snd/seq", R_OK | W_OK) != 0) continue;
    if (api == RtMidi::UNIX_JACK && !JackServerRuns()) continue;
    CerrToLog quiet([this](const std::string& line) { LogPortError(line); });
    try {
      ports_ = std::make_unique<RtMidiOut>(api, kClientName);
      ports_->setErrorCallback(&PlatformMidiOut::OnPortError, this);
      return;
    } catch (const RtMidiError& error) {
      LogPortError(RtMidi::getApiDisplayName(api) + " not available: " + error.getMessage());
    }
  }
  LogPortError("no ALSA sequencer and no JACK server, only the built-in synth");
}

std::string PlatformMidiOut::PortSystem() const {
  std::lock_guard lock(mutex_);
  if (!ports_) return {};
  return ports_->getCurrentApi() == RtMidi::LINUX_ALSA ? "ALSA" : "JACK";
}

void PlatformMidiOut::OnPortError(RtMidiError::Type type, const std::string& text, void* data) {
  if (type != RtMidiError::DEBUG_WARNING) static_cast<PlatformMidiOut*>(data)->LogPortError(text);
}

void PlatformMidiOut::LogPortError(const std::string& text) {
  // Runs with mutex_ held (port calls and connecting happen under it). A JACK client without a server repeats
  // the same warning on every listing, so it is logged once.
  if (text == lastPortError_) return;
  lastPortError_ = text;
  log_("MIDI ports: " + text);
}

int PlatformMidiOut::DeviceCount() {
  std::lock_guard lock(mutex_);
  // A JACK server started after the program shows up the next time the devices are listed.
  if (!ports_) ConnectPorts();
  return 1 + (ports_ ? static_cast<int>(ports_->getPortCount()) : 0);
}

std::string PlatformMidiOut::DeviceName(int device) {
  if (device == 0) return kBuiltInSynthName;
  std::lock_guard lock(mutex_);
  if (!ports_ || device < 0 || device > static_cast<int>(ports_->getPortCount())) return {};
  return ports_->getPortName(device - 1);
}

int PlatformMidiOut::Open(int device) {
  std::lock_guard lock(mutex_);
  if (openDevice_ >= 0) CloseLocked();
  if (device == kDefaultMidiOut || device == 0) {
    openDevice_ = 0;
    return kMidiOutOk;
  }
  if (!ports_) return kMidiOutNoDriver;
  if (device < 0 || device > static_cast<int>(ports_->getPortCount())) return kMidiOutBadDevice;
  ports_->openPort(device - 1, kPortName);
  if (!ports_->isPortOpen()) return kMidiOutFailed;
  if (ports_->getCurrentApi() == RtMidi::UNIX_JACK) WaitForJackConnection();
  openDevice_ = device;
  return kMidiOutOk;
}

int PlatformMidiOut::Close() {
  std::lock_guard lock(mutex_);
  return CloseLocked();
}

int PlatformMidiOut::CloseLocked() {
  if (openDevice_ < 0) return kMidiOutNotOpen;
  if (openDevice_ == 0) {
    // Switching away must not leave the synth's notes hanging; a port's device keeps its own state.
    synth_.ReleaseAllNotes();
  } else if (ports_) {
    ports_->closePort();
  }
  openDevice_ = -1;
  return kMidiOutOk;
}

int PlatformMidiOut::OpenDeviceId() {
  std::lock_guard lock(mutex_);
  return openDevice_;
}

std::string PlatformMidiOut::ErrorText(int code) {
  return MidiOutErrorText(code);
}

void PlatformMidiOut::Send(uint32_t message) {
  std::lock_guard lock(mutex_);
  if (openDevice_ == 0) {
    synth_.Send(message);
  } else if (openDevice_ > 0 && ports_) {
    const unsigned char bytes[3] = {static_cast<unsigned char>(message & 0xFF),
                                    static_cast<unsigned char>((message >> 8) & 0x7F),
                                    static_cast<unsigned char>((message >> 16) & 0x7F)};
    const size_t length = MessageLength(bytes[0]);
    if (length > 0) ports_->sendMessage(bytes, length);
  }
}

}  // namespace sonvela
