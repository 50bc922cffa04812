#pragma once
// Wall-clock time as playback reads it.

#include "text/local_date_time.h"

namespace sonvela {

class WallClock {
 public:
  virtual ~WallClock() = default;
  // Milliseconds since local midnight, with the fraction.
  virtual double MillisecondsSinceMidnight() = 0;
  virtual LocalDateTime Now() = 0;
};

}  // namespace sonvela
