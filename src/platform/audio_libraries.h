#pragma once
// Process settings the audio libraries need before their first client is made.

namespace sonvela {

// Sets JACK_NO_START_SERVER=1 (otherwise libjack spends seconds trying to start a server) and silences the
// messages that libasound and libjack print to the terminal. Their hooks take no context pointer, so routing
// them to an owned log would need a global; our own lines say what failed instead. Called once, first thing
// in main: setenv is unsafe while another thread may read the environment, and the libraries read their
// hooks from their own threads.
void PrepareAudioLibraries();

}  // namespace sonvela
