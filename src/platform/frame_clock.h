#pragma once
// Where a moment of the monotonic clock (WallClock::MonotonicMs) falls in an audio stream's frames, so that
// a message due at that moment is played at its frame, after a fixed latency.
//
// The audio thread says when it begins each block. It may begin late (woken late, or busy) but never
// early, so of the observed offsets (frame - rate x time) the largest is the least disturbed: the clock
// keeps the largest of the last one to two seconds. The sound card's clock may differ from the system's by
// about 100 ppm (4.4 frames a second at 44.1 kHz); the window follows that drift within 2 s, about 9 frames,
// so song time, what is shown and what is heard stay together over any length of play.

#include <cstdint>
#include <limits>

namespace sonvela {

class FrameClock {
 public:
  // A stream that plays in real time: the offset is learnt from the blocks.
  FrameClock(int sampleRate, double latencyMs);
  // A stream rendered ahead of time, whose frame 0 is the moment `originMs`, without latency.
  static FrameClock Fixed(int sampleRate, double originMs);

  // The audio thread, as it begins to render the block whose first frame is `frame`, at `nowMs`.
  void BlockStarts(int64_t frame, double nowMs);
  // True once a block has begun (a fixed clock always knows).
  bool Known() const { return offset_ > -kUnknown; }
  // The frame at which a message due at `dueMs` is played, and the due time that falls on a frame.
  double FrameOf(double dueMs) const;
  double DueMsOf(double frame) const;
  double LatencyMs() const { return latencyMs_; }

 private:
  static constexpr double kUnknown = std::numeric_limits<double>::max();
  static constexpr double kEpochMs = 1000;

  double framesPerMs_;
  double latencyMs_;
  double offset_ = -kUnknown;  // frames, the largest of the two epochs
  double epochMax_ = -kUnknown;
  double previousEpochMax_ = -kUnknown;
  double epochStartMs_ = 0;
};

}  // namespace sonvela
