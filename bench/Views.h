#pragma once
// views [--nodes N]: the three node views filled from a generated holder, and
// bare Qt widgets given the same texts in one batch, on the offscreen platform.
#include <string>
#include <vector>

namespace vrk::bench {

int runViewsBench(const std::vector<std::string>& args);

}  // namespace vrk::bench
