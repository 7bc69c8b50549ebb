#pragma once
// Reading the input of a vrk-tool command: any memo file, package or holder
// (also wrapped in ".z") into the model.
#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "model/MemoBasic.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "platform/Path.h"
#include "platform/SjisBridge.h"
#include "text/StringList.h"

namespace vrk::tool {

// A folder of the temporary directory, removed with its contents at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    // The model's temporary directory: the TempDir setting, $TMPDIR or /tmp/.
    std::string pattern = toOsPath_(MemoBasic().getTempDir()).value_or("/tmp/") + "vrk-tool-XXXXXX";
    if (::mkdtemp(pattern.data()))
      path_ = fromOsPath_(pattern).value_or("");
    else
      why_ = "cannot make a temporary folder " + pattern + ": " + std::strerror(errno);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(*toOsPath_(path_), ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // Stored path of the folder ending in "/"; empty when it could not be made.
  std::string path() const { return path_.empty() ? path_ : path_ + "/"; }
  const std::string& why() const { return why_; }

 private:
  std::string path_;
  std::string why_;
};

// An input file read into the model: a memo file with every holder loaded as
// far as its file allows, or a lone holder listed in `file` as its host.
struct Opened {
  MemoFile file;
  MemoHolder* lone = nullptr;
  std::string lonePath;  // the lone holder's input file
  StringList errors;
  std::string notWhole;  // why the input did not read whole; empty when it did
};

// Reads any of the formats, also wrapped in ".z" (unwrapped into the scratch
// folder rather than beside the input). 0, or the exit code to end with (the
// reason is on stderr).
int openInput(const std::string& arg, const ScratchFolder& scratch, Opened& in);

}  // namespace vrk::tool
