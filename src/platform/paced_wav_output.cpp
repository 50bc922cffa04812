#include "platform/paced_wav_output.h"

#include <array>
#include <chrono>
#include <utility>

#include "platform/synth_engine.h"

namespace sonvela {

namespace {

// About 11.6 ms: the latency of a typical sound card buffer, and few wake-ups.
constexpr int kPeriodFrames = 512;

}  // namespace

PacedWavOutput::PacedWavOutput(fluid_synth_t* synth, LogSink log)
    : synth_(synth), log_(std::move(log)), limiter_(kSynthSampleRate) {}

PacedWavOutput::~PacedWavOutput() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  if (writer_.IsOpen() && !writer_.Close() && log_)
    log_("Built-in synth: the audio file could not be finished");
}

bool PacedWavOutput::Start(const std::string& path) {
  if (!writer_.Open(path)) return false;
  thread_ = std::thread([this] { Run(); });
  return true;
}

void PacedWavOutput::Run() {
  using Clock = std::chrono::steady_clock;
  std::array<float, kPeriodFrames> left{};
  std::array<float, kPeriodFrames> right{};
  const Clock::time_point start = Clock::now();
  int64_t frames = 0;
  while (!stop_) {
    // Each period is due when its last frame would have been played, measured from the start, so that
    // late wake-ups never add up to drift.
    const auto due = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                                 static_cast<double>(frames + kPeriodFrames) / kSynthSampleRate));
    std::this_thread::sleep_until(due);
    fluid_synth_write_float(synth_, kPeriodFrames, left.data(), 0, 1, right.data(), 0, 1);
    limiter_.Process(left.data(), right.data(), kPeriodFrames);
    if (!writer_.Write(left.data(), right.data(), kPeriodFrames)) {
      if (log_) log_("Built-in synth: writing the audio file failed, no sound");
      return;
    }
    frames += kPeriodFrames;
  }
}

}  // namespace sonvela
