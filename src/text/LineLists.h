#pragma once
// What the node editor, the HTML tools and the commands share beyond single
// strings: cutting at word delimiters, counting words, in-place edits of line
// lists and the hexadecimal dump. Nothing here keeps state; list operations
// change the list they are given. (Opening documents and captured commands
// are in platform/DesktopActions.h, directory walks in platform/DirectoryWalk.h.)
#include <string>
#include <string_view>

#include "text/StringList.h"

namespace vrk {

// --- cutting (character-aware; a cut never splits a double-byte character)

// The text without its first n characters; empty when n is not smaller than
// the length in bytes; the text itself for n of 0 or less.
std::string cutHeadChars_(std::string_view text, int n);
// Without the first or the last character; empty for a text of at most one byte.
std::string cutHead1_(std::string_view text);
std::string cutTail1_(std::string_view text);
// Bytes removed from the front (back) until the next character is one of the
// single-byte delimiters, which stays. Without a delimiter the head cut keeps
// the last 3 bytes and the tail cut the first 2 (a text of exactly 3 bytes
// loses one byte in both). Blank texts and texts under 3 bytes stay as they are.
std::string cutHeadTo_(std::string_view text, std::string_view delimiters);
std::string cutTailTo_(std::string_view text, std::string_view delimiters);

// --- counting

// Occurrences of word, left to right without overlapping, on character
// boundaries; 0 for an empty word or text.
int countOf_(std::string_view text, std::string_view word);
// The sum over the lines, letter case ignored.
int countWord_(const StringList& lines, std::string_view word);

// --- line lists, changed in place. A missing list is left alone: counts
// answer -1 (trim, prefix, append, numbering), the others 0.

// Every line trimmed; the number of lines.
int trimLines_(StringList* lines);
// The number of blank lines removed.
int deleteBlankLines_(StringList* lines);
// prefix + line for every line (with skipEmpty, every non-empty line); the
// number of lines.
int prefixEachLine_(StringList* lines, std::string_view prefix, bool skipEmpty);
// line + suffix for every line; the number of lines.
int appendEachLine_(StringList* lines, std::string_view suffix);
// cutHeadChars_ of every line; nothing for n of 0 or less.
void cutHeadEachLine_(StringList* lines, int n);
// Line i (from 0) gets the format applied to start + i put in front; a blank
// format means "%.8d:". The format comes from the user, so it goes through the
// checked formatter: one that it refuses changes nothing and answers -1.
// Otherwise the number of lines.
int numberLines_(StringList* lines, std::string_view format, int start);
// Sorted with letter case ignored (lines equal but for case then by their
// bytes), every line exactly equal to the next one removed; the number removed.
int sortUnique_(StringList* lines);
// "* " before every line exactly equal to the line before it (as that line
// was before marking); the number marked.
int markDuplicates_(StringList* lines);
void reverseLines_(StringList* lines);

// --- matching lines. A keyword matches only from a character boundary to
// one, so "\\" is never found inside ソ; with ignore only single-byte letters
// fold, so ア never matches ヂ.

constexpr int kMatchContains = 3;
constexpr int kMatchHead = 4;
constexpr int kMatchTail = 5;

// Position of needle in text (npos when absent or empty), on character
// boundaries; ignoreCase folds single-byte letters. Finds candidates at
// memory speed and checks the boundary only at a candidate.
std::size_t findKeywordIn_(std::string_view text, std::string_view needle, bool ignoreCase = false);
// Contains (3, an empty keyword never matches), head (4) or tail (5); any
// other mode matches nothing. negate inverts the answer.
bool matchLine_(std::string_view line, int mode, std::string_view keyword, bool ignore,
                bool negate);
// Appends the matching lines (with numbered: the line number from 1 as "%7d"
// + ": " + line) and answers how many; -9 without lines, -8 without out.
int grepLines_(const StringList* lines, std::string_view keyword, StringList* out, bool ignore,
               bool numbered, bool negate, int mode);

// --- dump

// Appends "#size=N", the column header and one line per `width` bytes
// (address, byte sum, bytes in hexadecimal); a width of 0 or less means 16.
// The number of bytes.
int hexDump_(StringList& lines, std::string_view bytes, int width);

}  // namespace vrk
