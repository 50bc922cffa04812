// A call that may never return: its answer when it comes in time, nullopt when it does not, and a late
// answer handed on to be released instead of lost.

#include "platform/answer_within.h"

#include <gtest/gtest.h>

#include <future>
#include <memory>

namespace sonvela {
namespace {

using std::chrono::milliseconds;

TEST(AnswerWithin, GivesTheAnswerInTimeOrGivesUpAndHandsALateAnswerOn) {
  // Shared with the call's thread, which may still be finishing its `late` when the test ends.
  auto lateAnswer = std::make_shared<std::promise<int>>();
  EXPECT_EQ(AnswerWithin<int>([] { return 7; }, milliseconds(60000),
                              [lateAnswer](int answer) { lateAnswer->set_value(answer); }),
            7);

  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  const auto start = std::chrono::steady_clock::now();
  const std::optional<int> given = AnswerWithin<int>(
      [released] {
        released.wait();
        return 42;
      },
      milliseconds(50), [lateAnswer](int answer) { lateAnswer->set_value(answer); });
  EXPECT_FALSE(given.has_value());
  EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(50));

  release.set_value();
  // Only the late answer reaches `late`: the one in time did not.
  EXPECT_EQ(lateAnswer->get_future().get(), 42);
}

}  // namespace
}  // namespace sonvela
