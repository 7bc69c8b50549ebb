#include "support/RecordingDesktopShell.h"

namespace vrk {

int RecordingDesktopShell::openDocument(const std::string& target, const std::string& workingDir) {
  calls.push_back("open " + target + " in " + workingDir);
  return result;
}

int RecordingDesktopShell::explore(const std::string& directory) {
  calls.push_back("explore " + directory);
  return result;
}

int RecordingDesktopShell::startDetached(const std::string& program, const StringList& arguments,
                                         const std::string& workingDir) {
  std::string call = "start " + program;
  for (const std::string& argument : arguments) call += " " + argument;
  calls.push_back(call + " in " + workingDir);
  return result;
}

}  // namespace vrk
