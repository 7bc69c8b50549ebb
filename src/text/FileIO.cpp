#include "text/FileIO.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <unordered_map>
#include <vector>

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

std::string temporaryPrefix(const std::string& name) { return "." + name + ".tmp"; }

// The writer's pid of a temporary file name "<prefix><pid>-<n>"; 0 when the
// name is not exactly that.
pid_t temporaryOwner(std::string_view name, std::string_view prefix) {
  if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) return 0;
  name.remove_prefix(prefix.size());
  const std::size_t dash = name.find('-');
  if (dash == std::string_view::npos || dash == 0 || dash + 1 == name.size()) return 0;
  for (std::size_t i = 0; i < name.size(); ++i)
    if (i != dash && (name[i] < '0' || name[i] > '9')) return 0;
  long long pid = 0;
  const auto [end, ec] = std::from_chars(name.data(), name.data() + dash, pid);
  if (ec != std::errc() || pid <= 0 || pid > INT_MAX) return 0;
  return static_cast<pid_t>(pid);
}

// A fresh file beside `target`, created with the umask's default mode.
int createTemporary(const fs::path& target, fs::path& temporary) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = target;
    temporary.replace_filename(temporaryPrefix(target.filename().string()) +
                               std::to_string(::getpid()) + "-" + std::to_string(++counter));
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// The temporary files of other processes' writers in a folder, by target:
// regular files named exactly ".<target>.tmp<pid>-<n>".
using Leftovers = std::unordered_map<std::string, std::vector<std::string>>;

std::string folderName(const std::string& folder) { return folder.empty() ? "." : folder; }

Leftovers scanLeftovers(const std::string& folder) {
  Leftovers found;
  DIR* dir = ::opendir(folderName(folder).c_str());
  if (!dir) return found;
  const pid_t self = ::getpid();
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    // The target lies between the first dot and the last ".tmp" (a target
    // may hold ".tmp" itself).
    const std::size_t tmp = name.rfind(".tmp");
    if (name.empty() || name[0] != '.' || tmp == std::string_view::npos || tmp < 2) continue;
    std::string target(name.substr(1, tmp - 1));
    const pid_t pid = temporaryOwner(name, temporaryPrefix(target));
    if (pid == 0 || pid == self) continue;
    struct stat st {};
    if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(st.st_mode)) {
      continue;
    }
    found[std::move(target)].emplace_back(name);
  }
  ::closedir(dir);
  return found;
}

// Removes the leftovers whose writer no longer runs; those of live writers
// stay in the list. The number removed.
int removeDead(const std::string& folder, std::vector<std::string>& names) {
  int removed = 0;
  std::erase_if(names, [&](const std::string& name) {
    const pid_t pid = temporaryOwner(name, name.substr(0, name.rfind(".tmp") + 4));
    if (::kill(pid, 0) == 0 || errno != ESRCH) return false;  // it may still write
    const std::string path = folderName(folder) + "/" + name;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return true;  // gone already
    if (!S_ISREG(st.st_mode) || ::unlink(path.c_str()) != 0) return false;
    ++removed;
    return true;
  });
  return removed;
}

// Scanning a large folder before every write would make saving thousands of
// holders into it quadratic. One scan serves as long as nobody else changes
// the folder: its modification time moves only by this process's writes,
// which note their changes. A leftover made while one of our writes runs
// (or in the same clock tick) may wait for a later scan; nothing is ever
// removed on the index's word alone (removeDead looks again).
class LeftoverIndex {
 public:
  static LeftoverIndex& get() {
    static LeftoverIndex index;
    return index;
  }

  void sweep(const std::string& folder, const std::string& target) {
    const std::lock_guard lock(mutex_);
    struct stat st {};
    if (::stat(folderName(folder).c_str(), &st) != 0) return;
    Folder& known = folders_[{st.st_dev, st.st_ino}];
    if (!known.scanned || !sameTime(known.mtime, st.st_mtim)) {
      known.leftovers = scanLeftovers(folder);
      known.scanned = true;
      known.mtime = st.st_mtim;
    }
    const auto found = known.leftovers.find(target);
    if (found == known.leftovers.end()) return;
    if (removeDead(folder, found->second) > 0) noteLocked(folder);
    if (found->second.empty()) known.leftovers.erase(found);
  }

