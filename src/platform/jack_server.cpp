#include "platform/jack_server.h"

#include <unistd.h>

#include <atomic>
#include <chrono>

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

}  // namespace sonvela
