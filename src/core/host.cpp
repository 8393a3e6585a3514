#include "core/host.h"

#include <ctime>

namespace rkv {

Date SystemToday() {
  time_t now = time(nullptr);
  struct tm tm {};
  localtime_r(&now, &tm);
  return Date{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

TimeOfDay SystemTimeOfDay() {
  time_t now = time(nullptr);
  struct tm tm {};
  localtime_r(&now, &tm);
  return TimeOfDay{tm.tm_hour, tm.tm_min};
}

}  // namespace rkv
