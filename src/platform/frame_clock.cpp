#include "platform/frame_clock.h"

#include <algorithm>

namespace sonvela {

FrameClock::FrameClock(int sampleRate, double latencyMs)
    : framesPerMs_(sampleRate / 1000.0), latencyMs_(latencyMs) {}

FrameClock FrameClock::Fixed(int sampleRate, double originMs) {
  FrameClock clock(sampleRate, 0);
  clock.offset_ = -originMs * clock.framesPerMs_;
  return clock;
}

void FrameClock::BlockStarts(int64_t frame, double nowMs) {
  const double offset = static_cast<double>(frame) - nowMs * framesPerMs_;
  if (!Known() || nowMs - epochStartMs_ >= kEpochMs) {
    previousEpochMax_ = epochMax_;
    epochMax_ = -kUnknown;
    epochStartMs_ = nowMs;
  }
  epochMax_ = std::max(epochMax_, offset);
  offset_ = std::max(epochMax_, previousEpochMax_);
}

double FrameClock::FrameOf(double dueMs) const {
  return offset_ + (dueMs + latencyMs_) * framesPerMs_;
}

double FrameClock::DueMsOf(double frame) const {
  return (frame - offset_) / framesPerMs_ - latencyMs_;
}

}  // namespace sonvela
