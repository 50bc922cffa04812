#pragma once
// A MidiOut for tests: sounds nothing, keeps every word sent with its time on the clock (0 without one),
// and answers Open and Close as the test sets it.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "player/capture_midi_out.h"
#include "player/midi_out.h"
#include "player/wall_clock.h"

namespace sonvela {

class RecordingMidiOut : public MidiOut {
 public:
  explicit RecordingMidiOut(WallClock* clock = nullptr) : clock_(clock) {}

  std::vector<std::string> DeviceNames = {"Built-in synth"};
  int OpenResult = kMidiOutOk;
  int CloseResult = kMidiOutOk;
  // Everything sent, in order, open output or not; every call: "open <device>", "close".
  std::vector<SentMessage> Sent;
  std::vector<std::string> Calls;
  std::vector<uint32_t> Words() const {
    std::vector<uint32_t> words;
    for (const SentMessage& sent : Sent) words.push_back(sent.word);
    return words;
  }

  int DeviceCount() override { return static_cast<int>(DeviceNames.size()); }
  std::string DeviceName(int device) override {
    return device >= 0 && device < DeviceCount() ? DeviceNames[static_cast<size_t>(device)] : "";
  }
  int Open(int device) override {
    Calls.push_back("open " + std::to_string(device));
    if (OpenResult != kMidiOutOk) return OpenResult;
    openDevice_ = device == kDefaultMidiOut ? 0 : device;  // the default output is the built-in synth
    return kMidiOutOk;
  }
  int Close() override {
    Calls.push_back("close");
    if (CloseResult != kMidiOutOk) return CloseResult;
    if (openDevice_ < 0) return 1;
    openDevice_ = -1;
    return kMidiOutOk;
  }
  int OpenDeviceId() override { return openDevice_; }
  std::string ErrorText(int code) override { return "error " + std::to_string(code); }
  void Send(uint32_t message) override {
    Sent.push_back({clock_ ? clock_->MonotonicMs() : 0, message});
    if (OnSend) OnSend(message);
  }
  // Called after each send, to look at what else has happened by then.
  std::function<void(uint32_t)> OnSend;

 private:
  WallClock* clock_;
  int openDevice_ = -1;
};

}  // namespace sonvela
