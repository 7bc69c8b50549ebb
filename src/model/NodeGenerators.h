#pragma once
// The rules of the node commands that need no window: the names of numbered
// and dated nodes, the answers the generators accept, the nodes a memo's lines
// become, and which node stays current after nodes leave a list.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/LocalTime.h"
#include "text/StringList.h"

namespace vrk {

// Above this many nodes the generators ask before they start.
constexpr std::int64_t kNodesAskAbove = 10000;

// A whole decimal number (blanks around it allowed); nullopt otherwise.
std::optional<std::int64_t> parseWholeNumber_(std::string_view text);

// Monday to Sunday of the ISO week that holds date.
std::vector<LocalTime> daysOfWeek_(const LocalTime& date);
// Every day of the month; of the year (365 or 366).
std::vector<LocalTime> daysOfMonth_(int year, int month);
std::vector<LocalTime> daysOfYear_(int year);
// The date names of days in the pattern.
StringList dayNames_(std::string_view format, const std::vector<LocalTime>& days);
// The month after year/month (December goes on to January).
LocalTime nextMonth_(int year, int month);
// Years the calendar can hold (1..9999).
bool isYearInRange_(std::int64_t year);
// "YYYYMM": the first four characters the year, the next two the month;
// nullopt for anything else (too short, not digits, out of range).
std::optional<LocalTime> parseYearMonth_(std::string_view answer);
// A year from an input box; nullopt when empty, not a number or out of range.
std::optional<int> parseYear_(std::string_view answer);

// The lines of a memo that become nodes: every line that is not blank, as
// written.
StringList memoLinesToNames_(const StringList& lines);

// The index of the node to make current after nodes left a list: wanted when
// it is still in the list of remaining nodes, else the last one; -1 when the
// list is empty (a new node is made).
int indexAfterRemoval_(int wanted, int remaining);

}  // namespace vrk
