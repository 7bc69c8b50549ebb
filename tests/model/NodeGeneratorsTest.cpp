#include "model/NodeGenerators.h"

#include <gtest/gtest.h>

namespace vrk {
namespace {

std::string dateText(const LocalTime& t) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.year, t.month, t.day);
  return text;
}

StringList dateTexts(const std::vector<LocalTime>& days) {
  StringList texts;
  for (const LocalTime& day : days) texts.push_back(dateText(day));
  return texts;
}

TEST(NodeGeneratorsTest, TheIsoWeekRunsMondayToSundayAcrossTheNewYear) {
  const struct {
    LocalTime date;
    const char* monday;
    const char* sunday;
  } cases[] = {
      {{2025, 1, 1}, "2024-12-30", "2025-01-05"},    // a Wednesday
      {{2021, 1, 3}, "2020-12-28", "2021-01-03"},    // a Sunday ends its week
      {{2024, 12, 30}, "2024-12-30", "2025-01-05"},  // a Monday begins it
      {{2024, 2, 29}, "2024-02-26", "2024-03-03"},
  };
  for (const auto& c : cases) {
    const StringList week = dateTexts(daysOfWeek_(c.date));
    ASSERT_EQ(week.size(), 7u) << dateText(c.date);
    EXPECT_EQ(week.front(), c.monday) << dateText(c.date);
    EXPECT_EQ(week.back(), c.sunday) << dateText(c.date);
  }
  EXPECT_EQ(dayNames_("YYYYMMDD ddd ", {{2025, 1, 1}}), (StringList{"20250101 \x90\x85 "}));
}

TEST(NodeGeneratorsTest, MonthsAndYearsHaveTheirDays) {
  EXPECT_EQ(daysOfYear_(2024).size(), 366u);
  EXPECT_EQ(daysOfYear_(2000).size(), 366u);
  EXPECT_EQ(daysOfYear_(1900).size(), 365u);
  EXPECT_EQ(daysOfYear_(2023).size(), 365u);
  EXPECT_EQ(dateText(daysOfYear_(2024)[59]), "2024-02-29");
  EXPECT_EQ(dateTexts(daysOfMonth_(2023, 2)).back(), "2023-02-28");
  EXPECT_EQ(daysOfMonth_(2024, 12).size(), 31u);
  EXPECT_TRUE(daysOfMonth_(2024, 13).empty());
  EXPECT_TRUE(daysOfYear_(0).empty());
  EXPECT_EQ(dateText(nextMonth_(2024, 12)), "2025-01-01");
  EXPECT_EQ(dateText(nextMonth_(2024, 1)), "2024-02-01");
}

TEST(NodeGeneratorsTest, AnswersOfTheInputBoxes) {
  const struct {
    const char* answer;
    std::optional<int> year;           // of parseYear_
    std::optional<std::string> month;  // of parseYearMonth_
  } cases[] = {
      {"202412", std::nullopt, "2024-12-01"}, {"20241231", std::nullopt, "2024-12-01"},
      {"2024", 2024, std::nullopt},           {" 0001 ", 1, std::nullopt},
      {"9999", 9999, std::nullopt},           {"10000", std::nullopt, std::nullopt},
      {"0", std::nullopt, std::nullopt},      {"-5", std::nullopt, std::nullopt},
      {"", std::nullopt, std::nullopt},       {"abcd", std::nullopt, std::nullopt},
      {"2024x", std::nullopt, std::nullopt},  {"202413", std::nullopt, std::nullopt},
      {"202400", std::nullopt, std::nullopt}, {"000012", 12, std::nullopt},
      {"2024-1", std::nullopt, std::nullopt}, {"2O2412", std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parseYear_(c.answer), c.year) << c.answer;
    const std::optional<LocalTime> month = parseYearMonth_(c.answer);
    EXPECT_EQ(month ? std::optional<std::string>(dateText(*month)) : std::nullopt, c.month)
        << c.answer;
  }
  EXPECT_EQ(parseWholeNumber_(" 42 "), 42);
  EXPECT_EQ(parseWholeNumber_("+7"), 7);
  EXPECT_EQ(parseWholeNumber_("-3"), -3);
  EXPECT_EQ(parseWholeNumber_("1e3"), std::nullopt);
  EXPECT_EQ(parseWholeNumber_("99999999999999999999"), std::nullopt);
}

TEST(NodeGeneratorsTest, MemoLinesBecomeNamesAsWritten) {
  EXPECT_EQ(memoLinesToNames_({"alpha", "", "  ", "\t", " beta ", "gamma"}),
            (StringList{"alpha", " beta ", "gamma"}));
  EXPECT_TRUE(memoLinesToNames_({}).empty());
}

TEST(NodeGeneratorsTest, TheNodeAfterRemovalIsTheWantedIndexElseTheLast) {
  const struct {
    int wanted, remaining, index;
  } cases[] = {{2, 5, 2}, {0, 5, 0}, {5, 5, 4}, {7, 3, 2}, {-1, 3, 2}, {0, 0, -1}, {3, 0, -1}};
  for (const auto& c : cases)
    EXPECT_EQ(indexAfterRemoval_(c.wanted, c.remaining), c.index) << c.wanted << "/" << c.remaining;
}

}  // namespace
}  // namespace vrk
