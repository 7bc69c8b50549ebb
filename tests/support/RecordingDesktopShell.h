#pragma once
// A desktop shell for tests: records each call instead of starting anything.
#include <string>

#include "platform/WindowPorts.h"
#include "text/StringList.h"

namespace vrk {

class RecordingDesktopShell final : public DesktopShell {
 public:
  int openDocument(const std::string& target, const std::string& workingDir) override;
  int explore(const std::string& directory) override;
  int startDetached(const std::string& program, const StringList& arguments,
                    const std::string& workingDir) override;

  // "open <target> in <dir>", "explore <dir>", "start <program> <args...> in <dir>"
  StringList calls;
  int result = 0;  // what every call answers
};

}  // namespace vrk
