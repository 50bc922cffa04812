#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "player/song_time.h"

namespace sonvela {
namespace {

constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

TEST(SongTime, ProductsAndSumsStopAtTheLimitKeepingTheirSign) {
  EXPECT_EQ(DueTimeOfTick(96), 5760000);
  EXPECT_EQ(DueTimeOfTick(int64_t{1} << 50), kSongTimeLimit);
  EXPECT_EQ(SongTimeProduct(kSongTimeLimit, 1), kSongTimeLimit);
  EXPECT_EQ(SongTimeProduct(-3, int64_t{1} << 61), -kSongTimeLimit);
  EXPECT_EQ(SongTimeProduct(kMin, kMin), kSongTimeLimit);
  EXPECT_EQ(SongTimeProduct(0, kMin), 0);
  EXPECT_EQ(SongTimeProduct(-7, -6), 42);
  EXPECT_EQ(SongTimeSum(kSongTimeLimit, kSongTimeLimit), kSongTimeLimit);
  EXPECT_EQ(SongTimeSum(kMin, -1), -kSongTimeLimit);
  EXPECT_EQ(SongTimeSum(-5, 3), -2);
}

}  // namespace
}  // namespace sonvela
