// The wall clock against the local time and the steady clock; a call that may never return.
#include "platform/system_wall_clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>

#include "platform/answer_within.h"

namespace sonvela {
namespace {

using std::chrono::milliseconds;

TEST(SystemWallClockTest, TimeOfDayAgreesWithTheLocalTimeAndMonotonicMsAreTheSteadyClocks) {
  SystemWallClock clock;
  using Ms = std::chrono::duration<double, std::milli>;
  const auto steadyMs = [] { return Ms(std::chrono::steady_clock::now().time_since_epoch()).count(); };
  const double before = steadyMs(), first = clock.MonotonicMs(), after = steadyMs();
  EXPECT_TRUE(before <= first && first <= after) << first << " outside " << before << ".." << after;
  double next = clock.MonotonicMs();
  while (next == first && steadyMs() < after + 1000) next = clock.MonotonicMs();
  EXPECT_GT(next, first);
  for (int attempt = 0; attempt < 5; ++attempt) {  // again when a second boundary falls between the readings
    const LocalDateTime then = clock.Now();
    const double ms = clock.MillisecondsSinceMidnight();
    const LocalDateTime now = clock.Now();
    if (then.second != now.second) continue;
    const double secondStart = ((now.hour * 60.0 + now.minute) * 60.0 + now.second) * 1000.0;
    EXPECT_TRUE(ms >= secondStart && ms < secondStart + 1000.0)
        << ms << " in the second from " << secondStart;
    EXPECT_GE(now.year, 2024);
    return;
  }
  ADD_FAILURE() << "the clock never held still for a second";
}

TEST(AnswerWithin, GivesTheAnswerInTimeOrGivesUpAndHandsALateAnswerOn) {
  auto lateAnswer = std::make_shared<std::promise<int>>();  // the call's thread may outlive the test
  const auto late = [lateAnswer](int answer) { lateAnswer->set_value(answer); };
  EXPECT_EQ(AnswerWithin<int>([] { return 7; }, milliseconds(60000), late), 7);
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(AnswerWithin<int>([released] { return released.wait(), 42; }, milliseconds(50), late));
  EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(50));
  release.set_value();
  EXPECT_EQ(lateAnswer->get_future().get(), 42);
}

}  // namespace
}  // namespace sonvela
