#include "text/logs.h"

#include <gtest/gtest.h>

namespace sonvela {
namespace {

TEST(MessageLog, SplitsAtLineBreaksAndSkipsBlankPieces) {
  Logs logs;
  MessageLog(logs, "  first \r\n   \r\nlast  ");
  ASSERT_EQ(logs.Messages.Size(), 2u);
  EXPECT_EQ(logs.Messages[0], "  first ");
  EXPECT_EQ(logs.Messages[1], "last  ");
  MessageLog(logs, "reset");
  EXPECT_EQ(logs.Messages.Back(), "reset");
  MessageLog(logs, "RESET");
  EXPECT_TRUE(logs.Messages.Empty());
}

TEST(DebugLog, KeepsEveryLineAndResets) {
  Logs logs;
  DebugLog(logs, "");
  DebugLog(logs, "a\r\nb");
  ASSERT_EQ(logs.Debug.Size(), 2u);
  EXPECT_EQ(logs.Debug[0], "");
  EXPECT_EQ(logs.Debug[1], "a\r\nb");
  DebugLog(logs, "RESET");
  EXPECT_EQ(logs.Debug.Size(), 0u);
}

}  // namespace
}  // namespace sonvela
