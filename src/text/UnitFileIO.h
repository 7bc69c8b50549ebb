#pragma once
// Whole-file reads and writes by name. A write never leaves a half-written
// target: the bytes go to a temporary file in the same folder, are synced and
// renamed over the target, whose permissions are kept; a symlink is followed
// so that the file it names is replaced, not the link. Paths are UTF-8.
#include <string>
#include <string_view>

namespace vrk {

// 0, or -1 with a message in `error`.
int readFileBytes_(const std::string& path, std::string& out, std::string* error = nullptr);
// 0, or -1 with a message in `error`; on failure the old file is untouched.
int writeFileAtomic_(const std::string& path, std::string_view bytes, std::string* error = nullptr);

}  // namespace vrk
