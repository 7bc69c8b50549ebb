#pragma once
// Character-aware primitives on Shift_JIS byte strings. Every lead-byte test,
// trim, lower-casing, case-insensitive compare, delimiter search and replace of
// the program goes through here, so that a trail byte (0x5C in 表, 0x7C in ポ)
// never counts as "\" or "|".
#include <cstddef>
#include <string>
#include <string_view>

namespace vrk {

// First byte of a double-byte character: 0x81-0x9F or 0xE0-0xFC.
constexpr bool isLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Length in bytes of the character starting at i: 2 for a lead byte followed by
// another byte, else 1. Inline, since character-aware loops call it per character.
inline std::size_t charLengthAt(std::string_view text, std::size_t i) {
  return isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

// A lead byte whose next byte cannot be a trail byte (below 0x40, where every
// markup character lies), or that ends the text: half a character.
inline bool isHalfCharAt(std::string_view text, std::size_t i) {
  return isLeadByte(static_cast<unsigned char>(text[i])) &&
         (i + 1 == text.size() || static_cast<unsigned char>(text[i + 1]) < 0x40);
}

// Bytes up to 0x20 count as blank.
constexpr bool isBlankByte(unsigned char c) { return c <= 0x20; }

std::string trim_(std::string_view text);
std::string_view trimView_(std::string_view text);  // the same, without a copy
std::string trimLeft_(std::string_view text);
std::string trimRight_(std::string_view text);
bool isBlank_(std::string_view text);

// Single-byte A-Z to a-z; both bytes of a double-byte character stay as they are.
std::string lowerCase_(std::string_view text);
std::string upperCase_(std::string_view text);

// Equality ignoring the letter case of single-byte letters.
bool sameText_(std::string_view a, std::string_view b);
bool startsWith_(std::string_view text, std::string_view prefix);
// The suffix must start on a character boundary: 表 does not end with "\".
bool endsWith_(std::string_view text, std::string_view suffix);
bool startsWithText_(std::string_view text, std::string_view prefix);  // case ignored

// Position of the first character (at or after `from`, a character boundary)
// whose single byte is one of `set`; the bytes of a double-byte character never
// match. npos when none.
std::size_t findCharOf_(std::string_view text, std::string_view set, std::size_t from = 0);
// Same for the last such character.
std::size_t findLastCharOf_(std::string_view text, std::string_view set);

// Position of `needle` at or after `from` (a character boundary), starting and
// ending on character boundaries; npos when absent or needle empty.
std::size_t findText_(std::string_view text, std::string_view needle, std::size_t from = 0,
                      bool ignoreCase = false);

// Every non-overlapping occurrence, left to right, at character boundaries.
std::string replaceAll_(std::string_view text, std::string_view from, std::string_view to,
                        bool ignoreCase = false);

}  // namespace vrk
