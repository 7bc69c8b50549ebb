#pragma once
// Runs the built vrk-tool as a user would.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>

namespace vrk::tooltest {

struct ToolRun {
  int status;
  std::string out;
};

// args go to the shell as written; stderr is dropped.
inline ToolRun runTool(const std::string& args) {
  const std::string command = std::string(VRK_TOOL_PATH) + " " + args + " 2>/dev/null";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string out;
  std::array<char, 4096> buffer;
  while (std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe.get()))
    out.append(buffer.data(), n);
  const int status = pclose(pipe.release());
  return {WEXITSTATUS(status), out};
}

}  // namespace vrk::tooltest
