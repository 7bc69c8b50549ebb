#pragma once
#include <string>
#include <vector>

namespace vrk::tool {

// vrk-tool mail MEMOFILE HOLDER NODE [--send HOST:PORT]
int runMail(const std::vector<std::string>& args);

}  // namespace vrk::tool
