#pragma once
// What reaches a JACK client's input port, in order, from the port's own thread, for the main thread to
// wait for. Only a lost message makes a wait run to its bound.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace sonvela::test {

using Bytes = std::vector<unsigned char>;

class Received {
 public:
  static void OnMessage(double /*deltaTime*/, Bytes* message, void* data) {
    auto* self = static_cast<Received*>(data);
    std::lock_guard lock(self->mutex_);
    self->messages_.push_back(*message);
    self->changed_.notify_all();
  }
  // Everything received once `count` messages are there.
  std::vector<Bytes> WaitFor(size_t count) {
    return Wait([&] { return messages_.size() >= count; });
  }
  // Everything received once `last` has come.
  std::vector<Bytes> Until(const Bytes& last) {
    return Wait([&] { return !messages_.empty() && messages_.back() == last; });
  }
  void Clear() {
    std::lock_guard lock(mutex_);
    messages_.clear();
  }

 private:
  template <typename Done>
  std::vector<Bytes> Wait(Done done) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::seconds(20), done);
    return messages_;
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Bytes> messages_;
};

// The first device from `first` on whose name holds the client's name, -1 for none.
template <typename Ports>
int DeviceNamed(Ports& ports, const std::string& client, int first) {
  for (int device = first; device < ports.DeviceCount(); ++device) {
    if (ports.DeviceName(device).find(client) != std::string::npos) return device;
  }
  return -1;
}

inline void PrintMessages(const std::vector<Bytes>& messages, size_t from = 0) {
  for (size_t i = from; i < messages.size(); ++i) {
    for (unsigned char byte : messages[i]) std::printf("%02X ", byte);
    std::printf("\n");
  }
}

}  // namespace sonvela::test
