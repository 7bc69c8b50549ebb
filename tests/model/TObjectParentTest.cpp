// Named objects, parent lists and the weak handle.
#include <gtest/gtest.h>

#include "model/AgentAPLAbs.h"
#include "model/LiveRegistry.h"
#include "model/MemoHolder.h"
#include "model/ModelTestSupport.h"
#include "model/TObjectParentEX.h"

namespace vrk {
namespace {

using modeltest::FixedServices;

// A parent list holding plain objects under the given names.
struct Family {
  explicit Family(std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) {
      auto child = std::make_unique<TObjectNamed>(&list);
      list.addChildSame_(std::move(child), name);
    }
  }
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const ChildEntry& entry : list.aChildren) out.push_back(entry.name);
    return out;
  }
  TObjectNamed* at(std::size_t i) const { return list.aChildren.objectAt(i); }
  TObjectParentEX list;
};

TEST(TObjectParentUniqueChildName, OdometerAndNumberedForms) {
  struct Case {
    std::initializer_list<std::string_view> existing;
    std::string_view name;
    std::string_view expected;
  };
  const Case cases[] = {
      {{"x"}, "memo1", "memo1"},
      {{"memo1"}, "memo1", "memo2"},
      {{"memo1", "memo2"}, "MEMO1", "MEMO3"},
      {{"a", "b", "c", "Idea"}, "Idea", "Idea_03"},
      {{"a", "b", "c", "Idea", "Idea_03"}, "idea", "idea_04"},
      {{"a9", "a0"}, "a9", "a1"},
      {{"x19y"}, "x19y", "x20y"},
  };
  for (const Case& c : cases) {
    Family family(c.existing);
    EXPECT_EQ(family.list.uniqueChildName_(c.name), c.expected) << c.name;
  }
}

TEST(TObjectParentUniqueChildName, EndsWhenTheOdometerCyclesThroughTakenNames) {
  // a0..a9 are all taken: the odometer on "a9" only ever visits them.
  Family family({"a0", "a1", "a2", "a3", "a4", "a5", "a6", "a7", "a8", "a9"});
  const std::string name = family.list.uniqueChildName_("a9");
  EXPECT_EQ(name, "a9_100");
  family.list.addChildSame_(std::make_unique<TObjectNamed>(), name);
  EXPECT_EQ(family.list.uniqueChildName_("a9"), "a9_101");
}

TEST(TObjectParent, RenameKeepsNamesUnique) {
  FixedServices services;
  Family family({"abc", "other"});
  TObjectNamed* abc = family.at(0);
  EXPECT_EQ(abc->putName_("ABC"), "");  // own name in other letter case: unchanged
  EXPECT_EQ(abc->getName(), "abc");
  EXPECT_EQ(abc->putName_("Other"), "Other_01");
  EXPECT_EQ(abc->putName_(""), "");
  EXPECT_EQ(family.names(), (std::vector<std::string>{"Other_01", "other"}));
  EXPECT_EQ(family.list.findChild_("OTHER_01"), abc);
  EXPECT_EQ(family.list.findChild_("abc"), nullptr);
  EXPECT_EQ(family.list.findChildTrim_("  other_01 "), abc);
  // An object that is not listed has no name; one without owner is "noname".
  TObjectNamed stray(&family.list);
  EXPECT_EQ(stray.getName(), "");
  EXPECT_EQ(TObjectNamed().getName(), "noname");
  EXPECT_TRUE(services.messages.messages.empty());
}

TEST(TObjectParent, DuplicateNamesFindTheFirstAndSurviveRemoval) {
  Family family({"same", "x", "SAME"});
  EXPECT_EQ(family.list.findChild_("same"), family.at(0));
  std::unique_ptr<TObjectNamed> first = family.list.removeChild_(family.at(0));
  ASSERT_TRUE(first);
  EXPECT_EQ(family.list.findChild_("same"), family.at(1));
  EXPECT_EQ(family.list.uniqueChildName_("same"), "same_01");
  EXPECT_EQ(first->getName(), "");  // removed, not freed
  EXPECT_EQ(family.list.removeChild_(first.get()), nullptr);
}

TEST(TObjectParent, MovesUpAndDownWithinBounds) {
  Family family({"a", "b", "c"});
  TObjectNamed* a = family.at(0);
  TObjectNamed* c = family.at(2);
  EXPECT_EQ(a->moveUp(), 0);
  EXPECT_EQ(c->moveDown(), 2);
  EXPECT_EQ(a->moveDown(), 1);
  EXPECT_EQ(c->moveUp(), 1);
  EXPECT_EQ(family.names(), (std::vector<std::string>{"b", "c", "a"}));
  EXPECT_EQ(a->getName(), "a");
  TObjectNamed orphan;
  EXPECT_EQ(orphan.moveUp(), -1);
  TObjectNamed unlisted(&family.list);
  EXPECT_EQ(unlisted.moveDown(), -1);
}

