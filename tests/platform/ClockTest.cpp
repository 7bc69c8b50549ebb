#include "platform/Clock.h"

#include <stdlib.h>
#include <time.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace vrk {
namespace {

TEST(LocalTimeTest, CalendarArithmetic) {
  struct Case {
    LocalTime date;
    int dayOfWeek;
    bool valid;
  } cases[] = {
      {{1970, 1, 1}, 4, true},   {{2024, 2, 29}, 4, true}, {{2023, 2, 29}, 3, false},
      {{2024, 2, 31}, 6, false}, {{2000, 3, 1}, 3, true},  {{1900, 2, 29}, 4, false},
      {{2026, 12, 10}, 4, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.date.isValid(), c.valid) << c.date.year << "-" << c.date.month << "-" << c.date.day;
    if (c.valid) {
      EXPECT_EQ(c.date.dayOfWeek(), c.dayOfWeek);
      EXPECT_EQ(LocalTime::fromDayNumber(c.date.dayNumber()), c.date);
    }
  }
}

TEST(FixedClockTest, AdvanceCarriesAcrossMidnightAndYear) {
  FixedClock clock({2023, 12, 31, 23, 59, 59, 999});
  clock.advanceMs(1);
  EXPECT_EQ(clock.now(), (LocalTime{2024, 1, 1, 0, 0, 0, 0}));
  clock.advanceMs(-2);
  EXPECT_EQ(clock.now(), (LocalTime{2023, 12, 31, 23, 59, 59, 998}));
}

// POSIX zone strings, so that no zone database is needed.
TEST(SystemClockTest, UtcOffsetFollowsTheZone) {
  const char* saved = getenv("TZ");
  const std::optional<std::string> before =
      saved ? std::optional<std::string>(saved) : std::nullopt;
  for (const auto& [zone, minutes] :
       {std::pair{"JST-9", 540}, {"UTC0", 0}, {"EST5", -300}, {"IST-5:30", 330}}) {
    setenv("TZ", zone, 1);
    tzset();
    EXPECT_EQ(SystemClock::instance().utcOffsetMinutes(), minutes) << zone;
  }
  if (before)
    setenv("TZ", before->c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}

}  // namespace
}  // namespace vrk
