#pragma once
#include <string>
#include <vector>

namespace vrk::tool {

// vrk-tool grep MEMOFILE KEYWORD [--ignore-case] [--holder NAME]: one line per
// hit, as the all-holders grep window lists it; 0 with hits, 1 without, 2 on
// an error (a holder that could not be read: its hits before the error count).
int runGrep(const std::vector<std::string>& args);

}  // namespace vrk::tool
