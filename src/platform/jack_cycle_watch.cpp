#include "platform/jack_cycle_watch.h"

#include <cerrno>
#include <ctime>

#include "platform/jack_server.h"

namespace sonvela {

JackCycleWatch::JackCycleWatch() {
  sem_init(&wake_, 0, 0);
  client_ = OpenJackClient("SonvelaCycles");
  if (!client_) return;
  jack_set_process_callback(client_, &JackCycleWatch::OnProcess, this);
  jack_on_shutdown(client_, &JackCycleWatch::OnShutdown, this);
  if (jack_activate(client_) != 0) {
    jack_client_close(client_);
    client_ = nullptr;
  }
}

JackCycleWatch::~JackCycleWatch() {
  if (client_) jack_client_close(client_);
  sem_destroy(&wake_);
}

int JackCycleWatch::OnProcess(jack_nframes_t /*frames*/, void* data) {
  // The server's real-time thread: an increment and, only when someone waits, a post; nothing that blocks.
  auto* self = static_cast<JackCycleWatch*>(data);
  self->cycles_.fetch_add(1);
  if (self->waiters_.load() > 0) sem_post(&self->wake_);
  return 0;
}

void JackCycleWatch::OnShutdown(void* data) {
  auto* self = static_cast<JackCycleWatch*>(data);
  self->gone_ = true;
  sem_post(&self->wake_);
}

bool JackCycleWatch::WaitForCycles(int cycles, std::chrono::milliseconds timeout) {
  if (!Running()) return false;
  // The cycle running now may have begun before the call: it does not count.
  const uint64_t target = cycles_.load() + static_cast<uint64_t>(cycles) + 1;
  timespec deadline{};
  clock_gettime(CLOCK_MONOTONIC, &deadline);
  const auto ms = timeout.count();
  deadline.tv_sec += static_cast<time_t>(ms / 1000);
  deadline.tv_nsec += static_cast<long>(ms % 1000) * 1'000'000;
  if (deadline.tv_nsec >= 1'000'000'000) {
    deadline.tv_sec += 1;
    deadline.tv_nsec -= 1'000'000'000;
  }
  waiters_.fetch_add(1);
  bool reached = true;
  while (cycles_.load() < target) {
    if (gone_ || (sem_clockwait(&wake_, CLOCK_MONOTONIC, &deadline) != 0 && errno == ETIMEDOUT)) {
      reached = cycles_.load() >= target;
      break;
    }
  }
  waiters_.fetch_sub(1);
  return reached && !gone_;
}

}  // namespace sonvela
