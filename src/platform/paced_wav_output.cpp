#include "platform/paced_wav_output.h"

#include <array>
#include <chrono>
#include <utility>

#include "platform/real_time_priority.h"
#include "platform/synth_engine.h"
#include "platform/system_wall_clock.h"

namespace sonvela {

namespace {

// About 2.9 ms: a sound card's period, short enough that a message coming a little late still finds its
// frame unrendered.
constexpr int kPeriodFrames = 128;

}  // namespace

PacedWavOutput::PacedWavOutput(fluid_synth_t* synth, TimedSynth& timed, LogSink log)
    : synth_(synth), timed_(timed), log_(std::move(log)), limiter_(kSynthSampleRate) {}

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
  if (const std::string refused = RaiseThreadPriority(); !refused.empty() && log_) {
    log_("Built-in synth: the audio file's thread runs at normal priority (" + refused + ")");
  }
  std::array<float, kPeriodFrames> left{};
  std::array<float, kPeriodFrames> right{};
  const Clock::time_point start = Clock::now();
  int64_t frames = 0;
  while (!stop_) {
    // Each period is rendered when the one before it would have finished playing, measured from the start,
    // so that late wake-ups never add up to drift.
    const auto due = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                                 static_cast<double>(frames) / kSynthSampleRate));
    std::this_thread::sleep_until(due);
    // A file has no sound card to keep up with: when the machine held the song's sender back, the file
    // waits for it, so that its sound stays on the beat.
    while (!stop_ && timed_.WaitsForSong(SteadyNowMs(), kPeriodFrames)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    left.fill(0);
    right.fill(0);
    timed_.Render(SteadyNowMs(), kPeriodFrames, [&](int offset, int count) {
      fluid_synth_write_float(synth_, count, left.data() + offset, 0, 1, right.data() + offset, 0, 1);
    });
    limiter_.Process(left.data(), right.data(), kPeriodFrames);
    if (!writer_.Write(left.data(), right.data(), kPeriodFrames)) {
      if (log_) log_("Built-in synth: writing the audio file failed" + std::string(kNoSoundEnding));
      return;
    }
    frames += kPeriodFrames;
    // About once a second: the program killed while it plays leaves a file that reads up to there.
    if (frames % kSynthSampleRate < kPeriodFrames) writer_.UpdateHeader();
  }
}

}  // namespace sonvela
