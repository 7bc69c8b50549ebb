#pragma once
// Ordered list of Shift_JIS text lines; the common currency of memo, comment,
// field and result lists.
#include <string>
#include <vector>

namespace vrk {

using StringList = std::vector<std::string>;

}  // namespace vrk
