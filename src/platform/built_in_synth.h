#pragma once
// The default output: FluidSynth playing through the peak limiter to the system's audio output, its
// SoundFont loaded in the background.

#include <atomic>
#include <cstdint>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/log_sink.h"
#include "platform/paced_wav_output.h"
#include "platform/peak_limiter.h"
#include "platform/synth_engine.h"

namespace sonvela {

struct SynthOptions {
  std::string soundFont;                  // preferred .sf2; the Debian GM SoundFont when empty or missing
  std::vector<std::string> audioDrivers;  // FluidSynth audio drivers, tried in order
  std::string audioFile;                  // when set: play in real time into this WAV instead

  // SONVELA_SOUNDFONT, SONVELA_AUDIO_DRIVER (one driver instead of pulseaudio, alsa, jack),
  // SONVELA_AUDIO_FILE.
  static SynthOptions FromEnvironment();
};

class BuiltInSynth {
 public:
  // Returns at once: the SoundFont loads on its own thread. Messages sent before it is loaded reach the
  // synth's state (notes off, controllers, programs) but sound only once the SoundFont is there.
  BuiltInSynth(const SynthOptions& options, LogSink log);
  ~BuiltInSynth();
  BuiltInSynth(const BuiltInSynth&) = delete;
  BuiltInSynth& operator=(const BuiltInSynth&) = delete;

  void Send(uint32_t message) { engine_.Send(message); }
  void ReleaseAllNotes() { engine_.ReleaseAllNotes(); }

  // Blocks until loading has finished; true when a SoundFont was loaded.
  bool WaitUntilLoaded() const { return loaded_.get(); }
  // The FluidSynth audio driver in use; empty when there is no sound.
  const std::string& AudioDriver() const { return driverName_; }

 private:
  void OpenAudio(const SynthOptions& options);
  bool OpenAudioFile(const std::string& path);
  // The audio driver's callback, on its real-time thread: no allocation, no locks of ours.
  static int RenderAudio(void* data, int len, int nfx, float* fx[], int nout, float* out[]);

  SynthEngine engine_;
  std::shared_future<bool> loaded_;
  std::thread loader_;
  PeakLimiter limiter_{kSynthSampleRate};
  std::unique_ptr<fluid_audio_driver_t, decltype(&delete_fluid_audio_driver)> driver_;
  std::unique_ptr<PacedWavOutput> fileOutput_;
  std::string driverName_;
};

}  // namespace sonvela
