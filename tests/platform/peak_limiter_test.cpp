#include "platform/peak_limiter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace sonvela {
namespace {

constexpr int kRate = 44100;
using Samples = std::vector<float>;

// `square`: the sine's sign at full amplitude.
Samples Sine(double amplitude, double hz, int frames, int phaseFrames = 0, bool square = false) {
  Samples samples(frames);
  for (int i = 0; i < frames; ++i) {
    const double sine = std::sin(2 * std::numbers::pi * hz * (i + phaseFrames) / kRate);
    samples[i] = static_cast<float>(amplitude * (square ? (sine >= 0 ? 1 : -1) : sine));
  }
  return samples;
}

// In uneven blocks, as audio drivers and the renderer feed it.
void ProcessInBlocks(PeakLimiter& limiter, Samples& left, Samples& right) {
  const int frames = static_cast<int>(left.size());
  for (int at = 0, block = 1; at < frames; at += block, block = block * 7 % 1000 + 1)
    limiter.Process(left.data() + at, right.data() + at, std::min(block, frames - at));
}

TEST(PeakLimiterTest, PassesMaterialUpToTheThresholdBitForBit) {
  PeakLimiter limiter(kRate);
  Samples left = Sine(kLimiterThreshold, 440, kRate), right = Sine(0.5, 523.25, kRate);
  left[1000] = kLimiterThreshold;
  right[2000] = -kLimiterThreshold;
  const auto in = std::pair(left, right);
  ProcessInBlocks(limiter, left, right);
  EXPECT_EQ(std::pair(left, right), in);
  EXPECT_EQ(limiter.Gain(), 1.0f);
}

TEST(PeakLimiterTest, ReleasesSmoothlyBackToUnityAfterABurst) {
  PeakLimiter limiter(kRate);
  Samples left = Sine(2, 100, kRate / 5, 0, true), right = left;
  limiter.Process(left.data(), right.data(), static_cast<int>(left.size()));
  const float burstGain = limiter.Gain();
  EXPECT_NEAR(burstGain, kLimiterThreshold / 2, 1e-6);
  const int step = kRate / 20;  // 50 ms of quiet at a time: the gain comes back gradually, then exactly
  Samples quiet, quietRight;
  for (int i = 0; i <= 40; ++i) {
    quiet = quietRight = Sine(0.3, 440, step, i * step);
    limiter.Process(quiet.data(), quietRight.data(), step);
    EXPECT_TRUE(i > 0 || (limiter.Gain() > burstGain && limiter.Gain() < 0.9f)) << limiter.Gain();
  }
  EXPECT_EQ(quiet, Sine(0.3, 440, step, 40 * step));
  EXPECT_EQ(quietRight, quiet);
  EXPECT_EQ(limiter.Gain(), 1.0f);
}

// Only one channel is hot; the other is turned down with it, keeping the stereo image.
TEST(PeakLimiterTest, OneGainForBothChannels) {
  PeakLimiter limiter(kRate);
  Samples left = Sine(1.8, 200, kRate / 10, 0, true), right(left.size(), 0.1f);
  const Samples leftIn = left;
  ProcessInBlocks(limiter, left, right);
  EXPECT_LE(std::ranges::max(left, {}, [](float sample) { return std::fabs(sample); }), kLimiterThreshold);
  for (size_t i = 0; i < left.size(); i += 97) EXPECT_NEAR(right[i] / 0.1f, left[i] / leftIn[i], 1e-5) << i;
  EXPECT_NEAR(right.back(), 0.1f * kLimiterThreshold / 1.8f, 1e-6);
  limiter.Reset();
  EXPECT_EQ(limiter.Gain(), 1.0f);
  Samples quietLeft(1000, -0.2f), hotRight(1000, -1.8f);
  limiter.Process(quietLeft.data(), hotRight.data(), 1000);
  EXPECT_NEAR(quietLeft.back(), -0.1f, 1e-6);
  EXPECT_NEAR(hotRight.back(), -kLimiterThreshold, 1e-6);
}

}  // namespace
}  // namespace sonvela
