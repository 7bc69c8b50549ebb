#pragma once
// Shift_JIS against the two other Japanese encodings the program meets: JIS
// (the 7-bit ISO-2022-JP of mail) and EUC-JP. Plain arithmetic on the row and
// cell of JIS X 0208; only half-width katakana need a table. Each text is
// converted on its own and starts in one-byte mode, so list versions convert
// line by line.
//
// Every converter reads no further than the end of its text, and bytes that
// make no character of the target (a lead byte without a trail, a pair outside
// JIS X 0208, an escape cut off at the end) become the geta mark "〓", so the
// JIS output is always 7-bit and a bad byte never swallows a line break.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "text/StringList.h"

namespace vrk {

using BytePair = std::array<unsigned char, 2>;

// The escape that ends two-byte mode: "(J" (JIS X 0201 Roman) as stored texts
// have always had it, or "(B" (ASCII), which mail readers expect (after "(J"
// some show "\" as a yen sign and "~" as an overline).
enum class OneByteSet { Roman, Ascii };

// A JIS X 0208 pair (each byte 0x21-0x7E) as Shift_JIS, and back. Plain
// 8-bit arithmetic: the caller checks the ranges.
BytePair jisPairToSjis_(unsigned char c1, unsigned char c2);
BytePair sjisPairToJis_(unsigned char s1, unsigned char s2);

// The half-width katakana at `position` (0xA1-0xDF) as a full-width JIS pair;
// a following sound mark that makes a voiced kana is merged. `position` moves
// past the bytes taken (one or two).
BytePair halfKanaToJis_(std::string_view text, std::size_t& position);

std::string sjisToJis_(std::string_view text, OneByteSet back = OneByteSet::Roman);
// The JIS of `text` cut between characters into pieces of at most `maxBytes`
// (at least one character each), every piece ending in one-byte mode: for
// mail's line and encoded-word limits. An empty text gives one empty piece.
StringList sjisToJisPieces_(std::string_view text, std::size_t maxBytes, OneByteSet back);
// Reads "$@"/"$B" two-byte, "(B"/"(J" one-byte and "(I" half-width katakana.
std::string jisToSjis_(std::string_view text);
std::string eucToSjis_(std::string_view text);

// Each line converted and appended to `out`; answers the number of lines.
int sjisToJisList_(const StringList& lines, StringList& out, OneByteSet back = OneByteSet::Roman);
int jisToSjisList_(const StringList& lines, StringList& out);
int eucToSjisList_(const StringList& lines, StringList& out);

}  // namespace vrk
