#pragma once
#include <string>
#include <vector>

namespace vrk::tool {

// vrk-tool print FILE --pdf OUT.pdf [--holder NAME] [--node NAME] [--settings vrkprint.ini]
int runPrint(const std::vector<std::string>& args);

}  // namespace vrk::tool
