#include "player/progress_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "player/song_time.h"
#include "text/format_mask.h"

namespace sonvela {

std::string TimeOfDayText(const LocalDateTime& time) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", time.hour, time.minute, time.second);
  return buffer;
}

double SongLengthSeconds(const SongTables& tables) {
  if (tables.TempoBpm == 0 || tables.Division == 0) return 0;
  return static_cast<double>(tables.LongestTrackTicks) * 60 / tables.TempoBpm / tables.Division;
}

double PlayedFraction(int64_t songPosition, int64_t longestTrackTicks) {
  if (longestTrackTicks <= 0) return 0;
  return static_cast<double>(songPosition) / (60000.0 * static_cast<double>(longestTrackTicks));
}

std::optional<int64_t> FirstPositionAtFraction(double fraction, int64_t longestTrackTicks) {
  // Searched rather than solved, so that it agrees with PlayedFraction's own rounding to the unit.
  int64_t low = -kSongTimeLimit;
  int64_t high = kSongTimeLimit;
  if (!(PlayedFraction(high, longestTrackTicks) >= fraction)) return std::nullopt;
  while (low < high) {
    const int64_t middle = low + (high - low) / 2;
    if (PlayedFraction(middle, longestTrackTicks) >= fraction) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  return low;
}

double PlayedPercent(int64_t songPosition, int64_t longestTrackTicks) {
  if (longestTrackTicks <= 0) return 0;
  return static_cast<double>(songPosition) * 100 / (60000.0 * static_cast<double>(longestTrackTicks));
}

void FormatProgressText(std::string& out, double elapsedSeconds, double lengthSeconds, double percent) {
  static const Mask kElapsed("Tempo:####.# s ");
  static const Mask kLength(" (####.# s)");
  static const Mask kPercent(" ###.#_% ");
  // A non-finite value would print as garbage digits; there is nothing to show then.
  const auto shown = [](double value) { return std::isfinite(value) ? value : 0.0; };
  out.clear();
  kElapsed.AppendTo(out, {shown(elapsedSeconds)});
  kLength.AppendTo(out, {shown(lengthSeconds)});
  kPercent.AppendTo(out, {shown(percent)});
}

int32_t DecayedLevel(int32_t sounding, int32_t level) {
  if (sounding == 0 && level > 1) return std::max(0, level - 10);
  return level;
}

}  // namespace sonvela
