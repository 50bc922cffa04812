#include "platform/platform_midi_out.h"

#include <chrono>
#include <utility>

#include "platform/midi_out_codes.h"
#include "platform/rtmidi_ports.h"
#include "platform/system_wall_clock.h"

namespace sonvela {

namespace {

constexpr const char* kClientName = "Sonvela";
constexpr const char* kPortName = "Sonvela Out";

// Bytes of a short message by its status; 0 for what a short message cannot carry.
size_t MessageLength(int status) {
  if (status < 0x80) return 0;  // running status: every caller sends full messages
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

// Waiting for a JACK server's cycles is bounded, so that a stalled or vanished server cannot hang the
// program.
constexpr std::chrono::milliseconds kJackWaitLimit{2000};
// Cycles to wait before a JACK port goes: in the first that begins after the last Send, RtMidi's process
// callback hands the queued messages to the port and the receivers read them; the second begins only when
// that one has finished; the third covers receivers that read a cycle late (a feedback loop in the graph).
constexpr int kJackDeliveryCycles = 3;
// A connection or disconnection takes effect when a cycle begins. Changes made before the previous one has
// taken effect were seen to leave a reopened port connected to nothing.
constexpr int kJackGraphChangeCycles = 1;

}  // namespace

PlatformMidiOut::PlatformMidiOut(const SynthOptions& options, LogSink log)
    : log_(SerializedLog(std::move(log))), synthOptions_(options) {
  std::lock_guard change(switchMutex_);
  ConnectPorts();
}

PlatformMidiOut::~PlatformMidiOut() {
  std::lock_guard change(switchMutex_);
  CloseLocked();
}

void PlatformMidiOut::ConnectPorts() {
  // On JACK the client that found the server stays, for timing the port's opens and closes.
  auto ports = ConnectRtMidi<RtMidiOut>(kClientName, &PlatformMidiOut::OnPortError, this, jackCycles_,
                                        [this](const std::string& why) { LogPortError(why); });
  if (!ports) {
    LogPortError("no ALSA sequencer and no JACK server, only the built-in synth");
    return;
  }
  std::lock_guard send(sendMutex_);
  ports_ = std::move(ports);
}

std::string PlatformMidiOut::PortSystem() const {
  std::lock_guard send(sendMutex_);
  if (!ports_) return {};
  return PortSystemName(*ports_);
}

void PlatformMidiOut::OnPortError(RtMidiError::Type type, const std::string& text, void* data) {
  if (type != RtMidiError::DEBUG_WARNING) static_cast<PlatformMidiOut*>(data)->LogPortError(text);
}

void PlatformMidiOut::LogPortError(const std::string& text) {
  // A JACK client without a server repeats the same warning on every listing, so it is logged once.
  std::lock_guard lock(errorMutex_);
  if (text == lastPortError_) return;
  lastPortError_ = text;
  log_("MIDI ports: " + text);
}

int PlatformMidiOut::DeviceCount() {
  std::lock_guard change(switchMutex_);
  // A JACK server started after the program shows up the next time the devices are listed.
  if (!ports_) ConnectPorts();
  // The port system's handle is not used from two threads at once: a thru send may be under way.
  std::lock_guard send(sendMutex_);
  return 1 + (ports_ ? static_cast<int>(ports_->getPortCount()) : 0);
}

std::string PlatformMidiOut::DeviceName(int device) {
  if (device == 0) return kBuiltInSynthName;
  std::lock_guard change(switchMutex_);
  std::lock_guard send(sendMutex_);
  if (!ports_ || device < 0 || device > static_cast<int>(ports_->getPortCount())) return {};
  return ports_->getPortName(device - 1);
}

BuiltInSynth& PlatformMidiOut::Synth() {
  std::lock_guard change(switchMutex_);
  return SynthLocked();
}

BuiltInSynth& PlatformMidiOut::SynthLocked() {
  if (!synth_) {
    auto synth = std::make_unique<BuiltInSynth>(synthOptions_, log_);
    std::lock_guard send(sendMutex_);
    synth_ = std::move(synth);
  }
  return *synth_;
}

int PlatformMidiOut::Open(int device) {
  std::lock_guard change(switchMutex_);
  CloseLocked();
  if (device == kDefaultMidiOut || device == 0) {
    SynthLocked();
    std::lock_guard send(sendMutex_);
    openDevice_ = 0;
    return kMidiOutOk;
  }
  if (!ports_) return kMidiOutNoDriver;
  {
    std::lock_guard send(sendMutex_);
    if (device < 0 || device > static_cast<int>(ports_->getPortCount())) return kMidiOutBadDevice;
    // Its thread takes sendMutex_ before it looks at portSender_, so not before this assignment.
    if (!portSender_) {
      portSender_ = std::make_unique<TimedPortSender>(
          kOutputLatencyMs, [this] { SendDuePortMessages(); }, log_);
    }
  }
  ports_->openPort(device - 1, kPortName);
  if (!ports_->isPortOpen()) return kMidiOutFailed;
  // Messages handed on before the new connection takes effect would be lost: sends are dropped until then.
  WaitForJackCycles(kJackGraphChangeCycles);
  std::lock_guard send(sendMutex_);
  openDevice_ = device;
  return kMidiOutOk;
}

int PlatformMidiOut::Close() {
  std::lock_guard change(switchMutex_);
  return CloseLocked();
}

int PlatformMidiOut::CloseLocked() {
  int closing = -1;
  {
    std::lock_guard send(sendMutex_);
    closing = openDevice_;
    if (closing < 0) return kMidiOutNotOpen;
    if (closing == 0) {
      // Switching away must not leave the synth's notes hanging; a port's device keeps its own state.
      synth_->ReleaseAllNotes();
    } else {
      // What the timed sender still holds goes first, but for notes that would only start now.
      while (const auto message = portSender_->TakeDue(0, true)) {
        if (!IsNoteOn(message->word)) SendToPort(message->word);
      }
    }
    // Sends from here on are dropped: the device is going.
    openDevice_ = -1;
  }
  if (closing > 0) {
    // A message sent just before the close (a Note Off, the last All Notes Off) must not be lost. The ALSA
    // sequencer has taken it during sendMessage; RtMidi's JACK port has only queued it.
    WaitForJackCycles(kJackDeliveryCycles);
    // RtMidi's JACK port waits for a cycle of its own here.
    ports_->closePort();
    WaitForJackCycles(kJackGraphChangeCycles);
  }
  return kMidiOutOk;
}

void PlatformMidiOut::WaitForJackCycles(int cycles) {
  if (jackCycles_ && !jackCycles_->WaitForCycles(cycles, kJackWaitLimit)) {
    LogPortError("the JACK server has stopped or stalled: messages may be lost");
  }
}

int PlatformMidiOut::OpenDeviceId() {
  std::lock_guard send(sendMutex_);
  return openDevice_;
}

std::string PlatformMidiOut::ErrorText(int code) {
  return MidiOutErrorText(code);
}

void PlatformMidiOut::Send(uint32_t message) {
  std::lock_guard send(sendMutex_);
  if (openDevice_ == 0) {
    synth_->Send(message);
  } else if (openDevice_ > 0) {
    SendToPort(message);
  }
}

void PlatformMidiOut::SendAt(uint32_t message, double dueMs) {
  std::lock_guard send(sendMutex_);
  if (openDevice_ == 0) {
    synth_->SendAt(message, dueMs);
  } else if (openDevice_ > 0) {
    portSender_->SendAt(message, dueMs);
  }
}

void PlatformMidiOut::SongSentUpTo(double dueMs) {
  std::lock_guard send(sendMutex_);
  if (openDevice_ == 0) synth_->SongSentUpTo(dueMs);
}

void PlatformMidiOut::SendToPort(uint32_t message) {
  if (!ports_) return;
  const unsigned char bytes[3] = {static_cast<unsigned char>(message & 0xFF),
                                  static_cast<unsigned char>((message >> 8) & 0x7F),
                                  static_cast<unsigned char>((message >> 16) & 0x7F)};
  const size_t length = MessageLength(bytes[0]);
  if (length > 0) ports_->sendMessage(bytes, length);
}

void PlatformMidiOut::SendDuePortMessages() {
  std::lock_guard send(sendMutex_);
  // Messages of a port closed meanwhile were sent at its close; any left over have nowhere to go.
  const double now = SteadyNowMs();
  while (const auto message = portSender_->TakeDue(now)) {
    if (openDevice_ > 0) SendToPort(message->word);
  }
}

}  // namespace sonvela
