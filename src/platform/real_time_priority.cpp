#include "platform/real_time_priority.h"

#include <pthread.h>
#include <sched.h>

#include <cstring>

namespace sonvela {

namespace {
// Below JACK's and the audio drivers' own real-time threads (60 and above), above everything else.
constexpr int kPriority = 40;
}  // namespace

std::string RaiseThreadPriority() {
  sched_param parameters{};
  parameters.sched_priority = kPriority;
  const int error = pthread_setschedparam(pthread_self(), SCHED_FIFO, &parameters);
  if (error == 0) return {};
  return std::string("real-time priority not granted: ") + std::strerror(error);
}

}  // namespace sonvela
