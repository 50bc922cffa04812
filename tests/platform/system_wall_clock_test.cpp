#include "platform/system_wall_clock.h"

#include <gtest/gtest.h>

#include <chrono>

namespace sonvela {
namespace {

TEST(SystemWallClockTest, TimeOfDayAgreesWithTheLocalTimeAndMonotonicMsAreTheSteadyClocks) {
  SystemWallClock clock;
  // Retried when a second boundary falls between the readings.
  bool held = false;
  for (int attempt = 0; attempt < 5 && !held; ++attempt) {
    const LocalDateTime before = clock.Now();
    const double ms = clock.MillisecondsSinceMidnight();
    const LocalDateTime after = clock.Now();
    if (before.second != after.second) continue;
    const double secondStart = ((after.hour * 60.0 + after.minute) * 60.0 + after.second) * 1000.0;
    EXPECT_GE(ms, secondStart);
    EXPECT_LT(ms, secondStart + 1000.0);
    EXPECT_GE(after.year, 2024);
    held = true;
  }
  EXPECT_TRUE(held) << "the clock never held still for a second";
  const auto steadyMs = [] {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  };
  const double before = steadyMs();
  const double first = clock.MonotonicMs();
  const double after = steadyMs();
  EXPECT_GE(first, before);
  EXPECT_LE(first, after);
  // Waits for the clock to move on, however little, for at most a second.
  double next = clock.MonotonicMs();
  while (next == first && steadyMs() < after + 1000) next = clock.MonotonicMs();
  EXPECT_GT(next, first);
}

}  // namespace
}  // namespace sonvela
