#pragma once
// Time as playback reads it: the time of day for what is shown as such (the Time label, the log line of a
// Play), and a monotonic clock for every elapsed time (Intro, the progress text).

#include "text/local_date_time.h"

namespace sonvela {

class WallClock {
 public:
  virtual ~WallClock() = default;
  // Milliseconds since local midnight, with the fraction.
  virtual double MillisecondsSinceMidnight() = 0;
  // Milliseconds, with the fraction, from some fixed point: they only ever grow, whatever happens to the
  // time of day (midnight, a change of the system time). Elapsed times are differences of them.
  virtual double MonotonicMs() = 0;
  virtual LocalDateTime Now() = 0;
};

}  // namespace sonvela
