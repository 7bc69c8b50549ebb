#pragma once
// What a file dropped on the node editor's boxes does to their lines. The
// editor calls these from its own drop handlers; the window opens every
// other drop (TFormMainBaseVRK::dropFiles_).
#include <cstddef>
#include <string>
#include <string_view>

#include "text/StringList.h"

namespace vrk {

// Larger texts are not put into the comment box.
constexpr std::size_t kMaxDroppedText = 3145728;

// The fields box: the Link field set to the file's name in double quotes,
// the existing Link line changed (so a second drop of the same file leaves
// one line), else "Link=" and the quoted name appended.
void dropLinkIntoFields_(StringList& fieldLines, std::string_view path);

// The comment box: the file's text lines appended. 0; -1 with the message for
// the message panel ("Too Large 3MB Over " and the name for a text over
// kMaxDroppedText bytes, or why it could not be read), nothing appended.
int dropFileIntoComment_(StringList& commentLines, std::string_view path, std::string* message);

}  // namespace vrk
