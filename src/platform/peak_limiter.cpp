#include "platform/peak_limiter.h"

#include <algorithm>
#include <cmath>

namespace sonvela {

namespace {

// Below this reduction the gain snaps to 1.0: a step of -80 dB is inaudible, and from then on quiet
// material is bit-identical to the unlimited output.
constexpr float kUnitySnap = 1e-4f;

}  // namespace

PeakLimiter::PeakLimiter(int sampleRate, float threshold, double holdMs, double releaseMs)
    : threshold_(threshold),
      holdFrames_(static_cast<int>(std::lround(holdMs * sampleRate / 1000.0))),
      releaseKeep_(static_cast<float>(std::exp(-1000.0 / (releaseMs * sampleRate)))) {}

void PeakLimiter::Reset() {
  gain_ = 1.0f;
  reduction_ = 0.0f;
  holdLeft_ = 0;
}

void PeakLimiter::Process(float* left, float* right, int frames) {
  for (int i = 0; i < frames; ++i) {
    const float peak = std::max(std::fabs(left[i]), std::fabs(right[i]));
    if (gain_ == 1.0f && peak <= threshold_) continue;  // the usual case: nothing to do
    if (holdLeft_ > 0) {
      --holdLeft_;
    } else if (reduction_ > 0.0f) {
      // The reduction itself decays: near unity, 1 - gain in float is too coarse to keep moving.
      reduction_ *= releaseKeep_;
      if (reduction_ < kUnitySnap) reduction_ = 0.0f;
      gain_ = 1.0f - reduction_;
    }
    if (peak * gain_ > threshold_) {
      gain_ = threshold_ / peak;
      reduction_ = 1.0f - gain_;
      // Holding over a few waveform cycles keeps the gain from rippling with them (which would distort).
      holdLeft_ = holdFrames_;
    }
    if (gain_ < 1.0f) {
      // The clamp only catches the rounding of threshold / peak * sample.
      left[i] = std::clamp(left[i] * gain_, -threshold_, threshold_);
      right[i] = std::clamp(right[i] * gain_, -threshold_, threshold_);
    }
  }
}

}  // namespace sonvela
