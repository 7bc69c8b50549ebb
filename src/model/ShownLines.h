#pragma once
// Committing an edited text box line by line. A box shows Shift_JIS lines
// through the bridge; when the user is done, every line left as it was shown
// keeps the bytes it was stored with, so duplicate codes (ED40 and FA5C show
// as the same character) and bytes that are no Shift_JIS survive a visit.
// Only lines the user typed go back through the bridge, and a character
// Shift_JIS cannot hold is refused instead of replaced.
//
// Box texts are UTF-8 with "\n" between lines, as the widget gives them back.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/SjisBridge.h"
#include "text/StringList.h"

namespace vrk {

// The text a box is filled with: each line through the bridge, joined by "\n".
std::string boxText_(const StringList& lines);

// One text box's lines as the box was filled, to commit against.
struct ShownLines {
  StringList stored;               // the node's lines when shown
  std::vector<std::string> shown;  // the same as the box gives them back
  std::string text;                // the box's whole text then

  // boxText is what the box gave back after being filled with lines.
  void fill_(const StringList& lines, std::string_view boxText);

  // The lines of the edited text: the stored bytes of every line the user
  // left as it was shown, the others through the bridge. nullopt when a typed
  // character cannot be stored; *refused then names it (offset into text).
  std::optional<StringList> commit_(std::string_view text, EncodeFailure* refused = nullptr) const;
};

}  // namespace vrk
