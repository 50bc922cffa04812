#include "platform/jack_server.h"

#include <jack/jack.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace sonvela {

bool JackServerRuns() {
  jack_client_t* client = jack_client_open("SonvelaProbe", JackNoStartServer, nullptr);
  if (!client) return false;
  jack_client_close(client);
  return true;
}

void WaitForJackConnection() {
  jack_client_t* client = jack_client_open("SonvelaProbe", JackNoStartServer, nullptr);
  if (!client) return;
  // Counted in the server's cycles, not in wall time: on a loaded machine a cycle can take much longer
  // than its period. The cycle running now may still use the old connections; two cycle starts on, the
  // new ones carry messages.
  const jack_nframes_t period = std::max(1u, jack_get_buffer_size(client));
  const double periodMs = 1000.0 * period / std::max(1u, jack_get_sample_rate(client));
  const jack_nframes_t start = jack_last_frame_time(client);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  while (jack_last_frame_time(client) - start < 2 * period && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(std::min(periodMs / 4, 10.0)));
  }
  jack_client_close(client);
}

}  // namespace sonvela
