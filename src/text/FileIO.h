#pragma once
// Whole-file reads and writes by name. A write never leaves a half-written
// target: the bytes go to a temporary file in the same folder, are synced and
// renamed over the target, whose permissions are kept; a symlink is followed
// so that the file it names is replaced, not the link. A target the user may
// not write (no write permission, or no write bit at all, which root would
// ignore) is refused, as editors do, although the folder would allow the
// rename. Temporary files are named ".<name>.tmp<pid>-<n>"; those of writers
// killed before their rename are removed by the next write of that target.
// Paths are UTF-8. Every message names the step, the path and the system's
// error text.
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_set>

namespace vrk {

// How a write reaches the disk. Synced: the file before its rename, and its
// folder after it. Deferred, for many new files in one go or scratch files: a
// file that replaces another is still synced before the rename, a new one is
// not, and the leftovers of killed writers are not looked for; the caller
// sweeps once (removeStaleTemporaries_) and syncs once (syncFileSystem_).
enum class Durability { Synced, Deferred };

// 0, or -1 with a message in `error`.
int readFileBytes_(const std::string& path, std::string& out, std::string* error = nullptr);
// 0, or -1 with a message in `error`; on failure the old file is untouched.
int writeFileAtomic_(const std::string& path, std::string_view bytes, std::string* error = nullptr,
                     Durability durability = Durability::Synced);

// Removes from folder the temporary files of the named targets whose writer
// process no longer runs; nothing else, and never one of this process. The
// number removed.
int removeStaleTemporaries_(const std::string& folder,
                            const std::unordered_set<std::string>& names);
// Syncs the file system that holds path. 0, or -1 with a message in `error`.
int syncFileSystem_(const std::string& path, std::string* error = nullptr);

// The same write in pieces, for text that is made while it is written: the
// target is replaced only by commit, and a writer destroyed before commit
// leaves it as it was.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(const std::string& path, Durability durability = Durability::Synced);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // 0, or -1 (the failure is kept for commit).
  int write(std::string_view bytes);
  // 0, or -1 with a message in `error` for the first step that failed.
  int commit(std::string* error = nullptr);
  // A step has failed already: commit will fail, writing more is wasted.
  bool failed() const { return !linkError_.empty() || failedStep_; }

 private:
  bool step(bool ok, const char* what);
  bool mayReplace();

  std::string path_;
  std::filesystem::path target_;
  std::filesystem::path temporary_;
  Durability durability_;
  int fd_ = -1;
  const char* failedStep_ = nullptr;
  int code_ = 0;
  std::string linkError_;
};

}  // namespace vrk
