#include "text/CharEX.h"

namespace vrk {
namespace {

char lowerByte(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char upperByte(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether `needle` stands at position `at` of `text`, both ends on character
// boundaries of `text`. Only single-byte characters fold their case.
bool matchesAt(std::string_view text, std::size_t at, std::string_view needle, bool ignoreCase) {
  if (at > text.size() || text.size() - at < needle.size()) return false;
  for (std::size_t i = 0; i < needle.size();) {
    const std::size_t length = charLengthAt(text, at + i);
    if (i + length > needle.size()) return false;  // would end inside a double-byte character
    if (length == 2) {
      if (text.compare(at + i, 2, needle.substr(i, 2)) != 0) return false;
    } else if (ignoreCase ? lowerByte(text[at + i]) != lowerByte(needle[i])
                          : text[at + i] != needle[i]) {
      return false;
    }
    i += length;
  }
  return true;
}

bool isCharBoundary(std::string_view text, std::size_t at) {
  std::size_t i = 0;
  while (i < at) i += charLengthAt(text, i);
  return i == at;
}

std::string mapSingleBytes(std::string_view text, char (*map)(char)) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); i += charLengthAt(out, i)) {
    if (charLengthAt(out, i) == 1) out[i] = map(out[i]);
  }
  return out;
}

}  // namespace

std::string trimLeft_(std::string_view text) {
  std::size_t begin = 0;
  while (begin < text.size() && isBlankByte(static_cast<unsigned char>(text[begin]))) ++begin;
  return std::string(text.substr(begin));
}

std::string trimRight_(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && isBlankByte(static_cast<unsigned char>(text[end - 1]))) --end;
  return std::string(text.substr(0, end));
}

std::string trim_(std::string_view text) { return std::string(trimView_(text)); }

std::string_view trimView_(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isBlankByte(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && isBlankByte(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

bool isBlank_(std::string_view text) {
  for (char c : text) {
    if (!isBlankByte(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

std::string lowerCase_(std::string_view text) { return mapSingleBytes(text, lowerByte); }
std::string upperCase_(std::string_view text) { return mapSingleBytes(text, upperByte); }

bool sameText_(std::string_view a, std::string_view b) {
  return a.size() == b.size() && matchesAt(a, 0, b, true);
}

bool startsWith_(std::string_view text, std::string_view prefix) {
  return matchesAt(text, 0, prefix, false);
}

bool startsWithText_(std::string_view text, std::string_view prefix) {
  return matchesAt(text, 0, prefix, true);
}

bool endsWith_(std::string_view text, std::string_view suffix) {
  if (suffix.size() > text.size()) return false;
  const std::size_t at = text.size() - suffix.size();
  return isCharBoundary(text, at) && matchesAt(text, at, suffix, false);
}

std::size_t findCharOf_(std::string_view text, std::string_view set, std::size_t from) {
  for (std::size_t i = from; i < text.size(); i += charLengthAt(text, i)) {
    if (charLengthAt(text, i) == 1 && set.find(text[i]) != std::string_view::npos) return i;
  }
  return std::string_view::npos;
}

std::size_t findLastCharOf_(std::string_view text, std::string_view set) {
  std::size_t last = std::string_view::npos;
  for (std::size_t i = findCharOf_(text, set); i != std::string_view::npos;
       i = findCharOf_(text, set, i + 1)) {
    last = i;
  }
  return last;
}

std::size_t findText_(std::string_view text, std::string_view needle, std::size_t from,
                      bool ignoreCase) {
  if (needle.empty()) return std::string_view::npos;
  for (std::size_t i = from; i < text.size(); i += charLengthAt(text, i)) {
    if (matchesAt(text, i, needle, ignoreCase)) return i;
  }
  return std::string_view::npos;
}

std::string replaceAll_(std::string_view text, std::string_view from, std::string_view to,
                        bool ignoreCase) {
  std::string out;
  out.reserve(text.size());
  std::size_t done = 0;
  for (std::size_t at = findText_(text, from, 0, ignoreCase); at != std::string_view::npos;
       at = findText_(text, from, done, ignoreCase)) {
    out.append(text.substr(done, at - done)).append(to);
    done = at + from.size();
  }
  out.append(text.substr(done));
  return out;
}

}  // namespace vrk
