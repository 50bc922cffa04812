#pragma once
// A MidiOut that sounds nothing and keeps every word sent, with its time: for tests and for capturing a
// performance to a file. Time comes from a WallClock's monotonic ms (since MarkStart) or, without one, from
// SetTimeMs (the caller sets 10 x the tick count when it drives the ticks itself).

#include <cstdint>
#include <string>
#include <vector>

#include "player/capture_midi_out.h"
#include "player/midi_out.h"
#include "player/wall_clock.h"

namespace sonvela {

class RecordingMidiOut : public MidiOut {
 public:
  explicit RecordingMidiOut(WallClock* clock = nullptr) : clock_(clock) {}

  // What the fake devices look like and answer.
  std::vector<std::string> DeviceNames = {"Built-in synth"};
  int OpenResult = kMidiOutOk;
  int CloseResult = kMidiOutOk;

  // Everything sent, in order, whether an output was open or not.
  std::vector<SentMessage> Sent;
  // Every Open and Close call: "open <device>", "close".
  std::vector<std::string> Calls;

  void MarkStart();
  void SetTimeMs(double ms) { manualMs_ = ms; }

  int DeviceCount() override { return static_cast<int>(DeviceNames.size()); }
  std::string DeviceName(int device) override;
  int Open(int device) override;
  int Close() override;
  int OpenDeviceId() override { return openDevice_; }
  std::string ErrorText(int code) override;
  void Send(uint32_t message) override;

 private:
  double NowMs();
  WallClock* clock_;
  double startMs_ = 0;
  double manualMs_ = 0;
  int openDevice_ = -1;
};

}  // namespace sonvela
