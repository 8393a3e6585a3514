#include "core/host.h"

#include <ctime>

namespace rkv {

// A division asks once per block: the calendar is worked out once a second.
Date SystemToday() {
  thread_local time_t known = -1;
  thread_local Date day;
  time_t now = time(nullptr);
  if (now != known) {
    struct tm tm {};
    localtime_r(&now, &tm);
    day = Date{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
    known = now;
  }
  return day;
}

TimeOfDay SystemTimeOfDay() {
  time_t now = time(nullptr);
  struct tm tm {};
  localtime_r(&now, &tm);
  return TimeOfDay{tm.tm_hour, tm.tm_min};
}

}  // namespace rkv
