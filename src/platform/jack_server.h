#pragma once
// What the MIDI ports and the built-in synth need to know of a JACK server before and after they connect
// to it, and the one way they open a JACK client of their own.

#include <jack/jack.h>

#include <string>

namespace sonvela {

// A client of the running server (never one that starts a server), or nullptr when none runs or when
// libjack does not answer within a few seconds. libjack opens its metadata database
// (/dev/shm/jack_db-UID) before it looks for a server, and a JACK program killed while it held that
// database's lock leaves it held: every later open then waits for ever.
jack_client_t* OpenJackClient(const char* name);
// True when a JACK server runs and answers (and none is started to find out).
bool JackServerRuns();
// Why JACK is not used when libjack left an open unanswered, for the log; empty otherwise.
std::string JackNotAnswering();

}  // namespace sonvela
