#pragma once
// The MIDI output port: the one open output device that every short message goes to.
// Implemented by the platform (built-in synth, MIDI ports) and by a recorder in tests.

#include <cstdint>
#include <string>

namespace sonvela {

// The default output: the built-in synth ("the MIDI mapper").
constexpr int kDefaultMidiOut = -1;
// Result codes of Open and Close.
constexpr int kMidiOutOk = 0;

class MidiOut {
 public:
  virtual ~MidiOut() = default;
  // Output devices, numbered 0..DeviceCount()-1; device 0 is the built-in synth.
  virtual int DeviceCount() = 0;
  virtual std::string DeviceName(int device) = 0;
  // Opens a device (or kDefaultMidiOut), closing any open one first. kMidiOutOk or an error code.
  virtual int Open(int device) = 0;
  // Closes the open device. kMidiOutOk, or an error code when nothing was open or closing failed.
  virtual int Close() = 0;
  // The device number of the open output (the default output reports the built-in synth, 0); -1 when closed.
  virtual int OpenDeviceId() = 0;
  virtual std::string ErrorText(int code) = 0;
  // One short message: status + 256 x data1 + 65536 x data2. Safe to call from any thread; dropped
  // silently when no output is open.
  virtual void Send(uint32_t message) = 0;
  // A message of the song, with the ideal time of the tick it belongs to (WallClock::MonotonicMs). An output
  // that places messages in time plays it at that moment plus its fixed latency, however late the sender got
  // to it, keeping the order of the sends; any other output sends it now. Live input (thru, key clicks, the
  // note tester) uses Send: it is never delayed.
  virtual void SendAt(uint32_t message, double dueMs) {
    static_cast<void>(dueMs);
    Send(message);
  }
  // Every song message due by `dueMs` has been sent: the song's clock has got there. An output that renders
  // without a sound card to keep up with (an audio file) waits for this before it renders past it.
  virtual void SongSentUpTo(double dueMs) { static_cast<void>(dueMs); }
};

}  // namespace sonvela
