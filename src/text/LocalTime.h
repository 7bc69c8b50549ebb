#pragma once
// Local time with milliseconds, its calendar arithmetic, and the Clock port
// that answers "now" (with a fixed one). Time stamps are text of the files,
// so they live here; the clock that reads the operating system is in
// platform/Clock.h.
#include <cstdint>

namespace vrk {

struct LocalTime {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0, millisecond = 0;

  bool operator==(const LocalTime&) const = default;
  // 0 = Sunday .. 6 = Saturday (proleptic Gregorian calendar).
  int dayOfWeek() const;
  bool isValid() const;
  // Days since 1970-01-01 of the date part; the inverse builds a date.
  std::int64_t dayNumber() const;
  static LocalTime fromDayNumber(std::int64_t days);
};

bool isLeapYear(int year);
int daysInMonth(int year, int month);

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime now() const = 0;
  // How far local time is ahead of UTC now, in minutes (540 in Japan).
  virtual int utcOffsetMinutes() const = 0;
};

// Answers a set time; advanceMs steps it for code that expects time to pass.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(LocalTime t) : time_(t) {}
  LocalTime now() const override { return time_; }
  int utcOffsetMinutes() const override { return offsetMinutes_; }
  void set(LocalTime t) { time_ = t; }
  void setUtcOffsetMinutes(int minutes) { offsetMinutes_ = minutes; }
  void advanceMs(std::int64_t ms);

 private:
  LocalTime time_;
  int offsetMinutes_ = 0;
};

}  // namespace vrk
