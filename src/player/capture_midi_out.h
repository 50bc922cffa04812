#pragma once
// An output that sounds nothing and records every short message sent to it, with its time in ms since the
// recording started: what the toolbox's --capture and the desktop program's SONVELA_CAPTURE write. Sends
// may come from any thread (MIDI input's thru, the UI thread).

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "player/midi_out.h"

namespace sonvela {

struct SentMessage {
  double timeMs = 0;
  uint32_t word = 0;
  int Status() const { return static_cast<int>(word & 0xFF); }
  int Data1() const { return static_cast<int>(word >> 8 & 0xFF); }
  int Data2() const { return static_cast<int>(word >> 16 & 0xFF); }
};

// "ms<TAB>status<TAB>data1<TAB>data2", decimal, ms with three decimals.
std::string CaptureLine(const SentMessage& message);

class CaptureMidiOut : public MidiOut {
 public:
  // `nowMs` reads a clock that never jumps (any fixed origin: only differences are kept).
  explicit CaptureMidiOut(std::function<double()> nowMs);

  // Messages sent before this are not recorded; times count from here.
  void StartRecording();
  // Runs at the start of the recording, before it: an output in front that holds messages back hands
  // them on, as they were sent before.
  void SetBeforeRecording(std::function<void()> handOnHeld) { beforeRecording_ = std::move(handOnHeld); }
  std::vector<SentMessage> Messages() const;
  // The messages recorded since the last call, handed over: a capture written as it goes keeps none.
  std::vector<SentMessage> TakeRecorded();

  int DeviceCount() override { return 1; }
  std::string DeviceName(int device) override;
  int Open(int device) override;
  int Close() override;
  int OpenDeviceId() override;
  std::string ErrorText(int code) override;
  void Send(uint32_t message) override;

 private:
  std::function<double()> nowMs_;
  std::function<void()> beforeRecording_;
  mutable std::mutex mutex_;
  bool recording_ = false;
  bool open_ = false;
  double startMs_ = 0;
  std::vector<SentMessage> sent_;
};

}  // namespace sonvela
