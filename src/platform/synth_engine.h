#pragma once
// A FluidSynth synthesizer fed with short MIDI message words; shared by the built-in synth and the renderer.

#include <fluidsynth.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/log_sink.h"

namespace sonvela {

constexpr int kSynthSampleRate = 44100;
// FluidSynth's default gain of 0.2 is quiet. At 0.5 a held seven-note piano chord peaks near -9 dBFS and a
// dense loud full-band passage near -3 dBFS: a normal level that does not clip (measured with sox).
constexpr double kSynthGain = 0.5;

// The SoundFont to load: `requested` when that file exists, else the Debian General MIDI SoundFont, else the
// small fallback; empty when none exists.
std::string ChooseSoundFont(const std::string& requested);

class SynthEngine {
 public:
  // Routes FluidSynth's log to `log` for the engine's lifetime (FluidSynth keeps one log route per process:
  // the newest engine takes it, and destroying any engine silences it rather than leave it dangling).
  explicit SynthEngine(LogSink log);
  ~SynthEngine();
  SynthEngine(const SynthEngine&) = delete;
  SynthEngine& operator=(const SynthEngine&) = delete;

  // Loads a SoundFont and selects its presets for the programs already chosen on each channel.
  // Safe while other threads send (FluidSynth's API lock makes them wait).
  bool LoadSoundFont(const std::string& path);
  // One short message: status + 256 x data1 + 65536 x data2. Any thread.
  void Send(uint32_t message);
  // Note-off for every sounding note, pedals lifted, so nothing hangs when an output is closed.
  void ReleaseAllNotes();

  void Log(const std::string& line);
  // Collects the log lines of the calling thread instead of passing them on, to fold a burst of library
  // errors into one line.
  void StartCapture();
  std::vector<std::string> StopCapture();

  fluid_settings_t* Settings() const { return settings_.get(); }
  fluid_synth_t* Synth() const { return synth_.get(); }

 private:
  static void OnFluidLog(int level, const char* message, void* data);

  LogSink log_;
  std::mutex captureMutex_;
  std::thread::id captureThread_;
  bool capturing_ = false;
  std::vector<std::string> captured_;
  std::unique_ptr<fluid_settings_t, decltype(&delete_fluid_settings)> settings_;
  std::unique_ptr<fluid_synth_t, decltype(&delete_fluid_synth)> synth_;
};

}  // namespace sonvela
