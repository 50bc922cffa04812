#include "platform/platform_midi_in.h"

#include <cmath>
#include <utility>

#include "platform/rtmidi_ports.h"

namespace sonvela {

namespace {

constexpr const char* kClientName = "Sonvela";
constexpr const char* kPortName = "Sonvela In";
// The cycle under way may still run on the old connections; the next two carry the new one. Bounded, so
// that a stalled server cannot hold up the user's choice.
constexpr int kJackConnectionCycles = 2;
constexpr std::chrono::milliseconds kJackConnectionLimit{1000};

}  // namespace

PlatformMidiIn::PlatformMidiIn(LogSink log) : log_(SerializedLog(std::move(log))) {
  std::lock_guard lock(portMutex_);
  ConnectPorts();
}

PlatformMidiIn::~PlatformMidiIn() {
  std::lock_guard lock(portMutex_);
  if (open_) CloseLocked();
}

void PlatformMidiIn::ConnectPorts() {
  ports_ = ConnectRtMidi<RtMidiIn>(kClientName, &PlatformMidiIn::OnPortError, this, jackCycles_,
                                   [this](const std::string& why) { log_("MIDI in: " + why); });
  if (!ports_) log_("MIDI in: no ALSA sequencer and no JACK server, no input devices");
}

std::string PlatformMidiIn::PortSystem() const {
  std::lock_guard lock(portMutex_);
  if (!ports_) return {};
  return PortSystemName(*ports_);
}

void PlatformMidiIn::OnPortError(RtMidiError::Type type, const std::string& text, void* data) {
  // May come from the input thread too; the log is serialized.
  if (type != RtMidiError::DEBUG_WARNING) static_cast<PlatformMidiIn*>(data)->log_("MIDI in: " + text);
}

int PlatformMidiIn::DeviceCount() {
  std::lock_guard lock(portMutex_);
  // A JACK server started after the program shows up the next time the devices are listed.
  if (!ports_) ConnectPorts();
  return ports_ ? static_cast<int>(ports_->getPortCount()) : 0;
}

std::string PlatformMidiIn::DeviceName(int device) {
  std::lock_guard lock(portMutex_);
  if (!ports_ || device < 0 || device >= static_cast<int>(ports_->getPortCount())) return {};
  return ports_->getPortName(static_cast<unsigned>(device));
}

int PlatformMidiIn::Open(int device, Callback callback) {
  JackCycleWatch* jack = nullptr;
  uint64_t opening = 0;
  {
    std::lock_guard lock(portMutex_);
    if (open_) return kMidiInAlreadyOpen;
    if (!ports_) ConnectPorts();
    if (!ports_) return kMidiInNoDriver;
    if (device < 0 || device >= static_cast<int>(ports_->getPortCount())) return kMidiInBadDevice;
    {
      std::lock_guard delivery(deliveryMutex_);
      callback_ = std::move(callback);
      started_ = false;
      opening = ++opens_;
    }
    // System exclusive data is never asked for; clock and active sensing reach the callback, which
    // ignores them itself.
    ports_->ignoreTypes(true, false, false);
    ports_->setCallback(&PlatformMidiIn::OnMessage, this);
    ports_->openPort(static_cast<unsigned>(device), kPortName);
    if (!ports_->isPortOpen()) {
      ports_->cancelCallback();
      std::lock_guard delivery(deliveryMutex_);
      callback_ = nullptr;
      return kMidiInFailed;
    }
    open_ = true;
    if (ports_->getCurrentApi() == RtMidi::UNIX_JACK) jack = jackCycles_.get();
  }
  // Notes played right after the choice should not be lost while JACK takes up the connection. Waited for
  // on the server's cycles, with no lock held: the other calls and the input thread go on meanwhile.
  if (jack && !jack->WaitForCycles(kJackConnectionCycles, kJackConnectionLimit)) {
    log_("MIDI in: the JACK server has stopped or stalled: the first notes may be lost");
  }
  std::lock_guard delivery(deliveryMutex_);
  // Unless a Close (or a Close and another Open) came meanwhile.
  if (callback_ && opens_ == opening) callback_({MidiInMessageKind::kOpened, 0, 0});
  return kMidiInOk;
}

int PlatformMidiIn::Start() {
  std::lock_guard lock(portMutex_);
  if (!open_) return kMidiInNotOpen;
  std::lock_guard delivery(deliveryMutex_);
  started_ = true;
  startTime_ = std::chrono::steady_clock::now();
  return kMidiInOk;
}

int PlatformMidiIn::Stop() {
  std::lock_guard lock(portMutex_);
  if (!open_) return kMidiInNotOpen;
  std::lock_guard delivery(deliveryMutex_);
  started_ = false;
  return kMidiInOk;
}

int PlatformMidiIn::Close() {
  std::lock_guard lock(portMutex_);
  return CloseLocked();
}

int PlatformMidiIn::CloseLocked() {
  if (!open_) return kMidiInNotOpen;
  {
    // From here on the input thread finds no callback, whatever the library still delivers.
    std::lock_guard delivery(deliveryMutex_);
    started_ = false;
    if (callback_) callback_({MidiInMessageKind::kClosed, 0, 0});
    callback_ = nullptr;
  }
  ports_->cancelCallback();
  ports_->closePort();
  open_ = false;
  return kMidiInOk;
}

void PlatformMidiIn::OnMessage(double, std::vector<unsigned char>* bytes, void* data) {
  if (bytes) static_cast<PlatformMidiIn*>(data)->Deliver(*bytes);
}

void PlatformMidiIn::Deliver(const std::vector<unsigned char>& bytes) {
  // Only short messages come: system exclusive data is ignored at the port.
  if (bytes.empty() || bytes.size() > 3) return;
  uint32_t word = 0;
  for (size_t i = 0; i < bytes.size(); ++i) word |= static_cast<uint32_t>(bytes[i]) << (8 * i);
  std::lock_guard delivery(deliveryMutex_);
  if (!callback_ || !started_) return;
  const std::chrono::duration<double, std::milli> sinceStart = std::chrono::steady_clock::now() - startTime_;
  const auto stamp = static_cast<uint32_t>(std::lrint(sinceStart.count()));
  // A message without a status byte is not one the device should have sent.
  const MidiInMessageKind kind = bytes[0] >= 0x80 ? MidiInMessageKind::kData : MidiInMessageKind::kError;
  callback_({kind, word, stamp});
}

}  // namespace sonvela
