// Console commands with captured output, run by a real /bin/sh.
#include "platform/PosixProcessRunner.h"

#include <errno.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/ScratchDir.h"
#include "text/SjisSamples.h"

namespace vrk {
namespace {

using namespace sjis;

TEST(PosixProcessRunnerTest, ExitCodesAndFailures) {
  ScratchDir dir;
  struct Case {
    std::string program;
    StringList arguments;
    std::string workingDir;
    int result;
    std::string output;
  } cases[] = {
      {"/bin/sh", {"-c", "echo hi; echo err >&2; exit 3"}, "/", 3, "hi\nerr\n"},
      {"sh", {"-c", "exit 0"}, "", 0, ""},  // found on PATH
      {"/bin/sh", {"-c", "kill -TERM $$"}, "/", 128 + SIGTERM, ""},
      // texts go to the system as UTF-8
      {"/bin/sh", {"-c", "printf %s \"$0\"", kHyo}, "/", 0, "\xE8\xA1\xA8"},
      {"/nonexistent-vrk-program", {}, "/", -1, ""},
      {"/bin/sh", {"-c", "true"}, dir.path() + "/missing", -1, ""},
      {"/bin/sh", {"-c", "true", "\x81"}, "/", -1, ""},  // half a character
  };
  PosixProcessRunner runner;
  for (const Case& c : cases) {
    std::string output = "stale";
    EXPECT_EQ(runner.run(c.program, c.arguments, c.workingDir, &output), c.result) << c.program;
    if (c.result >= 0) {
      EXPECT_EQ(output, c.output) << c.arguments.back();
    }
  }
  // Without output the child still runs to its end.
  EXPECT_EQ(runner.run("/bin/sh", {"-c", "echo quiet; exit 5"}, "/", nullptr), 5);
}

TEST(PosixProcessRunnerTest, ChildIsReaped) {
  PosixProcessRunner runner;
  std::string output;
  ASSERT_EQ(runner.run("/bin/sh", {"-c", "echo $$"}, "/", &output), 0);
  const pid_t pid = static_cast<pid_t>(std::stol(output));
  // A zombie would still answer the signal test.
  EXPECT_EQ(::kill(pid, 0), -1);
  EXPECT_EQ(errno, ESRCH);
}

TEST(PosixProcessRunnerTest, ChildGetsNoStandardInput) {
  // Our own standard input holds text the child must not see.
  int feed[2];
  ASSERT_EQ(::pipe(feed), 0);
  ASSERT_EQ(::write(feed[1], "leak\n", 5), 5);
  ::close(feed[1]);
  const int saved = ::dup(0);
  ASSERT_GE(saved, 0);
  ::dup2(feed[0], 0);
  ::close(feed[0]);

  PosixProcessRunner runner;
  std::string output;
  const int result = runner.run("/bin/sh", {"-c", "cat; echo done"}, "/", &output);
  ::dup2(saved, 0);
  ::close(saved);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(output, "done\n");
}

}  // namespace
}  // namespace vrk
