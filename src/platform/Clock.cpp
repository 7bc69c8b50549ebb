#include "platform/Clock.h"

#include <chrono>
#include <ctime>

namespace vrk {

LocalTime SystemClock::now() const {
  const auto point = std::chrono::system_clock::now();
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(point.time_since_epoch()).count();
  const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
  std::tm local{};
  localtime_r(&seconds, &local);
  LocalTime t;
  t.year = local.tm_year + 1900;
  t.month = local.tm_mon + 1;
  t.day = local.tm_mday;
  t.hour = local.tm_hour;
  t.minute = local.tm_min;
  t.second = local.tm_sec;
  t.millisecond = static_cast<int>(ms % 1000);
  return t;
}

int SystemClock::utcOffsetMinutes() const {
  const std::time_t seconds = std::time(nullptr);
  std::tm local{};
  localtime_r(&seconds, &local);
  return static_cast<int>(local.tm_gmtoff / 60);
}

const SystemClock& SystemClock::instance() {
  static const SystemClock clock;
  return clock;
}

}  // namespace vrk
