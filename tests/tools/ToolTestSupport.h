#pragma once
// Runs the built vrk-tool as a user would.
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace vrk::tooltest {

struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

// args go to the shell as written.
inline ToolRun runTool(const std::string& args) {
  char errPath[] = "/tmp/vrk-tool-err-XXXXXX";
  const int errFd = mkstemp(errPath);
  if (errFd >= 0) close(errFd);
  const std::string command = std::string(VRK_TOOL_PATH) + " " + args + " 2>" + errPath;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string out;
  std::array<char, 4096> buffer;
  while (std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe.get()))
    out.append(buffer.data(), n);
  const int status = pclose(pipe.release());
  std::ifstream in(errPath, std::ios::binary);
  std::string err{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  unlink(errPath);
  return {WEXITSTATUS(status), out, err};
}

}  // namespace vrk::tooltest
