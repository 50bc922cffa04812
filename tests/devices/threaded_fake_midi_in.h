#pragma once
// A MIDI input device for tests: what the test plays reaches the callback in order, from a thread other
// than the test's, as a real port's input thread delivers it. Played messages are dropped unless started.

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "devices/midi_in.h"

namespace sonvela {

class ThreadedFakeMidiIn : public MidiIn {
 public:
  ~ThreadedFakeMidiIn() override { Join(); }

  // What the fake devices look like and answer (set on the test thread).
  std::vector<std::string> names = {"Keys"};
  int openResult = kMidiInOk, stopResult = kMidiInOk, closeResult = kMidiInOk;
  // Every port call made: "open <device>", "start", "stop", "close".
  std::vector<std::string> calls;

  int DeviceCount() override { return static_cast<int>(names.size()); }
  std::string DeviceName(int device) override { return names.at(static_cast<size_t>(device)); }
  int Open(int device, Callback callback) override {
    calls.push_back("open " + std::to_string(device));
    if (callback_) return 4;
    if (device < 0 || device >= DeviceCount()) return 2;
    if (openResult != kMidiInOk) return openResult;
    callback_ = std::move(callback);
    callback_({MidiInMessageKind::kOpened, 0, 0});
    return kMidiInOk;
  }
  int Start() override { return Switch("start", true, kMidiInOk); }
  int Stop() override { return Switch("stop", false, stopResult); }
  int Close() override {
    calls.push_back("close");
    if (!callback_) return 5;
    if (closeResult != kMidiInOk) return closeResult;
    Join();
    started_ = false;
    callback_({MidiInMessageKind::kClosed, 0, 0});
    callback_ = nullptr;
    return kMidiInOk;
  }

  // Each message goes out on a thread of its own, once the one before it is through.
  void Play(uint32_t word, uint32_t ms = 0) {
    Join();
    if (started_) delivery_ = std::thread(callback_, MidiInMessage{MidiInMessageKind::kData, word, ms});
  }

 private:
  int Switch(const char* call, bool started, int result) {
    calls.push_back(call);
    if (!callback_) return 5;
    if (result != kMidiInOk) return result;
    started_ = started;
    return kMidiInOk;
  }
  void Join() {
    if (delivery_.joinable()) delivery_.join();
  }

  Callback callback_;
  std::thread delivery_;
  bool started_ = false;
};

}  // namespace sonvela
