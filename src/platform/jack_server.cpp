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
  const double periodMs = 1000.0 * jack_get_buffer_size(client) / std::max(1u, jack_get_sample_rate(client));
  jack_client_close(client);
  std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(std::min(3 * periodMs + 2, 200.0)));
}

}  // namespace sonvela
