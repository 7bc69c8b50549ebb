#include "text/Format.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>

#include "text/SjisSamples.h"

namespace vrk {
namespace {

using namespace sjis;
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

TEST(FormatIntegerTest, PatternsWithLiteralsAndPercent) {
  struct Case {
    std::string pattern;
    std::int64_t value;
    std::string text;
  } cases[] = {
      {"No.%03d", 7, "No.007"}, {"100%%", 5, "100%"}, {"%d%%", 3, "3%"},
      {"plain", 5, "plain"},    {"", 1, ""},          {kHyo + "%d" + kPo, 12, kHyo + "12" + kPo},
      {"%-4x|", 255, "ff  |"},
  };
  for (const Case& c : cases) EXPECT_EQ(formatInteger_(c.pattern, c.value), c.text) << c.pattern;
  EXPECT_EQ(formatInteger_("%255d", 1).value(), std::string(254, ' ') + "1");
}

// For one conversion and no literals the C library is an independent answer.
TEST(FormatIntegerTest, ConversionsAgreeWithPrintf) {
  const char* conversions[] = {"%d",     "%5d",  "%-5d",  "%05d", "%.3d", "%8.3d", "%-8.3d",
                               "%08.3d", "%.0d", "%0d",   "%u",   "%12u", "%x",    "%X",
                               "%06X",   "%-6x", "%.10x", "%1d",  "%-05d"};
  const std::int64_t values[] = {0, 1, -1, 42, -42, 255, 65535, kMax, kMin};
  for (const char* conversion : conversions) {
    std::string c(conversion);
    const std::string printfPattern = c.substr(0, c.size() - 1) + "ll" + c.back();
    for (std::int64_t value : values) {
      char expected[64];
      std::snprintf(expected, sizeof expected, printfPattern.c_str(),
                    static_cast<long long>(value));
      EXPECT_EQ(formatInteger_(c, value), std::string(expected)) << c << " " << value;
    }
  }
}

TEST(FormatIntegerTest, RefusesAnythingButOneIntegerConversion) {
  const char* patterns[] = {"%s",  "%d %d", "%",   "abc%", "%256d", "%.256d", "%ld", "%5",   "%-",
                            "%#x", "%+d",   "% d", "%d%x", "%*d",   "%.d%i",  "%n",  "%5.2f"};
  for (const char* pattern : patterns) {
    EXPECT_EQ(formatInteger_(pattern, 1), std::nullopt) << pattern;
  }
}

TEST(FormatDateTimeTest, Tokens) {
  const FixedClock clock({2024, 1, 5, 9, 30, 15, 123});  // a Friday
  const std::string friday = "\x8B\xE0";
  struct Case {
    std::string pattern, text;
  } cases[] = {
      {"yyyymmdd hhnnss", "20240105 093015"},
      {"yyyy/mm/dd hh:nn:ss:zzz", "2024/01/05 09:30:15:123"},
      {"yyyymmddhhmmssmm", "2024010509301501"},
      {"YYYYMMDD ddd ", "20240105 " + friday + " "},
      {"Hh:Mm", "09:30"},
      {"mm:hh", "01:09"},
      {"yy-y-d", "24-y-d"},
      {"yyyyy", "2024y"},
      {"dddd", friday + "d"},
      {"yyyy" + kNen + "n", "2024" + kNen + "n"},
      {kNo + "m", kNo + "m"},
      {"\x83", "\x83"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(formatNow_(c.pattern, clock), c.text) << c.pattern;
}

TEST(FormatDateTimeTest, ShortDayNamesFromSunday) {
  const char* names[] = {"\x93\xFA", "\x8C\x8E", "\x89\xCE", "\x90\x85",
                         "\x96\xD8", "\x8B\xE0", "\x93\x79"};
  for (int day = 0; day < 7; ++day) {
    const LocalTime time{2024, 1, 7 + day};  // 7 January 2024 was a Sunday
    EXPECT_EQ(formatDateTime_("ddd", time), names[day]) << time.day;
  }
}

}  // namespace
}  // namespace vrk
