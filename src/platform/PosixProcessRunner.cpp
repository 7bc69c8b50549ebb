#include "platform/PosixProcessRunner.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <vector>

#include "platform/Path.h"
#include "platform/SjisBridge.h"

extern char** environ;

namespace vrk {
namespace {

// Closes a descriptor once, on every path.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { close(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  void close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

class FileActions {
 public:
  FileActions() { ok_ = ::posix_spawn_file_actions_init(&actions_) == 0; }
  ~FileActions() {
    if (ok_) ::posix_spawn_file_actions_destroy(&actions_);
  }
  FileActions(const FileActions&) = delete;
  FileActions& operator=(const FileActions&) = delete;
  bool ok() const { return ok_; }
  posix_spawn_file_actions_t* get() { return &actions_; }
  void check(int result) { ok_ = ok_ && result == 0; }

 private:
  posix_spawn_file_actions_t actions_;
  bool ok_ = false;
};

// A child should not inherit a blocked or ignored SIGPIPE from us.
class SpawnAttributes {
 public:
  SpawnAttributes() {
    ok_ = ::posix_spawnattr_init(&attributes_) == 0;
    if (!ok_) return;
    sigset_t none;
    sigset_t pipe;
    sigemptyset(&none);
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    ok_ = ::posix_spawnattr_setsigmask(&attributes_, &none) == 0 &&
          ::posix_spawnattr_setsigdefault(&attributes_, &pipe) == 0 &&
          ::posix_spawnattr_setflags(&attributes_,
                                     POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) == 0;
  }
  ~SpawnAttributes() { ::posix_spawnattr_destroy(&attributes_); }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
  bool ok() const { return ok_; }
  const posix_spawnattr_t* get() const { return &attributes_; }

 private:
  posix_spawnattr_t attributes_;
  bool ok_ = false;
};

// Until the last writer has closed the pipe; a failed read ends it too.
void readAll(int fd, std::string& output) {
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    output.append(buffer, static_cast<std::size_t>(n));
  }
}

int waitFor(pid_t pid) {
  int status = 0;
  for (;;) {
    if (::waitpid(pid, &status, 0) == pid) break;
    // With SIGCHLD ignored the system reaps the child itself and its code is lost.
    if (errno != EINTR) return 0;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return 0;
}

}  // namespace

int PosixProcessRunner::run(const std::string& program, const StringList& arguments,
                            const std::string& workingDir, std::string* output) {
  const std::optional<std::string> path = toOsPath_(program);
  const std::optional<std::string> dir = toOsPath_(workingDir);
  if (!path || path->empty() || !dir) return -1;
  // Arguments are texts, not paths: converted, never normalized.
  std::vector<std::string> texts{*path};
  for (const std::string& argument : arguments) {
    const std::optional<std::string> text = sjisToUtf8Strict(argument);
    if (!text) return -1;
    texts.push_back(*text);
  }
  std::vector<char*> argv;
  for (std::string& text : texts) argv.push_back(text.data());
  argv.push_back(nullptr);

  // Both ends close on exec; the child gets the writing end as its 1 and 2,
  // which dup2 leaves open.
  int ends[2] = {-1, -1};
  if (output && ::pipe2(ends, O_CLOEXEC) != 0) return -1;
  Descriptor reading(ends[0]);
  Descriptor writing(ends[1]);

  FileActions actions;
  if (!dir->empty())
    actions.check(::posix_spawn_file_actions_addchdir_np(actions.get(), dir->c_str()));
  actions.check(::posix_spawn_file_actions_addopen(actions.get(), 0, "/dev/null", O_RDONLY, 0));
  if (output) {
    actions.check(::posix_spawn_file_actions_adddup2(actions.get(), writing.get(), 1));
    actions.check(::posix_spawn_file_actions_adddup2(actions.get(), writing.get(), 2));
  } else {
    actions.check(::posix_spawn_file_actions_addopen(actions.get(), 1, "/dev/null", O_WRONLY, 0));
    actions.check(::posix_spawn_file_actions_adddup2(actions.get(), 1, 2));
  }
  SpawnAttributes attributes;
  if (!actions.ok() || !attributes.ok()) return -1;

  // glibc reports a failed chdir or exec of the child as the spawn's error.
  pid_t pid = 0;
  if (::posix_spawnp(&pid, path->c_str(), actions.get(), attributes.get(), argv.data(), environ) !=
      0) {
    return -1;
  }
  writing.close();  // else our own copy would keep the pipe open forever
  if (output) {
    output->clear();
    readAll(reading.get(), *output);
  }
  return waitFor(pid);
}

}  // namespace vrk
