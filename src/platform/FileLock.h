#pragma once
// The exclusive hold on an open memo file (advisory flock), so that a second
// program instance does not work on the same file. Paths are UTF-8.
#include <string>
#include <string_view>

namespace vrk {

class FileLock {
 public:
  FileLock() = default;
  ~FileLock() { release(); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // 0, or -1 when the file cannot be opened or someone else holds it.
  int acquire_(const std::string& path, std::string* error = nullptr);
  void release();
  bool isLocked() const { return fd_ >= 0; }
  const std::string& path() const { return path_; }

  // Replaces the locked file by the bytes (whole text first, then an atomic
  // rename) and holds the new file. 0; -1 the write failed (the old file is
  // as it was, and still held); -2 written, but the new file could not be held.
  int rewrite_(std::string_view bytes, std::string* error = nullptr);

 private:
  int fd_ = -1;
  std::string path_;
};

}  // namespace vrk
