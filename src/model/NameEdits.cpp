#include "model/NameEdits.h"

#include <algorithm>

#include "text/Basic.h"
#include "text/CharEX.h"
#include "text/Format.h"
#include "text/LineLists.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

constexpr std::string_view kDirectoryEnds = "\\/:";
constexpr std::string_view kCutDelimiters = " \\/:.\t";

// W1 + " " + W2 + ... : the words joined by one blank each.
std::string joined(std::initializer_list<std::string_view> words) {
  std::string out;
  bool first = true;
  for (std::string_view word : words) {
    if (!first) out += ' ';
    out += word;
    first = false;
  }
  return out;
}

// The directory part, up to and including its last delimiter.
std::size_t nameStart(std::string_view text) {
  const std::size_t at = findLastCharOf_(text, kDirectoryEnds);
  return at == std::string_view::npos ? 0 : at + 1;
}

}  // namespace

void pushFrontUnique_(StringList& list, std::string_view text, bool ignoreCase, std::size_t limit) {
  std::erase_if(list, [&](const std::string& entry) {
    return ignoreCase ? sameText_(entry, text) : entry == text;
  });
  list.insert(list.begin(), std::string(text));
  if (limit > 0 && list.size() > limit) list.resize(limit);
}

// --- words

std::string putMark1_(std::string_view text, std::string_view mark) {
  return std::string(mark) + " " + std::string(text);
}

std::string putMark2_(std::string_view text, std::string_view mark) {
  const auto [w1, r1] = splitWord_(trim_(text));
  return joined({w1, mark, r1});
}

std::string putMark3_(std::string_view text, std::string_view mark) {
  const auto [w1, r1] = splitWord_(trim_(text));
  const auto [w2, r2] = splitWord_(r1);
  return joined({w1, w2, mark, r2});
}

std::string cutWord1_(std::string_view text) { return splitWord_(text).second; }

std::string cutWord2_(std::string_view text) {
  const auto [w1, r1] = splitWord_(trim_(text));
  return joined({w1, splitWord_(r1).second});
}

std::string cutWord3_(std::string_view text) {
  const auto [w1, r1] = splitWord_(trim_(text));
  const auto [w2, r2] = splitWord_(r1);
  return joined({w1, w2, splitWord_(r2).second});
}

std::string countWord1_(std::string_view text, bool up) {
  const std::string trimmed = trim_(text);
  auto [w1, r1] = splitWord_(trimmed);
  if (!hasDigit_(w1)) return trimmed;
  w1 = up ? incDigits_(w1) : decDigits_(w1);
  return r1.empty() ? w1 : joined({w1, r1});
}

std::string countWord2_(std::string_view text, bool up) {
  const std::string trimmed = trim_(text);
  const auto [w1, r1] = splitWord_(trimmed);
  auto [w2, r2] = splitWord_(r1);
  if (w2.empty() || !allDigits_(w2)) return trimmed;
  w2 = up ? incDigits_(w2) : decDigits_(w2);
  return r2.empty() ? joined({w1, w2}) : joined({w1, w2, r2});
}

// --- the date word

std::string dateTextOfName_(std::string_view name, const LocalTime& today) {
  const std::string g = digitsOf_(splitWord_(trim_(name)).first);
  const std::string t = formatDateTime_("YYYYMMDD", today);
  switch (g.size()) {
    case 0:
      return t;
    case 1:
      return t.substr(0, 6) + "0" + g;
    case 2:
      return std::stoi(g) < 32 ? t.substr(0, 6) + g : t;
    case 3:
      return t.substr(0, 4) + "0" + g;
    case 4:
      return t.substr(0, 4) + g;
    case 5:
      return t.substr(0, 3) + g;
    case 6:
      return t.substr(0, 2) + g;
    case 7:
      return "2" + g;
    default:
      return g;
  }
}

LocalTime dateOfName_(std::string_view name, const Clock& clock) {
  LocalTime date = parseTimeStamp_(dateTextOfName_(name, clock.now()), clock);
  date.hour = date.minute = date.second = date.millisecond = 0;
  return date;
}

std::string putDateWord_(std::string_view text, std::string_view date) {
  const auto [w1, r1] = splitWord_(text);
  const auto [w2, r2] = splitWord_(r1);
  if (hasDigit_(w1)) return r1.empty() ? std::string(date) : joined({date, r1});
  if (hasDigit_(w2)) return r2.empty() ? joined({w1, date}) : joined({w1, date, r2});
  return r2.empty() ? joined({date, w2}) : joined({date, w2, r2});
}

LocalTime addYears_(const LocalTime& date, int years) {
  LocalTime out = date;
  out.year += years;
  out.day = std::min(out.day, daysInMonth(out.year, out.month));
  return out;
}

// --- path-like names

std::string extractNamePart_(std::string_view text) {
  return std::string(text.substr(nameStart(text)));
}

std::string removeNameExt_(std::string_view text) {
  const std::size_t start = nameStart(text);
  const std::size_t dot = findLastCharOf_(text.substr(start), ".");
  return std::string(text.substr(0, dot == std::string_view::npos ? text.size() : start + dot));
}

std::string cutNameHead_(std::string_view text) { return cutHeadTo_(text, kCutDelimiters); }
std::string cutNameTail_(std::string_view text) { return cutTailTo_(text, kCutDelimiters); }
std::string cutHeadChar_(std::string_view text) { return cutHead1_(text); }
std::string cutTailChar_(std::string_view text) { return cutTail1_(text); }

std::string countTens_(std::string_view text, bool up) {
  const std::string trimmed = trim_(text);
  const std::size_t start = nameStart(trimmed);
  const std::string_view name = std::string_view(trimmed).substr(start);
  const std::size_t dot = findLastCharOf_(name, ".");
  const std::string_view base = name.substr(0, dot);
  const std::string_view ext =
      dot == std::string_view::npos ? std::string_view() : name.substr(dot);
  return trimmed.substr(0, start) + (up ? incTens_(base) : decTens_(base)) + std::string(ext);
}

}  // namespace vrk
