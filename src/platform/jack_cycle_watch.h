#pragma once
// Follows the process cycles of the running JACK server. RtMidi's JACK output only queues a message: the
// port's own process callback hands it on in a later cycle. Counting cycles tells when a new connection
// carries messages and when everything queued has reached the receivers.

#include <jack/jack.h>
#include <semaphore.h>

#include <atomic>
#include <chrono>
#include <cstdint>

namespace sonvela {

class JackCycleWatch {
 public:
  // Joins the running server as a client without ports; Running() is false when there is none.
  JackCycleWatch();
  ~JackCycleWatch();
  JackCycleWatch(const JackCycleWatch&) = delete;
  JackCycleWatch& operator=(const JackCycleWatch&) = delete;

  bool Running() const { return client_ != nullptr && !gone_; }
  // Blocks until `cycles` process cycles have begun after the call (the one under way does not count).
  // False when the server went away or `timeout` passed first.
  bool WaitForCycles(int cycles, std::chrono::milliseconds timeout);

 private:
  static int OnProcess(jack_nframes_t frames, void* data);
  static void OnShutdown(void* data);

  jack_client_t* client_ = nullptr;
  std::atomic<uint64_t> cycles_ = 0;
  std::atomic<bool> gone_ = false;
  // Posted by the process callback only while someone waits, so no count builds up in between.
  std::atomic<int> waiters_ = 0;
  sem_t wake_;
};

}  // namespace sonvela
