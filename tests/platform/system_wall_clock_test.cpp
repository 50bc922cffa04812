#include "platform/system_wall_clock.h"

#include <gtest/gtest.h>

namespace sonvela {
namespace {

TEST(SystemWallClockTest, MillisecondsAgreeWithTheLocalTimeOfDay) {
  SystemWallClock clock;
  // Retried when a second boundary falls between the readings.
  for (int attempt = 0; attempt < 5; ++attempt) {
    const LocalDateTime before = clock.Now();
    const double ms = clock.MillisecondsSinceMidnight();
    const LocalDateTime after = clock.Now();
    if (before.second != after.second) continue;
    const double secondStart = ((after.hour * 60.0 + after.minute) * 60.0 + after.second) * 1000.0;
    EXPECT_GE(ms, secondStart);
    EXPECT_LT(ms, secondStart + 1000.0);
    EXPECT_GE(after.year, 2024);
    return;
  }
  FAIL() << "the clock never held still for a second";
}

}  // namespace
}  // namespace sonvela
