#pragma once
// The real MIDI input: the input ports of the ALSA sequencer, or of a running JACK server when there is no
// sequencer (the same choice as the output ports make).

#include <rtmidi/RtMidi.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "devices/midi_in.h"
#include "platform/jack_cycle_watch.h"
#include "platform/log_sink.h"

namespace sonvela {

// Result codes besides kMidiInOk, numbered like the output's.
constexpr int kMidiInFailed = 1;       // the device exists but could not be opened
constexpr int kMidiInBadDevice = 2;    // no device with that number
constexpr int kMidiInAlreadyOpen = 4;  // Open while a device is open
constexpr int kMidiInNotOpen = 5;      // Start, Stop or Close with nothing open
constexpr int kMidiInNoDriver = 6;     // no MIDI port system at all

class PlatformMidiIn : public MidiIn {
 public:
  // Connects to the port system; neither being there just means no devices. The library's complaints go
  // to `log` (from any thread), never to the terminal.
  explicit PlatformMidiIn(LogSink log = {});
  // Closes the open device.
  ~PlatformMidiIn() override;
  PlatformMidiIn(const PlatformMidiIn&) = delete;
  PlatformMidiIn& operator=(const PlatformMidiIn&) = delete;

  int DeviceCount() override;
  std::string DeviceName(int device) override;
  int Open(int device, Callback callback) override;
  int Start() override;
  int Stop() override;
  int Close() override;

  // "ALSA", "JACK", or empty when no port system could be reached.
  std::string PortSystem() const;

 private:
  static void OnMessage(double deltaSeconds, std::vector<unsigned char>* bytes, void* data);
  static void OnPortError(RtMidiError::Type type, const std::string& text, void* data);
  void Deliver(const std::vector<unsigned char>& bytes);
  // Connects to the ALSA sequencer, else a running JACK server; with portMutex_ held.
  void ConnectPorts();
  int CloseLocked();

  LogSink log_;
  // Guards the port object and whether it is open (the calls of the UI thread).
  mutable std::mutex portMutex_;
  std::unique_ptr<RtMidiIn> ports_;
  // With the JACK port system: a new connection carries messages only from a later cycle on, so Open waits
  // for cycles. Lives as long as ports_; waited on without portMutex_.
  std::unique_ptr<JackCycleWatch> jackCycles_;
  bool open_ = false;
  // Guards what the input thread reads. Close clears the callback under it, so no message reaches the
  // callback once Close has returned. Taken after portMutex_, never before it.
  std::mutex deliveryMutex_;
  Callback callback_;
  // Counts the opens, so that an open that waited for JACK tells only its own callback that it is open.
  uint64_t opens_ = 0;
  bool started_ = false;
  std::chrono::steady_clock::time_point startTime_;
};

}  // namespace sonvela
