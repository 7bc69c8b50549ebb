#include "script/BuiltinRoutines.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "text/CharEX.h"

namespace vrk {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
int hexValue(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Doubles in [-2^63, 2^63) convert to int64 without overflow.
constexpr double kTwo63 = 9223372036854775808.0;

}  // namespace

std::string pascalCopy_(std::string_view text, std::int64_t index, std::int64_t count) {
  const auto length = static_cast<std::int64_t>(text.size());
  std::int64_t from = index - 1;
  if (from < 0) from = 0;
  if (from >= length || count <= 0) return {};
  if (count > length - from) count = length - from;
  return std::string(text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(count)));
}

std::string pascalDelete_(std::string_view text, std::int64_t index, std::int64_t count) {
  const auto length = static_cast<std::int64_t>(text.size());
  std::string out(text);
  if (index > length || index <= 0 || count <= 0) return out;
  if (count > length - index + 1) count = length - index + 1;
  out.erase(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count));
  return out;
}

std::string pascalInsert_(std::string_view source, std::string_view text, std::int64_t index) {
  std::string out(text);
  if (source.empty()) return out;
  const auto length = static_cast<std::int64_t>(text.size());
  if (index <= 0) index = 1;
  if (index > length) index = length + 1;
  out.insert(static_cast<std::size_t>(index - 1), source);
  return out;
}

int compareStr_(std::string_view a, std::string_view b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    const int d = static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i]);
    if (d != 0) return d;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

std::optional<std::int64_t> textToInteger_(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const bool hex = i < text.size() && text[i] == '$';
  if (hex) ++i;
  if (i >= text.size()) return std::nullopt;
  std::uint64_t value = 0;
  const std::uint64_t limit =
      hex ? std::numeric_limits<std::uint64_t>::max()
          : std::uint64_t(std::numeric_limits<std::int64_t>::max()) + (negative ? 1 : 0);
  const unsigned base = hex ? 16 : 10;
  for (; i < text.size(); ++i) {
    const int digit = hex ? hexValue(text[i]) : (isDigit(text[i]) ? text[i] - '0' : -1);
    if (digit < 0) return std::nullopt;
    if (value > (limit - static_cast<unsigned>(digit)) / base) return std::nullopt;
    value = value * base + static_cast<unsigned>(digit);
  }
  // Two's complement: hexadecimal digits may set the sign bit.
  return static_cast<std::int64_t>(negative ? 0 - value : value);
}

std::optional<double> textToReal_(std::string_view text) {
  const std::string_view t = trimView_(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  const std::string_view body = t.substr(i);
  if (sameText_(body, "inf")) return negative ? -HUGE_VAL : HUGE_VAL;
  if (sameText_(body, "nan")) return std::numeric_limits<double>::quiet_NaN();
  // [digits][.digits] with at least one digit, then an optional exponent.
  std::size_t k = 0;
  std::size_t digits = 0;
  while (k < body.size() && isDigit(body[k])) ++k, ++digits;
  if (k < body.size() && body[k] == '.') {
    ++k;
    while (k < body.size() && isDigit(body[k])) ++k, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (k < body.size() && (body[k] == 'e' || body[k] == 'E')) {
    ++k;
    if (k < body.size() && (body[k] == '+' || body[k] == '-')) ++k;
    if (k >= body.size() || !isDigit(body[k])) return std::nullopt;
    while (k < body.size() && isDigit(body[k])) ++k;
  }
  if (k != body.size()) return std::nullopt;
  // from_chars takes no leading ".": a "0" goes in front.
  std::string number = "0";
  number.append(body);
  double value = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error == std::errc::result_out_of_range) {
    // Too large: infinity; too small: zero (the sign kept).
    const bool tooLarge = [&] {
      const std::size_t e = number.find_first_of("eE");
      return e != std::string::npos && number[e + 1] != '-';
    }();
    value = tooLarge ? HUGE_VAL : 0.0;
  } else if (error != std::errc() || end != number.data() + number.size()) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

std::string floatToStr_(double value) {
  if (std::isnan(value)) return "Nan";
  if (std::isinf(value)) return value > 0 ? "+Inf" : "-Inf";
  if (value == 0) return "0";
  // 15 significant digits, correctly rounded: d.dddddddddddddde±x
  char buffer[64];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
  if (error != std::errc()) return "0";
  const std::string_view s(buffer, static_cast<std::size_t>(end - buffer));
  const bool negative = s[0] == '-';
  const std::size_t e = s.find('e');
  const int exponent = std::atoi(std::string(s.substr(e + 1)).c_str());
  std::string digits;
  for (std::size_t k = negative ? 1 : 0; k < e; ++k)
    if (isDigit(s[k])) digits.push_back(s[k]);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = negative ? "-" : "";
  if (exponent >= -5 && exponent < 15) {
    if (exponent < 0) {
      out += "0.";
      out.append(static_cast<std::size_t>(-exponent - 1), '0');
      out += digits;
    } else {
      const auto whole = static_cast<std::size_t>(exponent) + 1;
      if (digits.size() <= whole) {
        out += digits;
        out.append(whole - digits.size(), '0');
      } else {
        out += digits.substr(0, whole);
        out += '.';
        out += digits.substr(whole);
      }
    }
  } else {
    out += digits[0];
    if (digits.size() > 1) {
      out += '.';
      out += digits.substr(1);
    }
    out += 'E';
    out += std::to_string(exponent);
  }
  return out;
}

std::optional<std::int64_t> truncToInteger_(double value) {
  const double t = std::trunc(value);
  if (!(t >= -kTwo63 && t < kTwo63)) return std::nullopt;  // NaN fails too
  return static_cast<std::int64_t>(t);
}

std::optional<std::int64_t> roundToInteger_(double value) {
  const double r = std::nearbyint(value);                  // the default mode rounds halves to even
  if (!(r >= -kTwo63 && r < kTwo63)) return std::nullopt;  // NaN fails too
  return static_cast<std::int64_t>(r);
}

double fracOf_(double value) { return std::isinf(value) ? 0.0 : value - std::trunc(value); }

double intOf_(double value) { return std::trunc(value); }

StringList splitCommandLine_(std::string_view commandLine) {
  StringList args;
  std::string current;
  bool inWord = false;
  bool quoted = false;
  for (std::size_t i = 0; i < commandLine.size();) {
    const std::size_t length = charLengthAt(commandLine, i);
    const char c = commandLine[i];
    if (length == 1 && c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if (length == 1 && !quoted && isBlankByte(static_cast<unsigned char>(c))) {
      if (inWord) args.push_back(std::move(current));
      current.clear();
      inWord = false;
    } else {
      current.append(commandLine.substr(i, length));
      inWord = true;
    }
    i += length;
  }
  if (inWord) args.push_back(std::move(current));
  return args;
}

}  // namespace vrk