TEST(TObjectParent, SortsOnRenameAndAddOnlyWhenAsked) {
  Family family({"b", "A", "c"});
  family.list.sortChildren();
  EXPECT_EQ(family.names(), (std::vector<std::string>{"b", "A", "c"}));
  family.list.flagSort = true;
  family.list.flagAscending = false;
  family.list.sortChildren();
  EXPECT_EQ(family.names(), (std::vector<std::string>{"c", "b", "A"}));
  family.list.addChild_(std::make_unique<TObjectNamed>(&family.list), "B");
  EXPECT_EQ(family.names(), (std::vector<std::string>{"c", "B_01", "b", "A"}));
  family.list.insertChild_(0, std::make_unique<TObjectNamed>(&family.list), "a");
  EXPECT_EQ(family.list.aChildren.nameAt(0), "a_03");  // insert does not sort
  family.at(0)->putName_("z");
  EXPECT_EQ(family.names(), (std::vector<std::string>{"z", "c", "B_01", "b", "A"}));
  family.list.clear();
  EXPECT_FALSE(family.list.flagSort);
  EXPECT_TRUE(family.list.aChildren.empty());
}

TEST(TObjectParent, AssignCopiesChildrenDeeplyUnderTheCopy) {
  Family source({"one", "two"});
  source.list.flagSort = true;
  auto copy = source.list.deepCopy();
  auto* list = dynamic_cast<TObjectParentEX*>(copy.get());
  ASSERT_TRUE(list);
  EXPECT_TRUE(list->flagSort);
  ASSERT_EQ(list->aChildren.size(), 2u);
  EXPECT_NE(list->aChildren.objectAt(0), source.at(0));
  EXPECT_EQ(list->aChildren.objectAt(1)->aOwner, list);
  EXPECT_EQ(list->aChildren.objectAt(1)->getName(), "two");
}

TEST(TObjectNamed, BaseOperationsShowTheirMessages) {
  FixedServices services;
  TObjectNamed plain;
  TObjectNamed child(&plain);
  EXPECT_EQ(child.getName(), "");
  EXPECT_EQ(child.putName_("x"), "");
  EXPECT_TRUE(TObjectNamed::checkNIL(nullptr));
  EXPECT_FALSE(TObjectNamed::checkNIL(&plain));
  auto copy = plain.deepCopy();
  EXPECT_EQ(copy->aOwner, plain.aOwner);
  AgentAPLAbs agent;
  EXPECT_FALSE(agent.getFlagBreak());
  EXPECT_EQ(agent.sendMessage_("hi"), -1);
  EXPECT_EQ(agent.query_("getUIInternet"), "");
  EXPECT_EQ(services.messages.messages,
            (std::vector<std::string>{
                "Should not execute. self.classname=TObjectNamed in TObjectNamed.getNameChild_ ",
                "Should not execute. TObjectNamed.putNameChild_as_ ", "TObjectNamed.checkNIL",
                utf8LiteralToSjis("このメソッドは実行できない。in TObjectNamed.deepCopy "),
                "Still not implemented. AgentAPLAbs.getFlagBreak ",
                "Still not implemented. AgentAPLAbs.sendMessage_ ",
                "Still not implemented. AgentAPLAbs.query_ "}));
}

TEST(WeakRef, AnswersNullForAFreedObject) {
  MemoHolder holder;
  holder.addNode_(holder.createNode(), "n");
  MemoNode* node = holder.firstNode();
  WeakRef<MemoNode> ref(node);
  WeakRef<MemoNode> none;
  EXPECT_EQ(ref.get(), node);
  EXPECT_FALSE(none);
  const std::size_t live = LiveRegistry::instance().countOfLive();
  holder.aNodes.clear();
  EXPECT_EQ(ref.get(), nullptr);
  EXPECT_FALSE(ref);
  EXPECT_EQ(LiveRegistry::instance().countOfLive(), live - 1);
}

TEST(WeakRef, ANewObjectAtAFreedAddressIsNotTheOldOne) {
  LiveRegistry& registry = LiveRegistry::instance();
  int place = 0;
  const std::uint64_t first = registry.enter(&place);
  registry.leave(&place);
  const std::uint64_t second = registry.enter(&place);
  EXPECT_FALSE(registry.isAlive(&place, first));
  EXPECT_TRUE(registry.isAlive(&place, second));
  registry.leave(&place);
}

}  // namespace
}  // namespace vrk
