#pragma once
// The desktop shell over QDesktopServices (xdg-open) and detached processes.
#include "platform/WindowPorts.h"

namespace vrk {

class QtDesktopShell final : public DesktopShell {
 public:
  // A web address goes to the browser; a relative path is taken from workingDir.
  int openDocument(const std::string& target, const std::string& workingDir) override;
  int explore(const std::string& directory) override;
  int startDetached(const std::string& program, const StringList& arguments,
                    const std::string& workingDir) override;
};

}  // namespace vrk
