#include "platform/peak_limiter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace sonvela {
namespace {

constexpr int kRate = 44100;

std::vector<float> Sine(double amplitude, double hz, int frames, int phaseFrames = 0) {
  std::vector<float> samples(frames);
  for (int i = 0; i < frames; ++i) {
    samples[i] =
        static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * hz * (i + phaseFrames) / kRate));
  }
  return samples;
}

std::vector<float> Square(double amplitude, double hz, int frames) {
  std::vector<float> samples = Sine(1, hz, frames);
  for (float& sample : samples) sample = static_cast<float>(sample >= 0 ? amplitude : -amplitude);
  return samples;
}

float Peak(const std::vector<float>& samples) {
  float peak = 0;
  for (float sample : samples) peak = std::max(peak, std::fabs(sample));
  return peak;
}

// Feeds the limiter in uneven blocks, as audio drivers and the renderer do.
void ProcessInBlocks(PeakLimiter& limiter, std::vector<float>& left, std::vector<float>& right) {
  const int frames = static_cast<int>(left.size());
  for (int at = 0, block = 1; at < frames; at += block, block = block * 7 % 1000 + 1) {
    limiter.Process(left.data() + at, right.data() + at, std::min(block, frames - at));
  }
}

TEST(PeakLimiterTest, PassesMaterialUpToTheThresholdBitForBit) {
  PeakLimiter limiter(kRate);
  std::vector<float> left = Sine(kLimiterThreshold, 440, kRate);
  std::vector<float> right = Sine(0.5, 523.25, kRate);
  left[1000] = kLimiterThreshold;
  right[2000] = -kLimiterThreshold;
  const std::vector<float> leftIn = left;
  const std::vector<float> rightIn = right;
  ProcessInBlocks(limiter, left, right);
  EXPECT_EQ(left, leftIn);
  EXPECT_EQ(right, rightIn);
  EXPECT_EQ(limiter.Gain(), 1.0f);
}

TEST(PeakLimiterTest, ReleasesSmoothlyBackToUnityAfterABurst) {
  PeakLimiter limiter(kRate);
  std::vector<float> left = Square(2, 100, kRate / 5);
  std::vector<float> right = left;
  limiter.Process(left.data(), right.data(), static_cast<int>(left.size()));
  const float burstGain = limiter.Gain();
  EXPECT_NEAR(burstGain, kLimiterThreshold / 2, 1e-6);

  // Quiet material after the burst: the gain comes back gradually, not at once.
  const int step = kRate / 20;  // 50 ms
  std::vector<float> quiet = Sine(0.3, 440, step);
  std::vector<float> quietRight = quiet;
  limiter.Process(quiet.data(), quietRight.data(), step);
  const float after50ms = limiter.Gain();
  EXPECT_GT(after50ms, burstGain);
  EXPECT_LT(after50ms, 0.9f);

  for (int i = 0; i < 39; ++i) {
    quiet = Sine(0.3, 440, step, (i + 1) * step);
    quietRight = quiet;
    limiter.Process(quiet.data(), quietRight.data(), step);
  }
  // Two seconds on: exactly unity again, so quiet samples pass untouched.
  EXPECT_EQ(limiter.Gain(), 1.0f);
  std::vector<float> lastLeft = Sine(0.3, 440, step);
  std::vector<float> lastRight = Sine(0.3, 440, step);
  limiter.Process(lastLeft.data(), lastRight.data(), step);
  EXPECT_EQ(lastLeft, Sine(0.3, 440, step));
  EXPECT_EQ(lastRight, Sine(0.3, 440, step));
}

TEST(PeakLimiterTest, OneGainForBothChannels) {
  PeakLimiter limiter(kRate);
  // Only the left channel is hot; the right one must be turned down with it, keeping the stereo image.
  std::vector<float> left = Square(1.8, 200, kRate / 10);
  std::vector<float> right(left.size(), 0.1f);
  const std::vector<float> leftIn = left;
  ProcessInBlocks(limiter, left, right);
  EXPECT_LE(Peak(left), kLimiterThreshold);
  for (size_t i = 0; i < left.size(); i += 97) {
    EXPECT_NEAR(right[i] / 0.1f, left[i] / leftIn[i], 1e-5) << "frame " << i;
  }
  EXPECT_NEAR(right.back(), 0.1f * kLimiterThreshold / 1.8f, 1e-6);

  // And the other way round.
  limiter.Reset();
  EXPECT_EQ(limiter.Gain(), 1.0f);
  std::vector<float> quietLeft(1000, -0.2f);
  std::vector<float> hotRight(1000, -1.8f);
  limiter.Process(quietLeft.data(), hotRight.data(), 1000);
  EXPECT_NEAR(quietLeft.back(), -0.1f, 1e-6);
  EXPECT_NEAR(hotRight.back(), -kLimiterThreshold, 1e-6);
}

}  // namespace
}  // namespace sonvela
