#pragma once
// What the MIDI ports need to know of a JACK server before and after they connect to it.

namespace sonvela {

// True when a JACK server runs (and none is started to find out).
bool JackServerRuns();
// JACK makes a new connection effective only at a later process cycle; messages before it are lost. Waits
// until the running server has started two more cycles (at most a second).
void WaitForJackConnection();

}  // namespace sonvela
