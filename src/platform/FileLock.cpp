#include "platform/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "text/FileIO.h"

namespace vrk {
namespace {

// An open descriptor holding the lock, or -1.
int lockedDescriptor(const std::string& path, std::string* error) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (error) *error = path + ": " + std::strerror(errno);
    if (fd >= 0) ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

int FileLock::acquire_(const std::string& path, std::string* error) {
  release();
  fd_ = lockedDescriptor(path, error);
  if (fd_ < 0) return -1;
  path_ = path;
  return 0;
}

void FileLock::release() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  path_.clear();
}

int FileLock::rewrite_(std::string_view bytes, std::string* error) {
  if (!isLocked()) {
    if (error) *error = "no file is held";
    return -1;
  }
  if (writeFileAtomic_(path_, bytes, error) != 0) return -1;
  // The rename left the old file behind the descriptor: hold the new one.
  const int fresh = lockedDescriptor(path_, error);
  if (fresh < 0) return -2;
  ::close(fd_);
  fd_ = fresh;
  return 0;
}

}  // namespace vrk
