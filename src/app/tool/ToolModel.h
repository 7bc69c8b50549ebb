#pragma once
#include <string>
#include <vector>

namespace vrk::tool {

// vrk-tool dump FILE (.mxa .mxv .maz .mxh .mhz, also any of them + ".z")
int runDump(const std::vector<std::string>& args);
// vrk-tool convert IN OUT [--time YYYYMMDDhhnnsszzz] [--seed N]
int runConvert(const std::vector<std::string>& args);
// vrk-tool unpack PACKAGE.maz DIR
int runUnpack(const std::vector<std::string>& args);

}  // namespace vrk::tool
