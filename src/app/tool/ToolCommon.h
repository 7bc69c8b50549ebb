#pragma once
// Shared pieces of the vrk-tool commands.
#include <string>
#include <string_view>

#include "text/StringList.h"

namespace vrk::tool {

// Exit codes of every command: 0 everything was read and written whole;
// kExitIncomplete the command ran but something could not be read or written
// (each reason on stderr and in the output's "errors"); kExitUsage a bad
// command line or an input that cannot be opened at all.
constexpr int kExitIncomplete = 1;
constexpr int kExitUsage = 2;

// Every reason once on stderr; the exit code they make.
int exitWith(const StringList& errors);

// The file's text lines; false (with the message on stderr) when it cannot be read.
bool readTextLines(const std::string& path, StringList& lines);

// A Shift_JIS string as a JSON string literal in UTF-8.
std::string jsonString(std::string_view sjis);

}  // namespace vrk::tool
