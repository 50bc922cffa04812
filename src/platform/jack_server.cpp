#include "platform/jack_server.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/answer_within.h"

namespace sonvela {

namespace {

// A healthy open takes milliseconds, even with a server under load.
constexpr std::chrono::seconds kJackAnswerLimit{3};

// Opens given up on and not yet answered. Process-wide, as libjack's own state is: the open waiting in
// there holds libjack's lock, so no later open could answer either until it does.
std::atomic<int>& UnansweredOpens() {
  static std::atomic<int> count{0};
  return count;
}

}  // namespace

jack_client_t* OpenJackClient(const char* name) {
  if (UnansweredOpens() > 0) return nullptr;
  const std::optional<jack_client_t*> client = AnswerWithin<jack_client_t*>(
      [clientName = std::string(name)] {
        return jack_client_open(clientName.c_str(), JackNoStartServer, nullptr);
      },
      kJackAnswerLimit,
      // Only slow after all: let the client go, and JACK may be used again.
      [](jack_client_t* late) {
        if (late) jack_client_close(late);
        --UnansweredOpens();
      });
  if (!client) {
    ++UnansweredOpens();
    return nullptr;
  }
  return *client;
}

bool JackServerRuns() {
  jack_client_t* client = OpenJackClient("SonvelaProbe");
  if (!client) return false;
  jack_client_close(client);
  return true;
}

std::string JackNotAnswering() {
  if (UnansweredOpens() <= 0) return {};
  return "the JACK library did not answer within " + std::to_string(kJackAnswerLimit.count()) +
         " s, JACK is not used. A JACK program killed while starting can leave /dev/shm/jack_db-" +
         std::to_string(getuid()) + " locked: remove that folder while no JACK program runs.";
}

void WaitForJackConnection() {
  jack_client_t* client = OpenJackClient("SonvelaProbe");
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
