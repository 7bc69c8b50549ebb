#pragma once
// Child processes over posix_spawn, a pipe and waitpid.
#include "platform/WindowPorts.h"

namespace vrk {

// The child gets /dev/null as standard input. With `output`, its standard
// output and error share one pipe, read until every process holding the
// writing end (also children it left running) has closed it; without, both go
// to /dev/null. The child is always waited for. The exit code; 128 + the
// signal number when a signal ended it (as a shell reports it); -1 when it
// could not be started: the program is not found, the working directory does
// not exist, or a name cannot be handed to the system.
class PosixProcessRunner final : public ProcessRunner {
 public:
  int run(const std::string& program, const StringList& arguments, const std::string& workingDir,
          std::string* output) override;
};

}  // namespace vrk
