#pragma once
#include <string>
#include <vector>

namespace vrk::tool {

// vrk-tool words FILE
int runWords(const std::vector<std::string>& args);
// vrk-tool tree [--html] FILE
int runTree(const std::vector<std::string>& args);

}  // namespace vrk::tool
