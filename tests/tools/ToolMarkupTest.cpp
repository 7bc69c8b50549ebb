// vrk-tool words and tree, run as a user would, on small files.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "tools/ToolTestSupport.h"

namespace {

using vrk::tooltest::runTool;
using vrk::tooltest::ToolRun;

std::string fixture(const char* name) { return std::string(VRK_FIXTURES) + "/markup/" + name; }

TEST(ToolMarkupTest, WordsOfBrokenLines) {
  const ToolRun run = runTool("words " + fixture("lines.xml"));
  ASSERT_EQ(run.status, 0);
  EXPECT_EQ(nlohmann::json::parse(run.out)["words"],
            nlohmann::json::parse(R"(["a","<BR/>","b","<BR/>"])"));
}

TEST(ToolMarkupTest, XmlTreeDecodesEntitiesOnceAndKeepsQuotedGreaterThan) {
  const ToolRun run = runTool("tree " + fixture("record.xml"));
  ASSERT_EQ(run.status, 0);
  const auto doc = nlohmann::json::parse(run.out);
  EXPECT_EQ(doc["result"], 0);
  EXPECT_TRUE(doc["errors"].empty());
  EXPECT_EQ(doc["root"]["tag"], "");
  EXPECT_FALSE(doc["root"].contains("attrs"));
  const auto& holder = doc["root"]["children"][0];
  EXPECT_EQ(holder["tag"], "Holder");
  EXPECT_EQ(holder["end"], "Holder");
  const auto& record = holder["children"][0];
  EXPECT_EQ(record["attrs"], nlohmann::json::parse(R"(["name=\"\"q\"\""])"));
  const auto& children = record["children"];
  ASSERT_EQ(children.size(), 3u);
  EXPECT_EQ(children[0]["attrs"], nlohmann::json::parse(R"(["k=\"a>b\""])"));
  EXPECT_EQ(children[1], "\xE8\xA1\xA8 &lt; x");  // 表, decoded in one pass
  EXPECT_EQ(children[2]["tag"], "BR");
}

TEST(ToolMarkupTest, HtmlModeUsesTheDictionary) {
  ToolRun run = runTool("tree --html " + fixture("page.html"));
  ASSERT_EQ(run.status, 0);
  auto doc = nlohmann::json::parse(run.out);
  EXPECT_EQ(doc["result"], 0);
  const auto& html = doc["root"]["children"][0];
  EXPECT_EQ(html["tag"], "HTML");
  EXPECT_EQ(html["children"][0]["tag"], "!--");
  EXPECT_EQ(html["children"][1]["tag"], "TD");
  EXPECT_EQ(html["children"][1]["end"], "TD");  // names are upper-cased
  EXPECT_EQ(html["children"][2]["tag"], "BR");

  // The same file in XML mode stops at the mismatched case: read in part.
  run = runTool("tree " + fixture("page.html"));
  EXPECT_EQ(run.status, 1);
  doc = nlohmann::json::parse(run.out);
  EXPECT_EQ(doc["result"], -1);
  EXPECT_EQ(doc["errors"].size(), 2u);
}

TEST(ToolMarkupTest, UnreadableFileAndBadUsageExitWithTwo) {
  EXPECT_EQ(runTool("words /nonexistent/file").status, 2);
  EXPECT_EQ(runTool("tree").status, 2);
  EXPECT_EQ(runTool("frobnicate").status, 2);
}

}  // namespace
