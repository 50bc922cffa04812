#include "platform/audio_libraries.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>

#include <cstdlib>

namespace sonvela {

namespace {

void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}
void QuietJack(const char*) {}

}  // namespace

void PrepareAudioLibraries() {
  setenv("JACK_NO_START_SERVER", "1", 1);
  snd_lib_error_set_handler(&QuietAlsa);
  jack_set_error_function(&QuietJack);
  jack_set_info_function(&QuietJack);
}

}  // namespace sonvela