  // This process changed the folder.
  void changed(const std::string& folder) {
    const std::lock_guard lock(mutex_);
    noteLocked(folder);
  }

 private:
  struct Folder {
    bool scanned = false;
    timespec mtime{};
    Leftovers leftovers;
  };
  struct Key {
    dev_t dev;
    ino_t ino;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& key) const {
      return std::hash<unsigned long long>()(key.ino) ^
             (std::hash<unsigned long long>()(key.dev) << 1);
    }
  };

  static bool sameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
  }
  void noteLocked(const std::string& folder) {
    struct stat st {};
    if (::stat(folderName(folder).c_str(), &st) != 0) return;
    const auto known = folders_.find({st.st_dev, st.st_ino});
    if (known != folders_.end()) known->second.mtime = st.st_mtim;
  }

  std::mutex mutex_;
  std::unordered_map<Key, Folder, KeyHash> folders_;
};

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

int writeFileAtomic_(const std::string& path, std::string_view bytes, std::string* error,
                     Durability durability) {
  AtomicFileWriter writer(path, durability);
  writer.write(bytes);
  return writer.commit(error);
}

int removeStaleTemporaries_(const std::string& folder,
                            const std::unordered_set<std::string>& names) {
  int removed = 0;
  for (auto& [target, leftovers] : scanLeftovers(folder))
    if (names.count(target)) removed += removeDead(folder, leftovers);
  return removed;
}

int syncFileSystem_(const std::string& path, std::string* error) {
  const int fd = ::open(path.empty() ? "." : path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return fail(error, "cannot open", path, errno);
  const int result = ::syncfs(fd);
  const int code = errno;
  ::close(fd);
  return result == 0 ? 0 : fail(error, "cannot sync", path, code);
}

AtomicFileWriter::AtomicFileWriter(const std::string& path, Durability durability)
    : path_(path), target_(path), durability_(durability) {
  if (resolveLinks(target_, &linkError_) != 0) return;
  if (!target_.has_filename()) {
    errno = EISDIR;
    step(false, "no file name in");
    return;
  }
  if (!mayReplace()) return;
  if (durability_ == Durability::Synced)
    LeftoverIndex::get().sweep(target_.parent_path().string(), target_.filename().string());
  fd_ = createTemporary(target_, temporary_);
  step(fd_ >= 0, "cannot create a temporary file for");
}

// An existing target must be a file this user may write. The folder allows
// the rename either way, but replacing a file the user may not change would
// undo its protection.
bool AtomicFileWriter::mayReplace() {
  struct stat st {};
  if (::stat(target_.c_str(), &st) != 0) return true;  // a new file
  if (S_ISDIR(st.st_mode)) {
    errno = EISDIR;
    return step(false, "cannot replace");
  }
  if (::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0)
    return step(false, "will not replace the read-only file");
  if ((st.st_mode & 0222) == 0) {  // root may write anything: the mode still says read-only
    errno = EACCES;
    return step(false, "will not replace the read-only file");
  }
  return true;
}

AtomicFileWriter::~AtomicFileWriter() {
  if (fd_ < 0) return;
  ::close(fd_);
  ::unlink(temporary_.c_str());
  if (durability_ == Durability::Synced) LeftoverIndex::get().changed(temporary_.parent_path());
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
    // What replaces an old file is on disk before the rename, in every mode.
    if (!failedStep_ && (replacing || durability_ == Durability::Synced))
      step(::fsync(fd_) == 0, "cannot sync");
    step(::close(fd_) == 0, "cannot close");
    fd_ = -1;
    if (!failedStep_) step(::rename(temporary_.c_str(), target_.c_str()) == 0, "cannot replace");
    if (failedStep_) ::unlink(temporary_.c_str());
    if (durability_ == Durability::Synced) LeftoverIndex::get().changed(temporary_.parent_path());
  }
  if (failedStep_) return fail(error, failedStep_, path_, code_);
  if (durability_ == Durability::Deferred) return 0;

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
