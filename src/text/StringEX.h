#pragma once
// Quoting, entities, splitting, file names and the odometer on Shift_JIS text.
#include <string>
#include <string_view>
#include <utility>

#include "text/StringList.h"

namespace vrk {

// --- quoting and entities
std::string quote_(std::string_view text, char q = '"');
std::string unquote_(std::string_view text, char q = '"');
std::string_view unquoteView_(std::string_view text, char q = '"');  // the same, without a copy
std::string escapeHTML_(std::string_view text);
std::string escapeXML_(std::string_view text);
void appendEscapedXML_(std::string& out, std::string_view text);  // out += escapeXML_(text)
// Half characters the escapers have dropped on this thread so far: a writer
// compares the count before and after to tell whether its text lost any.
std::size_t countOfDroppedHalfChars();
std::string unescapeXML_(std::string_view text);

// --- splitting: (head, rest)
using SplitPair = std::pair<std::string, std::string>;
SplitPair splitWord_(std::string_view text);
SplitPair splitAt_(std::string_view text, std::string_view delimiters);
SplitPair splitQuotedAt_(std::string_view text, std::string_view delimiters);
void splitText_(std::string_view text, std::string_view delimiters, StringList& list);
void splitQuoted_(std::string_view text, std::string_view delimiters, StringList& list);

// --- file names
std::string safeFileName_(std::string_view text);
std::string urlToFileName_(std::string_view address);

// --- digits and the odometer
bool hasDigit_(std::string_view text);
bool allDigits_(std::string_view text);
std::string digitsOf_(std::string_view text);
std::string incDigits_(std::string_view text);
std::string decDigits_(std::string_view text);
std::string incTens_(std::string_view text);
std::string decTens_(std::string_view text);

// --- truth values
std::string boolText_(bool flag);

}  // namespace vrk
