#pragma once
// The one-click edits of the rename dialog, on Shift_JIS name text: marks put
// in as the first, second or third word, words cut, running numbers counted,
// the date word read into a calendar date and written back, and path-like
// names trimmed at their delimiters. The dialog is a thin layer over these.
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/Clock.h"
#include "text/StringList.h"

namespace vrk {

// Moves text to the front of list: an equal entry (letter case ignored when
// asked) is removed first, and entries past limit are dropped (0: no limit).
void pushFrontUnique_(StringList& list, std::string_view text, bool ignoreCase,
                      std::size_t limit = 0);

// --- the name box's words: the first word, the second, the third, each
// split off the trimmed rest of the one before
std::string putMark1_(std::string_view text, std::string_view mark);  // untrimmed text
std::string putMark2_(std::string_view text, std::string_view mark);
std::string putMark3_(std::string_view text, std::string_view mark);
std::string cutWord1_(std::string_view text);
std::string cutWord2_(std::string_view text);
std::string cutWord3_(std::string_view text);
// The first word counted when it holds a digit; the second only when it is
// all digits. Otherwise the trimmed text.
std::string countWord1_(std::string_view text, bool up);
std::string countWord2_(std::string_view text, bool up);

// --- the date word
// The calendar's date text for a name: from the digits of its first word,
// filled up from today ("YYYYMMDD") by their count.
std::string dateTextOfName_(std::string_view name, const LocalTime& today);
// That text read as a time stamp; an impossible date gives the clock's today.
LocalTime dateOfName_(std::string_view name, const Clock& clock);
// The date text replaces the first word holding a digit of the first two, or
// else the first word.
std::string putDateWord_(std::string_view text, std::string_view date);
// Years added to the date, the day cut to the target month's last day.
LocalTime addYears_(const LocalTime& date, int years);

// --- path-like names ("\", "/" and ":" end a directory part)
std::string extractNamePart_(std::string_view text);  // after the last delimiter
std::string removeNameExt_(std::string_view text);    // without its extension
// Cut Head and Cut Tail: to the next blank, "\", "/", ":", "." or tab.
std::string cutNameHead_(std::string_view text);
std::string cutNameTail_(std::string_view text);
std::string cutHeadChar_(std::string_view text);  // one character off the front
std::string cutTailChar_(std::string_view text);  // one character off the end
// The digit before the last of the file name's base counted (steps of ten).
std::string countTens_(std::string_view text, bool up);

}  // namespace vrk
