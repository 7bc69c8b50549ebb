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
#include <optional>
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

// A tool that runs Qt's font stack (print, run-script): its system libraries
// (fontconfig) keep allocations to the end of the process, so, as for the
// windows, leaks are not looked for in it. Only the tool started in the
// guard's scope is spared.
class NoLeakCheckInTool {
 public:
  NoLeakCheckInTool() {
    const char* old = std::getenv("ASAN_OPTIONS");
    if (old) old_ = old;
    const std::string options = old_ ? *old_ + ":detect_leaks=0" : "detect_leaks=0";
    ::setenv("ASAN_OPTIONS", options.c_str(), 1);
  }
  ~NoLeakCheckInTool() {
    if (old_)
      ::setenv("ASAN_OPTIONS", old_->c_str(), 1);
    else
      ::unsetenv("ASAN_OPTIONS");
  }
  NoLeakCheckInTool(const NoLeakCheckInTool&) = delete;
  NoLeakCheckInTool& operator=(const NoLeakCheckInTool&) = delete;

 private:
  std::optional<std::string> old_;
};

}  // namespace vrk::tooltest
