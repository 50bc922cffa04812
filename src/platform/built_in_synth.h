#pragma once
// The default output: FluidSynth playing through the peak limiter to the system's audio output, its
// SoundFont loaded in the background.

#include <atomic>
#include <cstdint>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/log_sink.h"
#include "platform/paced_wav_output.h"
#include "platform/peak_limiter.h"
#include "platform/synth_engine.h"
#include "platform/system_wall_clock.h"
#include "platform/timed_synth.h"

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

  // Live input: played at once.
  void Send(uint32_t message) { engine_.Send(message); }
  // A message of the song: played at the frame of `dueMs` plus kOutputLatencyMs on the audio's own clock.
  // Without an audio output there is no clock to place it on, and it reaches the synth at once.
  void SendAt(uint32_t message, double dueMs);
  void SongSentUpTo(double dueMs) { timed_.SongSentUpTo(dueMs, SteadyNowMs()); }
  // Before the output closes: what is still on its way is played now (but the notes it would start), then
  // every note is released.
  void ReleaseAllNotes();
  // Song messages that came too late to be placed, and were played at once.
  int64_t LateMessages() const { return timed_.LateMessages(); }

  // Blocks until loading has finished; true when a SoundFont was loaded.
  bool WaitUntilLoaded() const { return loaded_.get(); }
  // The FluidSynth audio driver in use; empty when there is no sound.
  const std::string& AudioDriver() const { return driverName_; }

 private:
  void OpenAudio(const SynthOptions& options);
  bool OpenAudioFile(const std::string& path);
  // The audio driver's callback, on its real-time thread: no allocation, no locks of ours.
  static int RenderAudio(void* data, int len, int nfx, float* fx[], int nout, float* out[]);
  // Says in the debug log, at most once a second, how many song messages have come late so far.
  void ReportLateMessages(double nowMs);

  SynthEngine engine_;
  TimedSynth timed_{engine_, kOutputLatencyMs};
  std::mutex reportMutex_;
  int64_t reportedLate_ = 0;
  double lastReportMs_ = 0;
  std::shared_future<bool> loaded_;
  std::thread loader_;
  PeakLimiter limiter_{kSynthSampleRate};
  std::unique_ptr<fluid_audio_driver_t, decltype(&delete_fluid_audio_driver)> driver_;
  std::unique_ptr<PacedWavOutput> fileOutput_;
  std::string driverName_;
};

}  // namespace sonvela
