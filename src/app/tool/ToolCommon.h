#pragma once
// Shared pieces of the vrk-tool commands.
#include <string>
#include <string_view>

#include "text/StringList.h"

namespace vrk::tool {

// Exit code for a file that cannot be read or a bad command line.
constexpr int kExitUsage = 2;

// The file's text lines; false (with the message on stderr) when it cannot be read.
bool readTextLines(const std::string& path, StringList& lines);

// A Shift_JIS string as a JSON string literal in UTF-8.
std::string jsonString(std::string_view sjis);

}  // namespace vrk::tool
