// Writes by name: a failure names its step, the path and the system's error
// text and keeps the old file; read-only targets are refused; leftovers of
// writers killed before their rename go with the next write of the target.
#include "text/FileIO.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>

namespace vrk {
namespace {

namespace fs = std::filesystem;

class AtomicWrite : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vrk-fileio-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string path(const std::string& name) const { return dir + "/" + name; }
  std::string put(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
    return path(name);
  }
  static std::string bytesOf(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::set<std::string> entries() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename());
    return names;
  }

  std::string dir;
};

// A child that has ended: its pid runs no writer any more.
pid_t deadPid() {
  const pid_t pid = fork();
  if (pid == 0) _exit(0);
  waitpid(pid, nullptr, 0);
  return pid;
}

TEST_F(AtomicWrite, EachFailureNamesItsCauseAndKeepsTheOldFile) {
  put("plain", "a file, not a folder");
  fs::create_directory(path("folder.mxa"));
  put("big.mxa", "old big");
  put("ro.mxa", "old read-only");
  fs::permissions(path("ro.mxa"),
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  struct Case {
    const char* what;
    std::string target;
    int code;
    std::string old;  // the target's bytes before, when it is a file
  } cases[] = {
      {"larger than the file size limit", path("big.mxa"), EFBIG, "old big"},
      {"folder is a file", path("plain/x.mxa"), ENOTDIR, ""},
      {"folder is missing", path("missing/x.mxa"), ENOENT, ""},
      {"target is a folder", path("folder.mxa"), EISDIR, ""},
      {"read-only file (mode 0444, even for root)", path("ro.mxa"), EACCES, "old read-only"},
  };
  const std::string bytes(64 * 1024, 'x');
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string error;
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    if (c.code == EFBIG) {
      rlimit limited = saved;
      limited.rlim_cur = 16384;
      ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    }
    const int result = writeFileAtomic_(c.target, bytes, &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(result, -1);
    EXPECT_NE(error.find(c.target), std::string::npos) << error;
    EXPECT_NE(error.find(std::strerror(c.code)), std::string::npos) << error;
    if (!c.old.empty()) {
      EXPECT_EQ(bytesOf(c.target), c.old);
    }
  }
  EXPECT_EQ(entries(), (std::set<std::string>{"big.mxa", "folder.mxa", "plain", "ro.mxa"}))
      << "a temporary file is left behind";
}

// The folder lets anyone rename over the file, but its owner did not let
// this user change it.
TEST_F(AtomicWrite, AnotherUsersFileIsNotReplaced) {
  if (geteuid() != 0) GTEST_SKIP() << "acting as another user needs root";
  const std::string file = put("theirs.mxa", "theirs");
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                            fs::perms::others_read);
  fs::permissions(dir, fs::perms::all);
  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  const pid_t child = fork();
  if (child == 0) {
    close(pipeFds[0]);
    constexpr uid_t kNobody = 65534;
    if (setresgid(kNobody, kNobody, kNobody) != 0 || setresuid(kNobody, kNobody, kNobody) != 0)
      _exit(3);
    std::string error;
    const int result = writeFileAtomic_(file, "mine", &error);
    if (write(pipeFds[1], error.data(), error.size()) < 0) _exit(4);
    _exit(result == -1 ? 0 : 1);
  }
  close(pipeFds[1]);
  std::string error;
  char buffer[512];
  for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) error.append(buffer, n);
  close(pipeFds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 3) GTEST_SKIP() << "cannot become nobody";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the write was not refused";
  EXPECT_NE(error.find(file), std::string::npos) << error;
  EXPECT_NE(error.find(std::strerror(EACCES)), std::string::npos) << error;
  EXPECT_EQ(bytesOf(file), "theirs");
}

TEST_F(AtomicWrite, LeftoversOfWritersThatNoLongerRunGoWithTheNextWrite) {
  const std::string dead = std::to_string(deadPid());
  const std::string self = std::to_string(getpid());
  const std::string folder = ".memo.mxa.tmp" + dead + "-9";  // a folder, not a file
  const std::set<std::string> kept = {
      ".memo.mxa.tmp1-3",                 // its writer (init) runs
      ".memo.mxa.tmp" + self + "-99",     // a writer of this very process
      ".memo.mxa.tmp" + dead + "-7.bak",  // not a temporary name
      ".memo.mxa.tmp" + dead + "-",
      ".memo.mxa.tmp-" + dead,
      "memo.mxa.tmp" + dead + "-7",
      ".other.mxa.tmp" + dead + "-7",  // another target's
      folder,
  };
  for (const std::string& name : kept)
    if (name != folder) put(name, "x");
  fs::create_directory(path(folder));
  put(".memo.mxa.tmp" + dead + "-7", "left by a killed save");
  put(".memo.mxa.tmp" + dead + "-8", "and another");

  ASSERT_EQ(writeFileAtomic_(path("memo.mxa"), "new"), 0);
  std::set<std::string> expected = kept;
  expected.insert("memo.mxa");
  EXPECT_EQ(entries(), expected);
  EXPECT_EQ(bytesOf(path("memo.mxa")), "new");

  // A writer that runs keeps its file; once it has gone, the next write
  // removes it, although nobody else has changed the folder since.
  int block[2];
  ASSERT_EQ(pipe(block), 0);
  const pid_t live = fork();
  if (live == 0) {
    close(block[1]);
    char c;
    _exit(read(block[0], &c, 1) < 0 ? 1 : 0);
  }
  close(block[0]);
  const std::string running = ".memo.mxa.tmp" + std::to_string(live) + "-1";
  std::this_thread::sleep_for(std::chrono::milliseconds(50));  // a later tick of the file clock
  put(running, "still writing");
  ASSERT_EQ(writeFileAtomic_(path("memo.mxa"), "newer"), 0);
  EXPECT_TRUE(fs::exists(path(running)));
  close(block[1]);
  waitpid(live, nullptr, 0);
  ASSERT_EQ(writeFileAtomic_(path("memo.mxa"), "newest"), 0);
  EXPECT_FALSE(fs::exists(path(running)));
}

}  // namespace
}  // namespace vrk
