#include "platform/DesktopActions.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/Path.h"
#include "text/CharEX.h"

namespace vrk {
int openDocument_(std::string_view target, DesktopShell& shell, Prompter& prompter) {
  const std::string t = trim_(target);
  const std::string scheme = lowerCase_(std::string_view(t).substr(0, 5));
  const std::string extension = lowerCase_(extractFileExt_(t));
  static constexpr std::string_view kDocuments[] = {".html", ".htm", ".xml",
                                                    ".txt",  ".ini", ".log"};
  if (scheme == "http:" || scheme == "file:" || startsWithText_(t, "https:") ||
      std::find(std::begin(kDocuments), std::end(kDocuments), extension) != std::end(kDocuments)) {
    return shell.openDocument(t, currentDirectory_()) == 0 ? 0 : -1;
  }
  const std::string directory = extractFilePath_(t);
  if (isDirectory_(directory)) {
    return shell.explore(expandFileName_(directory, currentDirectory_())) == 0 ? 0 : -1;
  }
  prompter.ask(BoxKind::Confirmation, t + " not exists", Buttons(Answer::Ok));
  return -1;
}

int runCaptured_(StringList& lines, std::string_view directory, std::string_view commandLine,
                 ProcessRunner& runner) {
  std::string output;
  if (runner.run("/bin/sh", {"-c", std::string(commandLine)}, std::string(directory), &output) <
      0) {
    return -1;
  }
  std::string line;
  for (char c : output) {
    if (c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
    } else if (c != '\r') {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return 0;
}

}  // namespace vrk
