// vrk-tool eval, run as a user would, on Shift_JIS scripts.
#include <gtest/gtest.h>

#include <string>

#include "tools/ToolTestSupport.h"

namespace {

using vrk::tooltest::runTool;
using vrk::tooltest::ToolRun;

std::string fixture(const char* name) { return std::string(VRK_FIXTURES) + "/script/" + name; }

TEST(ToolScript, PrintsUtf8AndAnswersBoxesWithoutAWindow) {
  const ToolRun run = runTool("eval " + fixture("hello.ppa"));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "表示A\n既定\n1\n");  // the input box's default, IDOK
  EXPECT_EQ(run.err, "");
}

TEST(ToolScript, AnErrorGoesToStderrWithExitCode1) {
  const ToolRun run = runTool("eval " + fixture("error.ppa"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "前\n");
  EXPECT_EQ(run.err, "vrk-tool: ゼロによる除算です[div]\n");
}

TEST(ToolScript, UsageAndMissingFile) {
  EXPECT_EQ(runTool("eval").status, 2);
  const ToolRun missing = runTool("eval " + fixture("no-such.ppa"));
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("no-such.ppa"), std::string::npos);
}

}  // namespace
