#pragma once
// vrk-tool eval: runs a script without a window.
#include <string>
#include <vector>

namespace vrk::tool {

// eval SCRIPT: a Shift_JIS script with the built-ins and Print(S), which writes
// S and a line end to stdout as UTF-8. Input boxes answer their default,
// message boxes OK, Pause goes on at once; Exec runs programs, Shell opens
// nothing. An error goes to stderr with exit code 1.
int runEval(const std::vector<std::string>& args);

}  // namespace vrk::tool
