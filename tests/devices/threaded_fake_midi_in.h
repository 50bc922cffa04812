#pragma once
// A MIDI input device for tests: what the test plays reaches the callback from a thread of the device's
// own, in order, as a real port's input thread delivers it. Played messages are dropped unless started.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "devices/midi_in.h"

namespace sonvela {

class ThreadedFakeMidiIn : public MidiIn {
 public:
  ~ThreadedFakeMidiIn() override { StopThread(); }

  // What the fake devices look like and answer (set before use, on the test thread).
  std::vector<std::string> names = {"Keys"};
  int openResult = kMidiInOk;
  int stopResult = kMidiInOk;
  int closeResult = kMidiInOk;
  // Every port call made: "open <device>", "start", "stop", "close".
  std::vector<std::string> calls;

  int DeviceCount() override { return static_cast<int>(names.size()); }
  std::string DeviceName(int device) override { return names.at(static_cast<size_t>(device)); }

  int Open(int device, Callback callback) override {
    calls.push_back("open " + std::to_string(device));
    if (thread_.joinable()) return 4;
    if (device < 0 || device >= DeviceCount()) return 2;
    if (openResult != kMidiInOk) return openResult;
    callback_ = std::move(callback);
    callback_({MidiInMessageKind::kOpened, 0, 0});
    thread_ = std::thread([this] { Run(); });
    return kMidiInOk;
  }
  int Start() override { return SetStarted("start", true, kMidiInOk); }
  int Stop() override { return SetStarted("stop", false, stopResult); }
  int Close() override {
    calls.push_back("close");
    if (!thread_.joinable()) return 5;
    if (closeResult != kMidiInOk) return closeResult;
    StopThread();
    callback_({MidiInMessageKind::kClosed, 0, 0});
    callback_ = nullptr;
    return kMidiInOk;
  }

  void Play(MidiInMessage message) {
    std::lock_guard lock(mutex_);
    queue_.push_back(message);
    wake_.notify_one();
  }
  void Play(uint32_t word, uint32_t ms = 0) { Play({MidiInMessageKind::kData, word, ms}); }

 private:
  int SetStarted(const char* call, bool started, int result) {
    calls.push_back(call);
    if (!thread_.joinable()) return 5;
    if (result != kMidiInOk) return result;
    std::lock_guard lock(mutex_);
    started_ = started;
    return kMidiInOk;
  }
  void Run() {
    std::unique_lock lock(mutex_);
    while (true) {
      wake_.wait(lock, [this] { return quit_ || !queue_.empty(); });
      if (quit_) return;
      const MidiInMessage message = queue_.front();
      queue_.pop_front();
      if (!started_) continue;
      lock.unlock();
      callback_(message);
      lock.lock();
    }
  }
  void StopThread() {
    if (!thread_.joinable()) return;
    {
      std::lock_guard lock(mutex_);
      quit_ = true;
      wake_.notify_one();
    }
    thread_.join();
    quit_ = false;
    started_ = false;
    queue_.clear();
  }

  Callback callback_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<MidiInMessage> queue_;
  bool started_ = false;
  bool quit_ = false;
};

}  // namespace sonvela
