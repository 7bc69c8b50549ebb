#include "model/TreeBuild.h"

#include <gtest/gtest.h>

#include <string>

namespace vrk {
namespace {

TEST(TreeBuildTest, ParentsFromUIDLinks) {
  struct Case {
    const char* what;
    std::vector<TreeLink> nodes;
    std::vector<int> parents;
  } cases[] = {
      {"third under first", {{"a", ""}, {"b", ""}, {"c", "a"}}, {-1, -1, 0}},
      {"missing parent stays on top", {{"a", ""}, {"b", "zz"}}, {-1, -1}},
      {"child before parent", {{"c", "a"}, {"a", ""}, {"d", "c"}}, {1, -1, 0}},
      {"two-node cycle", {{"a", "b"}, {"b", "a"}}, {1, -1}},
      {"self reference", {{"a", "a"}}, {-1}},
      {"duplicate UIDs: the first wins", {{"a", ""}, {"a", ""}, {"c", "a"}}, {-1, -1, 0}},
      {"three-node cycle keeps two links", {{"a", "c"}, {"b", "a"}, {"c", "b"}}, {2, 0, -1}},
      {"nodes without UID", {{"", ""}, {"", "x"}}, {-1, -1}},
      {"deep chain", {{"1", ""}, {"2", "1"}, {"3", "2"}, {"4", "3"}}, {-1, 0, 1, 2}},
  };
  for (const auto& c : cases) EXPECT_EQ(computeTreeParents_(c.nodes), c.parents) << c.what;
}

TEST(TreeBuildTest, LongReversedChainEndsQuickly) {
  // Each node's parent comes after it: every link is accepted, in one pass.
  const int n = 200000;
  std::vector<std::string> ids(n);
  for (int i = 0; i < n; ++i) ids[i] = std::to_string(i);
  std::vector<TreeLink> nodes;
  for (int i = 0; i < n; ++i) nodes.push_back({ids[i], i + 1 < n ? ids[i + 1] : std::string_view()});
  const auto parents = computeTreeParents_(nodes);
  EXPECT_EQ(parents[0], 1);
  EXPECT_EQ(parents[n - 2], n - 1);
  EXPECT_EQ(parents[n - 1], -1);
}

}  // namespace
}  // namespace vrk
