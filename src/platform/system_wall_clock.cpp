#include "platform/system_wall_clock.h"

#include <chrono>
#include <ctime>

namespace sonvela {

namespace {

struct LocalNow {
  std::tm fields{};
  double subSecondMs = 0;
};

LocalNow ReadLocalNow() {
  const auto now = std::chrono::system_clock::now();
  const auto seconds = std::chrono::floor<std::chrono::seconds>(now);
  const std::time_t time = std::chrono::system_clock::to_time_t(seconds);
  LocalNow local;
  localtime_r(&time, &local.fields);
  local.subSecondMs = std::chrono::duration<double, std::milli>(now - seconds).count();
  return local;
}

}  // namespace

double SystemWallClock::MillisecondsSinceMidnight() {
  const LocalNow local = ReadLocalNow();
  const int seconds = (local.fields.tm_hour * 60 + local.fields.tm_min) * 60 + local.fields.tm_sec;
  return seconds * 1000.0 + local.subSecondMs;
}

double SteadyNowMs() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

double SystemWallClock::MonotonicMs() {
  return SteadyNowMs();
}

LocalDateTime SystemWallClock::Now() {
  const std::tm local = ReadLocalNow().fields;
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

}  // namespace sonvela
