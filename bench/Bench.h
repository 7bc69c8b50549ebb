#pragma once
// Shared pieces of the vrk-bench subcommands.
#include <string>
#include <vector>

namespace vrk::bench {

// Each subcommand takes the arguments after its name and answers the exit code.
int runLoadSave(const std::vector<std::string>& args);
// Internal: loads one holder file in a fresh process and prints its peak
// resident memory, so that the figure holds nothing of the caller's.
int runLoadRss(const std::vector<std::string>& args);
// A loop-heavy script in our interpreter against the same loop in Lua 5.4.
int runScript(const std::vector<std::string>& args);
// Scan and grep of a generated memo file against GNU grep -F -c.
int runScan(const std::vector<std::string>& args);

}  // namespace vrk::bench
