// Opening documents through the desktop and running console commands with
// their output captured (a real /bin/sh).
#include "platform/DesktopActions.h"

#include <stdlib.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/Path.h"
#include "platform/PosixProcessRunner.h"
#include "support/RecordingDesktopShell.h"
#include "support/ScratchDir.h"
#include "support/ScriptedPrompter.h"
#include "text/SjisSamples.h"

namespace vrk {
namespace {

using namespace sjis;

TEST(DesktopActionsRunCaptured, OutputBecomesLines) {
  struct Case {
    std::string command;
    StringList lines;
  } cases[] = {
      // stdout and stderr in one pipe, CR dropped
      {"printf 'a\\r\\nb\\r\\n'; echo err >&2", {"kept", "a", "b", "err"}},
      {"printf 'x\\ny'", {"kept", "x", "y"}},
      {"printf '\\n\\n'", {"kept", "", ""}},
      {"true", {"kept"}},
      // Shift_JIS bytes pass unchanged
      {"printf '\\225\\134\\r\\n'", {"kept", kHyo}},
      // a child left running in the background still holds the pipe
      {"(sleep 0.3; echo late) & echo early", {"kept", "early", "late"}},
      // a failure after the start is output too, with the result 0
      {"echo out; exit 3", {"kept", "out"}},
      {"kill -9 $$", {"kept"}},
  };
  PosixProcessRunner runner;
  for (const Case& c : cases) {
    StringList lines{"kept"};
    EXPECT_EQ(runCaptured_(lines, "/", c.command, runner), 0) << c.command;
    EXPECT_EQ(lines, c.lines) << c.command;
  }
}

TEST(DesktopActionsRunCaptured, ManyLinesAndAMissingCommand) {
  PosixProcessRunner runner;
  StringList lines;
  // Far more than a pipe buffer: read while the child writes.
  EXPECT_EQ(runCaptured_(lines, "", "seq 1 30000", runner), 0);
  ASSERT_EQ(lines.size(), 30000u);
  EXPECT_EQ(lines.back(), "30000");

  lines.clear();
  EXPECT_EQ(runCaptured_(lines, "", "vrk-no-such-command-here", runner), 0);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("vrk-no-such-command-here"), std::string::npos);
}

TEST(DesktopActionsRunCaptured, WorkingDirectory) {
  ScratchDir dir;
  ASSERT_FALSE(dir.path().empty());
  PosixProcessRunner runner;
  StringList lines;
  EXPECT_EQ(runCaptured_(lines, dir.path(), "pwd -P", runner), 0);
  EXPECT_EQ(lines, StringList{dir.path()});

  lines = {"kept"};
  EXPECT_EQ(runCaptured_(lines, dir.path() + "/missing", "echo never", runner), -1);
  EXPECT_EQ(lines, StringList{"kept"});
}

TEST(DesktopActions, OpenDocumentByKind) {
  const std::string cwd = currentDirectory_();
  struct Case {
    std::string target;
    std::string call;    // what the shell is asked, or empty
    std::string prompt;  // the box shown, or empty
  } cases[] = {
      {" http://example.org/a ", "open http://example.org/a in " + cwd, ""},
      {"https://example.org/", "open https://example.org/ in " + cwd, ""},
      {"FILE:///tmp/a.bin", "open FILE:///tmp/a.bin in " + cwd, ""},
      {"notes.TXT", "open notes.TXT in " + cwd, ""},
      {"/nowhere/page.htm", "open /nowhere/page.htm in " + cwd, ""},
      {"/tmp/x.pdf", "explore /tmp", ""},
      {"\\tmp\\x.pdf", "explore /tmp", ""},
      {"/nonexistent-vrk-dir/x.pdf", "", "/nonexistent-vrk-dir/x.pdf not exists"},
      {"x.pdf", "", "x.pdf not exists"},
      {"   ", "", " not exists"},
  };
  for (const Case& c : cases) {
    RecordingDesktopShell shell;
    ScriptedPrompter prompter;
    EXPECT_EQ(openDocument_(c.target, shell, prompter), c.call.empty() ? -1 : 0) << c.target;
    EXPECT_EQ(shell.calls, c.call.empty() ? StringList{} : StringList{c.call}) << c.target;
    ASSERT_EQ(prompter.asked.size(), c.prompt.empty() ? 0u : 1u) << c.target;
    if (c.prompt.empty()) continue;
    EXPECT_EQ(prompter.asked[0].box, BoxKind::Confirmation);
    EXPECT_EQ(prompter.asked[0].buttons, Buttons(Answer::Ok));
    EXPECT_EQ(prompter.asked[0].text, c.prompt);
  }

  RecordingDesktopShell failing;
  failing.result = -1;
  ScriptedPrompter prompter;
  EXPECT_EQ(openDocument_("http://x/", failing, prompter), -1);
  EXPECT_EQ(openDocument_("/tmp/x.pdf", failing, prompter), -1);
}

}  // namespace
}  // namespace vrk
