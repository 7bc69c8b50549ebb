// The operations on tree items, on a holder's tree.
#include "shell/TreeItemOps.h"

#include "gui/ViewTestSupport.h"
#include "model/ModelTestSupport.h"

namespace vrk {
namespace {

using modeltest::FixedServices;
using viewtest::holderOf;
using viewtest::outline;

// a[a1 a2] b c[c1], all parents expanded.
struct SampleTree {
  SampleTree()
      : holder(holderOf({{"a", "ua"},
                         {"a1", "ua1", "ua"},
                         {"a2", "ua2", "ua"},
                         {"b", "ub"},
                         {"c", "uc"},
                         {"c1", "uc1", "uc"}})) {
    holder->buildView_(NodesMode::TreeView, nullptr);
  }

  QTreeWidgetItem* item(std::string_view name) {
    return static_cast<MemoNodeUI*>(holder->findNode_(name))->aUITN;
  }

  FixedServices services;
  std::unique_ptr<MemoHolderUI> holder;
};

class TreeItemOps : public ::testing::Test, public SampleTree {};

TEST_F(TreeItemOps, PlaceAfter) {
  struct Case {
    const char* item;
    const char* anchor;
    const char* outline;
  } cases[] = {
      {"c1", "a1", "a .a1 .c1 .a2 b c"},  // before the anchor's next sibling
      {"b", "a2", "a .a1 .a2 .b c .c1"},  // the anchor is the last child
      {"a1", "b", "a .a2 b a1 c .c1"},    // before the next top-level item
      {"a", "c", "b c .c1 a .a1 .a2"},    // after the last top-level item
      {"a", "a1", "a .a1 .a2 b c .c1"},   // below itself: nothing
  };
  for (const Case& c : cases) {
    SampleTree fresh;
    fresh.item("a")->setExpanded(true);
    placeAfter_(fresh.item(c.item), fresh.item(c.anchor));
    EXPECT_EQ(outline(*fresh.holder), c.outline) << c.item << " after " << c.anchor;
    EXPECT_TRUE(fresh.item("a")->isExpanded()) << c.item;
  }
}

TEST_F(TreeItemOps, ExpandCollapseAndReverse) {
  QTreeWidgetItem* root = holder->aUITV->invisibleRootItem();
  EXPECT_EQ(collapseChildren_(root, false), 2);  // a and c
  EXPECT_EQ(collapseChildren_(root, false), 0);
  EXPECT_FALSE(item("c")->isExpanded());
  EXPECT_EQ(expandChildren_(root, true), 2);
  reverseChildren_(item("a"));
  EXPECT_EQ(outline(*holder), "a .a2 .a1 b c .c1");
  EXPECT_TRUE(item("a")->isExpanded());
}

TEST_F(TreeItemOps, DescendantsAndNeighboursAtOneLevel) {
  NodeList below;
  descendants_(item("a"), below);
  ASSERT_EQ(below.size(), 2u);
  EXPECT_EQ(below[0].first, "a1");
  EXPECT_EQ(below[1].second, holder->findNode_("a2"));
  NodeList none;
  descendants_(item("b"), none);
  EXPECT_TRUE(none.empty());

  EXPECT_EQ(nextAtLevel_(item("a1")), item("a2"));
  EXPECT_EQ(nextAtLevel_(item("a2")), item("c1"));  // a cousin, further down
  EXPECT_EQ(prevAtLevel_(item("b")), item("a"));
  EXPECT_EQ(prevAtLevel_(item("a1")), nullptr);
  EXPECT_EQ(nextAtLevel_(item("c")), nullptr);
}

TEST_F(TreeItemOps, OutlineNumbers) {
  struct Case {
    int base;
    const char* format;
    const char* suffix;
    const char* number;
  } cases[] = {
      {1, "", "", "3/1"},
      {0, "", "", "2/0"},
      {1, "%.2d", "c1", "03/01 c1"},
      {1, "(%d)", "", "(3)/(1)"},
      {1, "%s", "", "*EConvertError*/*EConvertError*"},  // a format from user data
      {1, "%d%d", "x", "*EConvertError*/*EConvertError* x"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(outlineNumber_(item("c1"), c.base, c.format, c.suffix), c.number) << c.format;
}

TEST_F(TreeItemOps, CopySubtreeCopiesNamesAndNodesWithoutTakingTheirItems) {
  QTreeWidget other;
  int lines = 0;
  const TreeProgress progress = [&](const std::string&) { ++lines; };
  EXPECT_EQ(
      copySubtree_(holder->aUITV->invisibleRootItem(), other.invisibleRootItem(), false, progress),
      6);
  ASSERT_EQ(other.topLevelItemCount(), 3);
  QTreeWidgetItem* copyOfA = other.topLevelItem(0);
  ASSERT_EQ(copyOfA->childCount(), 2);
  EXPECT_EQ(nameOfItem_(*copyOfA->child(1)), "a2");
  EXPECT_EQ(static_cast<TNodeTreeItem*>(copyOfA)->node, holder->findNode_("a"));
  EXPECT_EQ(item("a")->treeWidget(), holder->aUITV.data());  // still the node's own item

  item("c")->setSelected(true);
  QTreeWidget selectedOnly;
  EXPECT_EQ(copySubtree_(holder->aUITV->invisibleRootItem(), selectedOnly.invisibleRootItem(), true,
                         progress),
            2);
  EXPECT_EQ(nameOfItem_(*selectedOnly.topLevelItem(0)->child(0)), "c1");
  EXPECT_EQ(copySubtree_(item("a"), item("a1"), false, progress), 0);  // into itself
}

}  // namespace
}  // namespace vrk
