// vrk-tool run-script: a script run by the main window offscreen on a sample
// memo file, read back by vrk-tool dump.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "model/ModelTestSupport.h"
#include "tools/ToolTestSupport.h"

namespace vrk {
namespace {

namespace fs = std::filesystem;
using modeltest::readFile;
using modeltest::ScratchDir;
using nlohmann::json;
using tooltest::NoLeakCheckInTool;
using tooltest::runTool;
using tooltest::ToolRun;

std::string fixture(std::string_view name) {
  return std::string(VRK_FIXTURES) + "/script-host/" + std::string(name);
}
std::string q(const std::string& path) { return "'" + path + "'"; }

bool haveRunScript() { return runTool("").err.find("run-script MEMOFILE") != std::string::npos; }

struct Sample {
  ScratchDir dir;
  std::string mxa = dir.file("sample.mxa");
  std::string holder = dir.file("Notes.mxh");
  Sample() {
    fs::copy_file(fixture("sample.mxa"), mxa);
    fs::copy_file(fixture("Notes.mxh"), holder);
    // The program's folder (ini, trusted files) is the scratch folder.
    ::setenv("VRK_PROGRAM_DIR", dir.file("").c_str(), 1);
  }
  ~Sample() { ::unsetenv("VRK_PROGRAM_DIR"); }
};

json nodesOf(const std::string& mxa) {
  const ToolRun run = runTool("dump " + q(mxa));
  const json doc = json::parse(run.out, nullptr, false);
  if (doc.is_discarded() || doc["holders"].empty()) return json();
  return doc["holders"][0]["nodes"];
}

json nodeNamed(const json& nodes, const std::string& name) {
  for (const json& node : nodes)
    if (node["name"] == name) return node;
  return json();
}

TEST(ToolRunScript, SavedNodesAreThereForDump) {
  const NoLeakCheckInTool spared;
  if (!haveRunScript()) GTEST_SKIP() << "needs a vrk-tool built with Qt";
  const Sample s;
  const ToolRun run =
      runTool("run-script " + q(s.mxa) + " " + q(fixture("make-nodes.ppa")) + " --save");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("current: made two\n"), std::string::npos) << run.out;
  // Nobody answers: the input box takes its default, the question is echoed.
  EXPECT_NE(run.out.find("answer: default answer\n"), std::string::npos) << run.out;
  EXPECT_NE(run.err.find("Enter a name"), std::string::npos) << run.err;
  // Not trusted: the autoexec script did not run, and nobody was asked about it.
  EXPECT_EQ(run.out.find("autoexec ran"), std::string::npos) << run.out;

  const json nodes = nodesOf(s.mxa);
  const json one = nodeNamed(nodes, "made one");
  ASSERT_FALSE(one.is_null()) << nodes.dump();
  EXPECT_EQ(one["memo"].back(), "line from the script");
  EXPECT_FALSE(nodeNamed(nodes, "made two").is_null());
  bool touched = false;
  const json first = nodeNamed(nodes, "first");
  for (const json& field : first["fields"]) touched |= field == "Touched=\"yes\"";
  EXPECT_TRUE(touched) << nodes.dump();
}

TEST(ToolRunScript, SavesOnlyWhenAskedAndTrustRunsAutoexec) {
  const NoLeakCheckInTool spared;
  if (!haveRunScript()) GTEST_SKIP() << "needs a vrk-tool built with Qt";
  const Sample s;
  const std::string before = readFile(s.holder);
  const ToolRun run =
      runTool("run-script " + q(s.mxa) + " " + q(fixture("make-nodes.ppa")) + " --trust");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("autoexec ran\n"), std::string::npos) << run.out;
  EXPECT_EQ(readFile(s.holder), before);
  EXPECT_TRUE(nodeNamed(nodesOf(s.mxa), "made one").is_null());

  const ToolRun broken = runTool("run-script " + q(s.mxa) + " " + q(fixture("broken.ppa")));
  EXPECT_EQ(broken.status, 1);
  EXPECT_NE(broken.out.find("before\n"), std::string::npos) << broken.out;
  EXPECT_EQ(runTool("run-script " + q(s.mxa)).status, 2);
  EXPECT_EQ(
      runTool("run-script " + q(s.dir.file("none.mxa")) + " " + q(fixture("broken.ppa"))).status,
      2);
}

}  // namespace
}  // namespace vrk
