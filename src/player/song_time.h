#pragma once
// Song times in 1/60000 tick. A crafted file can place an event beyond any 64-bit time (each delta may be
// 2^31 - 1), so products and sums of song times stop at a limit instead of overflowing. The limit lies
// ages beyond any song that plays through, and is half the range so that a sum of two limited times fits.

#include <algorithm>
#include <cstdint>
#include <limits>

namespace sonvela {

constexpr int64_t kSongTimeLimit = std::numeric_limits<int64_t>::max() / 2;
constexpr int64_t kDueUnitsPerTick = 60000;

constexpr int64_t LimitedSongTime(int64_t value) {
  return std::clamp(value, -kSongTimeLimit, kSongTimeLimit);
}

constexpr int64_t SongTimeProduct(int64_t a, int64_t b) {
  a = LimitedSongTime(a);
  b = LimitedSongTime(b);
  if (a == 0 || b == 0) return 0;
  const int64_t sizeA = a < 0 ? -a : a;
  const int64_t sizeB = b < 0 ? -b : b;
  if (sizeA > kSongTimeLimit / sizeB) return (a < 0) == (b < 0) ? kSongTimeLimit : -kSongTimeLimit;
  return a * b;
}

constexpr int64_t SongTimeSum(int64_t a, int64_t b) {
  return LimitedSongTime(LimitedSongTime(a) + LimitedSongTime(b));
}

// When an event at the tick is due: 60000 x tick.
constexpr int64_t DueTimeOfTick(int64_t tick) {
  return SongTimeProduct(kDueUnitsPerTick, tick);
}

}  // namespace sonvela
