#include "text/LocalTime.h"

namespace vrk {

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

bool LocalTime::isValid() const {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= daysInMonth(year, month) && hour >= 0 && hour < 24 && minute >= 0 && minute < 60 &&
         second >= 0 && second < 60 && millisecond >= 0 && millisecond < 1000;
}

// Days from civil date, after Howard Hinnant's public-domain algorithm.
std::int64_t LocalTime::dayNumber() const {
  const std::int64_t y = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t mp = (month + 9) % 12;
  const std::int64_t doy = (153 * mp + 2) / 5 + day - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

LocalTime LocalTime::fromDayNumber(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t doe = days - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  LocalTime t;
  t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2 ? 1 : 0));
  t.hour = t.minute = t.second = t.millisecond = 0;
  return t;
}

int LocalTime::dayOfWeek() const {
  const std::int64_t d = dayNumber();  // 1970-01-01 was a Thursday
  return static_cast<int>(((d % 7) + 7 + 4) % 7);
}

void FixedClock::advanceMs(std::int64_t ms) {
  std::int64_t total = ((time_.dayNumber() * 24 + time_.hour) * 60 + time_.minute) * 60000 +
                       time_.second * 1000 + time_.millisecond + ms;
  const std::int64_t dayMs = 86400000;
  std::int64_t days = total >= 0 ? total / dayMs : (total - dayMs + 1) / dayMs;
  std::int64_t rest = total - days * dayMs;
  LocalTime t = LocalTime::fromDayNumber(days);
  t.hour = static_cast<int>(rest / 3600000);
  t.minute = static_cast<int>(rest / 60000 % 60);
  t.second = static_cast<int>(rest / 1000 % 60);
  t.millisecond = static_cast<int>(rest % 1000);
  time_ = t;
}

}  // namespace vrk
