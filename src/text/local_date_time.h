#pragma once
// A local date and time of day, as the listing's opening lines show it.

namespace sonvela {

struct LocalDateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

}  // namespace sonvela
