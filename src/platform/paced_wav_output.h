#pragma once
// Plays a synth in real time into a WAV file, through the peak limiter, placing the song's messages on its
// frames as a sound card's audio thread does. FluidSynth's own "file" driver cannot take a processing
// callback, so this stands in for it.

#include <fluidsynth.h>

#include <atomic>
#include <string>
#include <thread>

#include "platform/log_sink.h"
#include "platform/peak_limiter.h"
#include "platform/timed_synth.h"
#include "platform/wav_writer.h"

namespace sonvela {

class PacedWavOutput {
 public:
  // `log` is called from the output's thread when writing fails or its priority cannot be raised.
  PacedWavOutput(fluid_synth_t* synth, TimedSynth& timed, LogSink log);
  // Stops and finishes the file.
  ~PacedWavOutput();
  PacedWavOutput(const PacedWavOutput&) = delete;
  PacedWavOutput& operator=(const PacedWavOutput&) = delete;

  // Opens the file and starts rendering at the steady clock's pace; false when the file cannot be written.
  bool Start(const std::string& path);

 private:
  void Run();

  fluid_synth_t* synth_;
  TimedSynth& timed_;
  LogSink log_;
  WavWriter writer_;
  PeakLimiter limiter_;
  std::atomic<bool> stop_ = false;
  std::thread thread_;
};

}  // namespace sonvela
