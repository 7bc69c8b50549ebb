#include "script/TPPAParser.h"

#include <limits>

#include "text/CharEX.h"

namespace vrk {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool isIdentStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool isIdentChar(char c) { return isIdentStart(c) || isDigit(c); }
bool isSeparator(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b >= 1 && b <= 32;
}
int hexValue(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return c - 'A' + 10;
}

}  // namespace

TPPAParser::TPPAParser(std::string_view text) : text_(text) { nextToken(); }

std::string TPPAParser::tokenUpper() const { return upperCase_(token()); }

bool TPPAParser::match_(std::string_view text) {
  if (kind_ == TokenKind::End || tokenUpper() != upperCase_(text)) return false;
  nextToken();
  return true;
}

void TPPAParser::nextToken() {
  const std::size_t n = text_.size();
  std::size_t i = pos_;
  while (i < n && isSeparator(text_[i])) ++i;
  start_ = i;
  if (i >= n) {
    pos_ = n;
    kind_ = TokenKind::End;
    return;
  }
  const char c = text_[i];
  const auto at = [&](std::size_t k) { return k < n ? text_[k] : '\0'; };
  if (c == '/' && at(i + 1) == '/') {
    while (i < n && text_[i] != '\n' && text_[i] != '\r') ++i;
    kind_ = TokenKind::Comment;
  } else if (c == '\'') {
    ++i;
    for (;;) {
      if (i >= n) break;  // unclosed: to the end of the text
      if (text_[i] == '\'') {
        if (at(i + 1) == '\'') {
          i += 2;
          continue;
        }
        ++i;
        break;
      }
      ++i;
    }
    kind_ = TokenKind::String;
  } else if (c == '#') {
    ++i;
    if (at(i) == '$') {
      ++i;
      while (i < n && isHexDigit(text_[i])) ++i;
    } else {
      while (i < n && isDigit(text_[i])) ++i;
    }
    kind_ = TokenKind::String;
  } else if (c == '$' && isHexDigit(at(i + 1))) {
    ++i;
    while (i < n && isHexDigit(text_[i])) ++i;
    kind_ = TokenKind::HexInteger;
  } else if (isDigit(c)) {
    while (i < n && isDigit(text_[i])) ++i;
    kind_ = TokenKind::Integer;
    // An exponent counts only with its digits.
    const auto exponentEnd = [&](std::size_t k) -> std::size_t {
      if (at(k) != 'e' && at(k) != 'E') return 0;
      ++k;
      if (at(k) == '+' || at(k) == '-') ++k;
      if (!isDigit(at(k))) return 0;
      while (k < n && isDigit(text_[k])) ++k;
      return k;
    };
    if (at(i) == '.' && isDigit(at(i + 1))) {
      i += 1;
      while (i < n && isDigit(text_[i])) ++i;
      if (const std::size_t e = exponentEnd(i)) i = e;
      kind_ = TokenKind::Real;
    } else if (at(i) == '.' && (at(i + 1) == 'e' || at(i + 1) == 'E') && exponentEnd(i + 1)) {
      i = exponentEnd(i + 1);
      kind_ = TokenKind::Real;
    } else if (at(i) == '.') {
      kind_ = TokenKind::Real;  // "1..5", "1.x": the digits alone, the "." left over
    } else if (const std::size_t e = exponentEnd(i)) {
      i = e;
      kind_ = TokenKind::Real;
    }
  } else if (isIdentStart(c)) {
    while (i < n && isIdentChar(text_[i])) ++i;
    kind_ = TokenKind::Identifier;
  } else {
    const char d = at(i + 1);
    const bool twoChars = (c == ':' && d == '=') || (c == '<' && (d == '=' || d == '>')) ||
                          (c == '>' && d == '=') || (c == '.' && d == '.');
    i += twoChars ? 2 : 1;
    kind_ = TokenKind::Symbol;
  }
  pos_ = i;
}

std::string decodeStringToken_(std::string_view token) {
  std::string out;
  if (token.empty()) return out;
  if (token[0] == '#') {
    unsigned code = 0;
    std::size_t i = 1;
    std::size_t digits = 0;
    if (i < token.size() && token[i] == '$') {
      for (++i; i < token.size() && digits < 3; ++i, ++digits)
        code = code * 16 + hexValue(token[i]);
    } else {
      for (; i < token.size() && digits < 3; ++i, ++digits) code = code * 10 + (token[i] - '0');
    }
    if (digits > 0 && code < 256) out.push_back(static_cast<char>(code));
    return out;
  }
  // Quoted; an unclosed string runs to the end of the token.
  out.reserve(token.size());
  for (std::size_t i = 1; i < token.size(); ++i) {
    if (token[i] == '\'') {
      if (i + 1 < token.size() && token[i + 1] == '\'') {
        out.push_back('\'');
        ++i;
        continue;
      }
      break;
    }
    out.push_back(token[i]);
  }
  return out;
}

std::int64_t integerLiteral_(std::string_view token) {
  std::uint64_t value = 0;
  if (!token.empty() && token[0] == '$') {
    std::size_t i = 1;
    while (i < token.size() && token[i] == '0') ++i;
    if (token.size() - i > 16) return 0;
    for (; i < token.size(); ++i) value = value * 16 + static_cast<unsigned>(hexValue(token[i]));
    return static_cast<std::int64_t>(value);
  }
  constexpr std::uint64_t kMax = std::numeric_limits<std::int64_t>::max();
  for (const char c : token) {
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (value > (kMax - digit) / 10) return 0;
    value = value * 10 + digit;
  }
  return static_cast<std::int64_t>(value);
}

}  // namespace vrk
