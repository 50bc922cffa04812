#pragma once
// The MIDI input port: one input device at a time, whose messages reach a callback on a thread of the
// port's own. Implemented by the platform (RtMidi ports) and by a threaded fake in tests.

#include <cstdint>
#include <functional>
#include <string>

namespace sonvela {

// Result code of Open, Start, Stop and Close.
constexpr int kMidiInOk = 0;

enum class MidiInMessageKind {
  kOpened,     // the device was opened
  kClosed,     // the device is being closed
  kData,       // a short message: param1 is the word, param2 the time stamp
  kLongData,   // system-exclusive data: param1 its length in bytes, param2 the time stamp
  kError,      // bytes that make no valid message: param1 the word, param2 the time stamp
  kLongError,  // system-exclusive data that could not be read
};

// One input event. A short message word holds the status byte in bits 0..7, data 1 in bits 8..15 and
// data 2 in bits 16..23; time stamps are milliseconds since Start.
struct MidiInMessage {
  MidiInMessageKind kind = MidiInMessageKind::kData;
  uint32_t param1 = 0;
  uint32_t param2 = 0;
};

class MidiIn {
 public:
  // Called on the port's input thread for every message while the device is started; kOpened and
  // kClosed come on the thread that calls Open and Close. Never called again once Close has returned.
  using Callback = std::function<void(const MidiInMessage&)>;

  virtual ~MidiIn() = default;
  // Input devices, numbered 0..DeviceCount()-1.
  virtual int DeviceCount() = 0;
  virtual std::string DeviceName(int device) = 0;
  // Opens a device with the callback for its messages. Fails (an error code) when a device is already open.
  virtual int Open(int device, Callback callback) = 0;
  // Messages reach the callback only between Start and Stop; time stamps count from Start.
  virtual int Start() = 0;
  virtual int Stop() = 0;
  // Closes the open device; an error code when nothing is open.
  virtual int Close() = 0;
};

}  // namespace sonvela
