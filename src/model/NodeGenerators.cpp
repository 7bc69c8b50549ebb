#include "model/NodeGenerators.h"

#include <charconv>

#include "text/CharEX.h"
#include "text/Format.h"

namespace vrk {

std::optional<std::int64_t> parseWholeNumber_(std::string_view text) {
  const std::string trimmed = trim_(text);
  if (trimmed.empty()) return std::nullopt;
  const char* first = trimmed.data();
  const char* last = first + trimmed.size();
  if (*first == '+') ++first;  // from_chars takes no plus sign
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last) return std::nullopt;
  return value;
}

std::vector<LocalTime> daysOfWeek_(const LocalTime& date) {
  // Weeks begin on Monday; dayOfWeek counts from Sunday.
  const std::int64_t monday = date.dayNumber() - (date.dayOfWeek() + 6) % 7;
  std::vector<LocalTime> days;
  for (int i = 0; i < 7; ++i) days.push_back(LocalTime::fromDayNumber(monday + i));
  return days;
}

std::vector<LocalTime> daysOfMonth_(int year, int month) {
  std::vector<LocalTime> days;
  if (!isYearInRange_(year) || month < 1 || month > 12) return days;
  for (int day = 1; day <= daysInMonth(year, month); ++day) days.push_back({year, month, day});
  return days;
}

std::vector<LocalTime> daysOfYear_(int year) {
  std::vector<LocalTime> days;
  for (int month = 1; month <= 12; ++month) {
    const std::vector<LocalTime> more = daysOfMonth_(year, month);
    days.insert(days.end(), more.begin(), more.end());
  }
  return days;
}

StringList dayNames_(std::string_view format, const std::vector<LocalTime>& days) {
  StringList names;
  for (const LocalTime& day : days) names.push_back(formatDateTime_(format, day));
  return names;
}

LocalTime nextMonth_(int year, int month) {
  return month >= 12 ? LocalTime{year + 1, 1, 1} : LocalTime{year, month + 1, 1};
}

bool isYearInRange_(std::int64_t year) { return year >= 1 && year <= 9999; }

namespace {

// Only the digits 0-9: no sign, no blank.
std::optional<int> digitsValue(std::string_view text) {
  if (text.empty()) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

std::optional<LocalTime> parseYearMonth_(std::string_view answer) {
  const std::string text = trim_(answer);
  if (text.size() < 6) return std::nullopt;
  const std::optional<int> year = digitsValue(std::string_view(text).substr(0, 4));
  const std::optional<int> month = digitsValue(std::string_view(text).substr(4, 2));
  if (!year || !month || !isYearInRange_(*year) || *month < 1 || *month > 12) return std::nullopt;
  return LocalTime{*year, *month, 1};
}

std::optional<int> parseYear_(std::string_view answer) {
  const std::optional<std::int64_t> year = parseWholeNumber_(answer);
  if (!year || !isYearInRange_(*year)) return std::nullopt;
  return static_cast<int>(*year);
}

StringList memoLinesToNames_(const StringList& lines) {
  StringList names;
  for (const std::string& line : lines)
    if (!trim_(line).empty()) names.push_back(line);
  return names;
}

int indexAfterRemoval_(int wanted, int remaining) {
  if (remaining <= 0) return -1;
  if (wanted >= 0 && wanted < remaining) return wanted;
  return remaining - 1;
}

}  // namespace vrk
