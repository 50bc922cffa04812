#pragma once
// A peak limiter for the synth's stereo output, so that hot SoundFont presets cannot clip.

namespace sonvela {

// -0.9 dBFS: the 16-bit conversion and its dither stay clear of full scale.
constexpr float kLimiterThreshold = 0.9f;

// Stereo-linked, with instant attack: one gain for both channels, lowered at once to whatever keeps the
// current frame at the threshold, held briefly, then released smoothly back to exactly 1.0, from where
// samples pass untouched. No allocation and no locks, so it can run in an audio callback.
class PeakLimiter {
 public:
  explicit PeakLimiter(int sampleRate, float threshold = kLimiterThreshold, double holdMs = 10,
                       double releaseMs = 100);

  // Limits `frames` frames of the two channels in place.
  void Process(float* left, float* right, int frames);
  // Back to unity gain, as for a new piece.
  void Reset();
  float Gain() const { return gain_; }

 private:
  float threshold_;
  int holdFrames_;
  float releaseKeep_;  // the share of the gain reduction left after one frame of release
  float gain_ = 1.0f;
  float reduction_ = 0.0f;  // 1 - gain, kept apart for its precision
  int holdLeft_ = 0;
};

}  // namespace sonvela
