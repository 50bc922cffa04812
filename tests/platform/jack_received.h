#pragma once
// For the JACK check programs: what reaches a client's input port, in order, for the main thread to wait
// for (only a lost message makes a wait run to its bound), and the Sonvela side's setup.

#include <rtmidi/RtMidi.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "platform/audio_libraries.h"
#include "platform/platform_midi_out.h"

namespace sonvela::test {

using Bytes = std::vector<unsigned char>;

class Received {
 public:
  // A client named `name` with one input port, whose messages are received here.
  explicit Received(const std::string& name) : port_(RtMidi::UNIX_JACK, name) {
    port_.setCallback(&Received::OnMessage, this);
    port_.ignoreTypes(false, false, false);
    port_.openVirtualPort("in");
  }
  // Everything received once `count` messages are there / once `last` has come.
  std::vector<Bytes> WaitFor(size_t count) {
    return Wait([&] { return messages_.size() >= count; });
  }
  std::vector<Bytes> Until(const Bytes& last) {
    return Wait([&] { return !messages_.empty() && messages_.back() == last; });
  }
  void Clear() {
    std::lock_guard lock(mutex_);
    messages_.clear();
  }

 private:
  static void OnMessage(double /*deltaTime*/, Bytes* message, void* data) {
    auto* self = static_cast<Received*>(data);
    std::lock_guard lock(self->mutex_);
    self->messages_.push_back(*message);
    self->changed_.notify_all();
  }
  template <typename Done>
  std::vector<Bytes> Wait(Done done) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::seconds(20), done);
    return messages_;
  }
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Bytes> messages_;
  RtMidiIn port_;  // last: its thread stops before the rest goes
};

// The first device from `first` on whose name holds the client's name, -1 for none.
template <typename Ports>
int DeviceNamed(Ports& ports, const std::string& client, int first) {
  for (int device = first; device < ports.DeviceCount(); ++device) {
    if (ports.DeviceName(device).find(client) != std::string::npos) return device;
  }
  return -1;
}

// Prints "FAIL: what" and the messages from `from` on when not `ok`; returns `ok`.
inline bool Check(bool ok, const std::string& what, const std::vector<Bytes>& messages = {},
                  size_t from = 0) {
  if (ok) return true;
  std::printf("FAIL: %s\n", what.c_str());
  for (size_t i = from; i < messages.size(); ++i) {
    for (unsigned char byte : messages[i]) std::printf("%02X ", byte);
    std::printf("\n");
  }
  return false;
}

inline void Log(const std::string& line) {
  std::fprintf(stderr, "log: %s\n", line.c_str());
}

// Sonvela's output, its synth silent. Made after PrepareAudioLibraries, before any thread starts.
inline PlatformMidiOut SilentOutput() {
  SynthOptions silent;
  silent.audioDrivers = {"none"};
  return PlatformMidiOut(silent, Log);
}

}  // namespace sonvela::test
