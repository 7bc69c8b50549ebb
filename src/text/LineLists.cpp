#include "text/LineLists.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <vector>

#include "text/CharEX.h"
#include "text/Format.h"

namespace vrk {
namespace {

// boundary[i]: a character starts at byte i (boundary[size] too).
std::vector<bool> charBoundaries(std::string_view text) {
  std::vector<bool> boundary(text.size() + 1, false);
  for (std::size_t i = 0; i < text.size(); i += charLengthAt(text, i)) boundary[i] = true;
  boundary[text.size()] = true;
  return boundary;
}

// A single-byte character at i that is one of the delimiters.
bool isDelimiterAt(std::string_view text, const std::vector<bool>& boundary, std::size_t i,
                   std::string_view delimiters) {
  return i < text.size() && boundary[i] && charLengthAt(text, i) == 1 &&
         delimiters.find(text[i]) != std::string_view::npos;
}

const char kHexDigits[] = "0123456789ABCDEF";

// As "%.<digits>X" would write it: at least `digits` digits.
void appendHex(std::string& out, std::uint64_t value, int digits) {
  char buffer[16];
  int n = 0;
  do {
    buffer[n++] = kHexDigits[value & 15];
    value >>= 4;
  } while (value != 0);
  for (int k = n; k < digits; ++k) out += '0';
  while (n > 0) out += buffer[--n];
}

}  // namespace

// --- cutting

std::string cutHeadChars_(std::string_view text, int n) {
  if (n <= 0) return std::string(text);
  if (static_cast<std::size_t>(n) >= text.size()) return {};
  std::size_t i = 0;
  for (int k = 0; k < n && i < text.size(); ++k) i += charLengthAt(text, i);
  return std::string(text.substr(i));
}

std::string cutHead1_(std::string_view text) {
  if (text.size() <= 1) return {};
  return std::string(text.substr(charLengthAt(text, 0)));
}

std::string cutTail1_(std::string_view text) {
  if (text.size() <= 1) return {};
  std::size_t last = 0;
  for (std::size_t i = 0; i < text.size(); i += charLengthAt(text, i)) last = i;
  return std::string(text.substr(0, last));
}

// Both cuts take a byte per step, as a double-byte character takes two steps;
// when the length bound stops a cut inside such a character, the character
// goes whole, so that no half character is left behind.
std::string cutHeadTo_(std::string_view text, std::string_view delimiters) {
  if (isBlank_(text) || text.size() < 3) return std::string(text);
  const std::vector<bool> boundary = charBoundaries(text);
  std::size_t start = 0;
  for (;;) {
    ++start;
    if (isDelimiterAt(text, boundary, start, delimiters)) break;
    if (text.size() - start <= 3) break;
  }
  while (!boundary[start]) ++start;
  return std::string(text.substr(start));
}

std::string cutTailTo_(std::string_view text, std::string_view delimiters) {
  if (isBlank_(text) || text.size() < 3) return std::string(text);
  const std::vector<bool> boundary = charBoundaries(text);
  std::size_t end = text.size();
  for (;;) {
    const std::size_t before = end;
    --end;
    if (end > 0 && isDelimiterAt(text, boundary, end - 1, delimiters)) break;
    if (before <= 3) break;
  }
  while (!boundary[end]) --end;
  return std::string(text.substr(0, end));
}

// --- counting

int countOf_(std::string_view text, std::string_view word) {
  if (text.empty() || word.empty()) return 0;
  int count = 0;
  for (std::size_t at = findText_(text, word); at != std::string_view::npos;
       at = findText_(text, word, at + word.size())) {
    ++count;
  }
  return count;
}

int countWord_(const StringList& lines, std::string_view word) {
  const std::string lowered = lowerCase_(word);
  int count = 0;
  for (const std::string& line : lines) count += countOf_(lowerCase_(line), lowered);
  return count;
}

// --- line lists

int trimLines_(StringList* lines) {
  if (!lines) return -1;
  for (std::string& line : *lines) line = trim_(line);
  return static_cast<int>(lines->size());
}

int deleteBlankLines_(StringList* lines) {
  if (!lines) return 0;
  const std::size_t before = lines->size();
  std::erase_if(*lines, [](const std::string& line) { return isBlank_(line); });
  return static_cast<int>(before - lines->size());
}

int prefixEachLine_(StringList* lines, std::string_view prefix, bool skipEmpty) {
  if (!lines) return -1;
  for (std::string& line : *lines) {
    if (!skipEmpty || !line.empty()) line.insert(0, prefix);
  }
  return static_cast<int>(lines->size());
}

int appendEachLine_(StringList* lines, std::string_view suffix) {
  if (!lines) return -1;
  for (std::string& line : *lines) line += suffix;
  return static_cast<int>(lines->size());
}

void cutHeadEachLine_(StringList* lines, int n) {
  if (!lines || n <= 0) return;
  for (std::string& line : *lines) line = cutHeadChars_(line, n);
}

int numberLines_(StringList* lines, std::string_view format, int start) {
  if (!lines) return -1;
  const std::string_view pattern = isBlank_(format) ? std::string_view("%.8d:") : format;
  // Every number is made before a line changes, so that a refused format
  // leaves the whole list as it was.
  StringList numbered;
  numbered.reserve(lines->size());
  for (std::size_t i = 0; i < lines->size(); ++i) {
    const std::optional<std::string> number =
        formatInteger_(pattern, static_cast<std::int64_t>(start) + static_cast<std::int64_t>(i));
    if (!number) return -1;
    numbered.push_back(*number + (*lines)[i]);
  }
  lines->swap(numbered);
  return static_cast<int>(lines->size());
}

int sortUnique_(StringList* lines) {
  if (!lines) return 0;
  std::vector<std::pair<std::string, std::string>> keyed;
  keyed.reserve(lines->size());
  for (std::string& line : *lines) keyed.emplace_back(lowerCase_(line), std::move(line));
  // Lines that differ only in letter case are ordered by their bytes, so that
  // exact duplicates always end up next to each other.
  std::sort(keyed.begin(), keyed.end());
  const std::size_t before = keyed.size();
  lines->clear();
  for (auto& entry : keyed) {
    if (lines->empty() || lines->back() != entry.second) lines->push_back(std::move(entry.second));
  }
  return static_cast<int>(before - lines->size());
}

int markDuplicates_(StringList* lines) {
  if (!lines || lines->empty()) return 0;
  int marked = 0;
  std::string previous = (*lines)[0];
  for (std::size_t i = 1; i < lines->size(); ++i) {
    std::string& line = (*lines)[i];
    const bool same = line == previous;
    previous = line;
    if (same) {
      line.insert(0, "* ");
      ++marked;
    }
  }
  return marked;
}

void reverseLines_(StringList* lines) {
  if (lines) std::reverse(lines->begin(), lines->end());
}

// --- matching lines

std::size_t findKeywordIn_(std::string_view text, std::string_view needle, bool ignoreCase) {
  if (needle.empty() || needle.size() > text.size()) return std::string_view::npos;
  std::string loweredText, loweredNeedle;
  if (ignoreCase) {
    // Lower-casing keeps every character's length, so positions carry over.
    loweredText = lowerCase_(text);
    loweredNeedle = lowerCase_(needle);
    text = loweredText;
    needle = loweredNeedle;
  }
  std::size_t walked = 0;  // a character starts here, and none between it and `from`
  std::size_t from = 0;
  while (from + needle.size() <= text.size()) {
    // memchr for the first byte, then the rest compared: for the short lines
    // of memos this beats memmem, whose setup costs more than the search.
    const void* hit = ::memchr(text.data() + from, needle[0], text.size() - from);
    if (!hit) return std::string_view::npos;
    const std::size_t at = static_cast<const char*>(hit) - text.data();
    if (at + needle.size() > text.size()) return std::string_view::npos;
    if (std::memcmp(text.data() + at + 1, needle.data() + 1, needle.size() - 1) != 0) {
      from = at + 1;
      continue;
    }
    while (walked < at) walked += charLengthAt(text, walked);
    if (walked == at) {
      std::size_t end = at;
      while (end < at + needle.size()) end += charLengthAt(text, end);
      if (end == at + needle.size()) return at;
    }
    from = at + 1;
  }
  return std::string_view::npos;
}

bool matchLine_(std::string_view line, int mode, std::string_view keyword, bool ignore,
                bool negate) {
  bool hit = false;
  switch (mode) {
    case kMatchContains:
      hit = findKeywordIn_(line, keyword, ignore) != std::string_view::npos;
      break;
    case kMatchHead:
      hit = ignore ? startsWithText_(line, keyword) : startsWith_(line, keyword);
      break;
    case kMatchTail:
      hit = ignore ? endsWith_(lowerCase_(line), lowerCase_(keyword)) : endsWith_(line, keyword);
      break;
    default:
      break;
  }
  return hit != negate;
}

int grepLines_(const StringList* lines, std::string_view keyword, StringList* out, bool ignore,
               bool numbered, bool negate, int mode) {
  if (!lines) return -9;
  if (!out) return -8;
  int count = 0;
  for (std::size_t i = 0; i < lines->size(); ++i) {
    const std::string& line = (*lines)[i];
    if (!matchLine_(line, mode, keyword, ignore, negate)) continue;
    if (numbered) {
      out->push_back(*formatInteger_("%7d", static_cast<std::int64_t>(i + 1)) + ": " + line);
    } else {
      out->push_back(line);
    }
    ++count;
  }
  return count;
}

// --- dump and commands

int hexDump_(StringList& lines, std::string_view bytes, int width) {
  const std::size_t columns = width > 0 ? static_cast<std::size_t>(width) : 16;
  lines.push_back("#size=" + std::to_string(bytes.size()));
  std::string header = "#Address :Sum:";
  for (std::size_t k = 0; k < columns; ++k) {
    appendHex(header, k, 2);
    header += ' ';
  }
  lines.push_back(std::move(header));
  for (std::size_t offset = 0; offset < bytes.size(); offset += columns) {
    const std::string_view group = bytes.substr(offset, columns);
    unsigned sum = 0;
    for (char c : group) sum += static_cast<unsigned char>(c);
    std::string line;
    line.reserve(14 + group.size() * 3);
    appendHex(line, offset, 10);
    line += ':';
    appendHex(line, sum & 0xFF, 2);
    line += ':';
    for (char c : group) {
      appendHex(line, static_cast<unsigned char>(c), 2);
      line += ' ';
    }
    lines.push_back(std::move(line));
  }
  return static_cast<int>(bytes.size());
}

}  // namespace vrk
