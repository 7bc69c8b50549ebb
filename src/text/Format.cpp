#include "text/Format.h"

#include <algorithm>

#include "text/CharEX.h"

namespace vrk {
namespace {

constexpr int kMaxFieldWidth = 255;

struct Conversion {
  bool left = false;
  bool zeros = false;
  int width = 0;
  int precision = -1;  // none given
  char type = 'd';
};

bool readCount(std::string_view pattern, std::size_t& i, int& count) {
  count = 0;
  for (; i < pattern.size() && pattern[i] >= '0' && pattern[i] <= '9'; ++i) {
    count = count * 10 + (pattern[i] - '0');
    if (count > kMaxFieldWidth) return false;
  }
  return true;
}

// Reads [-][0][w][.p](d|u|x|X) from just after the "%"; i ends on the type.
std::optional<Conversion> readConversion(std::string_view pattern, std::size_t& i) {
  Conversion c;
  c.left = i < pattern.size() && pattern[i] == '-';
  if (c.left) ++i;
  c.zeros = i < pattern.size() && pattern[i] == '0';
  if (c.zeros) ++i;
  if (!readCount(pattern, i, c.width)) return std::nullopt;
  if (i < pattern.size() && pattern[i] == '.' && !readCount(pattern, ++i, c.precision)) {
    return std::nullopt;
  }
  if (i >= pattern.size() || std::string_view("duxX").find(pattern[i]) == std::string_view::npos) {
    return std::nullopt;
  }
  c.type = pattern[i];
  return c;
}

// As printf does it; u, x and X show the value as 64 unsigned bits.
std::string formatConversion(const Conversion& c, std::int64_t value) {
  const bool negative = c.type == 'd' && value < 0;
  std::uint64_t magnitude = static_cast<std::uint64_t>(value);
  if (negative) magnitude = 0 - magnitude;
  const unsigned base = c.type == 'x' || c.type == 'X' ? 16 : 10;
  const char* digitChars = c.type == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string digits;
  for (; magnitude != 0; magnitude /= base) digits += digitChars[magnitude % base];
  const std::size_t precision = c.precision < 0 ? 1 : static_cast<std::size_t>(c.precision);
  if (digits.size() < precision) digits.append(precision - digits.size(), '0');
  if (negative) digits += '-';
  std::reverse(digits.begin(), digits.end());

  const std::size_t width = static_cast<std::size_t>(c.width);
  if (digits.size() >= width) return digits;
  const std::size_t pad = width - digits.size();
  if (c.left) return digits.append(pad, ' ');
  if (c.zeros && c.precision < 0) return digits.insert(negative ? 1 : 0, pad, '0');
  return digits.insert(0, pad, ' ');
}

std::string padded(int value, std::size_t width) {
  std::string text = std::to_string(value);
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

}  // namespace

std::optional<std::string> formatInteger_(std::string_view pattern, std::int64_t value) {
  std::string out;
  bool converted = false;
  // "%" is below 0x40, so it never is a trail byte and a byte walk is safe.
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%') {
      out += pattern[i];
      continue;
    }
    if (++i < pattern.size() && pattern[i] == '%') {
      out += '%';
      continue;
    }
    const std::optional<Conversion> conversion = readConversion(pattern, i);
    if (!conversion || converted) return std::nullopt;
    out += formatConversion(*conversion, value);
    converted = true;
  }
  return out;
}

std::string formatDateTime_(std::string_view pattern, const LocalTime& time) {
  // Longer tokens first, so that "yyyy" is not read as two "yy".
  static constexpr std::string_view kTokens[] = {"yyyy", "yy", "mm", "ddd", "dd",
                                                 "hh",   "nn", "ss", "zzz"};
  // Sunday first, as dayOfWeek counts.
  static constexpr std::string_view kDayNames[] = {"\x93\xFA", "\x8C\x8E", "\x89\xCE", "\x90\x85",
                                                   "\x96\xD8", "\x8B\xE0", "\x93\x79"};
  std::string out;
  bool afterHour = false;
  for (std::size_t i = 0; i < pattern.size();) {
    const std::string_view rest = pattern.substr(i);
    const auto* token = std::find_if(std::begin(kTokens), std::end(kTokens),
                                     [&](std::string_view t) { return startsWithText_(rest, t); });
    if (token == std::end(kTokens)) {
      const std::size_t length = charLengthAt(pattern, i);
      out.append(rest.substr(0, length));
      i += length;
      continue;
    }
    const std::string_view t = *token;
    if (t == "yyyy") out += padded(time.year, 4);
    if (t == "yy") out += padded(time.year % 100, 2);
    if (t == "mm") out += padded(afterHour ? time.minute : time.month, 2);
    if (t == "ddd") out += kDayNames[time.dayOfWeek()];
    if (t == "dd") out += padded(time.day, 2);
    if (t == "hh") out += padded(time.hour, 2);
    if (t == "nn") out += padded(time.minute, 2);
    if (t == "ss") out += padded(time.second, 2);
    if (t == "zzz") out += padded(time.millisecond, 3);
    afterHour = t == "hh";
    i += t.size();
  }
  return out;
}

std::string formatNow_(std::string_view pattern, const Clock& clock) {
  return formatDateTime_(pattern, clock.now());
}

}  // namespace vrk
