#pragma once
// Whole-file reads and writes by name. A write never leaves a half-written
// target: the bytes go to a temporary file in the same folder, are synced and
// renamed over the target, whose permissions are kept; a symlink is followed
// so that the file it names is replaced, not the link. Paths are UTF-8.
#include <filesystem>
#include <string>
#include <string_view>

namespace vrk {

// 0, or -1 with a message in `error`.
int readFileBytes_(const std::string& path, std::string& out, std::string* error = nullptr);
// 0, or -1 with a message in `error`; on failure the old file is untouched.
int writeFileAtomic_(const std::string& path, std::string_view bytes, std::string* error = nullptr);

// The same write in pieces, for text that is made while it is written: the
// target is replaced only by commit, and a writer destroyed before commit
// leaves it as it was.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(const std::string& path);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // 0, or -1 (the failure is kept for commit).
  int write(std::string_view bytes);
  // 0, or -1 with a message in `error` for the first step that failed.
  int commit(std::string* error = nullptr);

 private:
  bool step(bool ok, const char* what);

  std::string path_;
  std::filesystem::path target_;
  std::filesystem::path temporary_;
  int fd_ = -1;
  const char* failedStep_ = nullptr;
  int code_ = 0;
  std::string linkError_;
};

}  // namespace vrk
