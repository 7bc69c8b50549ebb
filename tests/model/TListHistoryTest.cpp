#include "model/TListHistory.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "model/MemoNode.h"

namespace vrk {
namespace {

std::vector<std::unique_ptr<MemoNode>> makeNodes(int n) {
  std::vector<std::unique_ptr<MemoNode>> nodes;
  for (int i = 0; i < n; ++i) nodes.push_back(std::make_unique<MemoNode>());
  return nodes;
}

TEST(TListHistoryTest, AddBackAndForward) {
  auto nodes = makeNodes(3);
  TListHistory history;
  EXPECT_EQ(history.back(), nullptr);
  EXPECT_EQ(history.add_(nullptr), -1);
  EXPECT_EQ(history.add_(nodes[0].get()), 0);
  EXPECT_EQ(history.add_(nodes[0].get()), -1);  // same node twice: one entry
  EXPECT_EQ(history.add_(nodes[1].get()), 0);
  EXPECT_EQ(history.add_(nodes[2].get()), 0);
  ASSERT_EQ(history.count(), 3u);

  struct Step {
    bool back;
    MemoNode* answer;
    int index;
  } steps[] = {
      {false, nullptr, 0},          // forward at the newest: nothing
      {true, nodes[1].get(), 1},    // back
      {true, nodes[0].get(), 2},    // back to the oldest
      {true, nullptr, 2},           // past the oldest: nothing, stays there
      {false, nodes[1].get(), 1},   // forward
      {false, nodes[2].get(), 0},   // forward to the newest
  };
  for (const auto& s : steps) {
    EXPECT_EQ(s.back ? history.back() : history.forward(), s.answer);
    EXPECT_EQ(history.aIndex(), s.index);
  }
}

TEST(TListHistoryTest, KeepsAHundredEntries) {
  auto nodes = makeNodes(101);
  TListHistory history;
  for (auto& n : nodes) history.add_(n.get());
  EXPECT_EQ(history.count(), TListHistory::kCapacity);
  EXPECT_EQ(history.at(0), nodes[100].get());
  EXPECT_EQ(history.at(99), nodes[1].get());  // the oldest is gone
  EXPECT_EQ(history.keepNewest(), 99);
  EXPECT_EQ(history.count(), 1u);
}

TEST(TListHistoryTest, ANodeFreedUnderTheHistoryIsSkipped) {
  auto nodes = makeNodes(3);
  TListHistory history;
  for (auto& n : nodes) history.add_(n.get());
  nodes[1].reset();  // as when its holder is reloaded
  EXPECT_EQ(history.back(), nodes[0].get());  // the dead entry is passed over ...
  EXPECT_EQ(history.count(), 2u);             // ... and cleaned up
  EXPECT_EQ(history.aIndex(), 1);
  EXPECT_EQ(history.forward(), nodes[2].get());
  nodes[0].reset();
  nodes[2].reset();
  EXPECT_EQ(history.dropInvalid(), 2);
  EXPECT_EQ(history.forward(), nullptr);
}

}  // namespace
}  // namespace vrk
