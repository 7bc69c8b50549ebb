#pragma once
#include <string>
#include <vector>

namespace vrk::tool {

// vrk-tool run-script MEMOFILE SCRIPT [--save] [--trust]
int runRunScript(const std::vector<std::string>& args);

}  // namespace vrk::tool
