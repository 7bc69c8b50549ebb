#include "text/UnitFileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace vrk {
namespace {

namespace fs = std::filesystem;

int fail(std::string* error, const std::string& what, const std::string& path, int code) {
  if (error) *error = what + " " + path + ": " + std::strerror(code);
  return -1;
}

// The file a chain of symlinks ends at; a dangling link names the file to create.
int resolveLinks(fs::path& path, std::string* error) {
  for (int hop = 0; hop < 40; ++hop) {
    std::error_code ec;
    if (!fs::is_symlink(path, ec)) return 0;
    const fs::path target = fs::read_symlink(path, ec);
    if (ec) return fail(error, "cannot read link", path, ec.value());
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return fail(error, "cannot follow link", path, ELOOP);
}

// A fresh file beside `target`, created with the umask's default mode.
int createTemporary(const fs::path& target, fs::path& temporary) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = target;
    temporary.replace_filename("." + target.filename().string() + ".tmp" +
                               std::to_string(::getpid()) + "-" + std::to_string(++counter));
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

int readFileBytes_(const std::string& path, std::string& out, std::string* error) {
  out.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return fail(error, "cannot open", path, errno);
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int code = errno;
      ::close(fd);
      out.clear();
      return fail(error, "cannot read", path, code);
    }
    if (n == 0) break;
    out.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return 0;
}

int writeFileAtomic_(const std::string& path, std::string_view bytes, std::string* error) {
  AtomicFileWriter writer(path);
  writer.write(bytes);
  return writer.commit(error);
}

AtomicFileWriter::AtomicFileWriter(const std::string& path) : path_(path), target_(path) {
  if (resolveLinks(target_, &linkError_) != 0) return;
  if (!target_.has_filename()) {
    errno = EISDIR;
    step(false, "no file name in");
    return;
  }
  fd_ = createTemporary(target_, temporary_);
  step(fd_ >= 0, "cannot create a temporary file for");
}

AtomicFileWriter::~AtomicFileWriter() {
  if (fd_ < 0) return;
  ::close(fd_);
  ::unlink(temporary_.c_str());
}

bool AtomicFileWriter::step(bool ok, const char* what) {
  if (!ok && !failedStep_) {
    failedStep_ = what;
    code_ = errno;
  }
  return ok;
}

int AtomicFileWriter::write(std::string_view bytes) {
  if (!linkError_.empty() || failedStep_) return -1;
  return step(writeAll(fd_, bytes), "cannot write") ? 0 : -1;
}

int AtomicFileWriter::commit(std::string* error) {
  if (!linkError_.empty()) {
    if (error) *error = linkError_;
    return -1;
  }
  if (fd_ >= 0) {
    struct stat old {};
    const bool replacing = ::stat(target_.c_str(), &old) == 0;
    if (replacing) step(::fchmod(fd_, old.st_mode & 07777) == 0, "cannot keep the mode of");
    if (!failedStep_) step(::fsync(fd_) == 0, "cannot sync");
    step(::close(fd_) == 0, "cannot close");
    fd_ = -1;
    if (!failedStep_) step(::rename(temporary_.c_str(), target_.c_str()) == 0, "cannot replace");
    if (failedStep_) ::unlink(temporary_.c_str());
  }
  if (failedStep_) return fail(error, failedStep_, path_, code_);

  // The rename reaches the disk only with its folder.
  const fs::path folder = target_.parent_path().empty() ? fs::path(".") : target_.parent_path();
  const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd >= 0) {
    ::fsync(folderFd);
    ::close(folderFd);
  }
  return 0;
}

}  // namespace vrk
