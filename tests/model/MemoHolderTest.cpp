// Memo holders in memory: new nodes, UIDs, removal, navigation, sorting,
// copies, file names, and walking the nodes through the virtual operations.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/ModelTestSupport.h"
#include "platform/Path.h"

namespace vrk {
namespace {

using modeltest::FixedServices;

// A holder listed under a name, as its memo file lists it.
struct Listed {
  explicit Listed(std::string_view name = "Ideas") {
    auto made = std::make_unique<MemoHolder>(&list);
    holder = made.get();
    list.addChild_(std::move(made), name);
  }
  MemoNode* add(std::string_view name, StringList memo = {}) {
    std::unique_ptr<MemoNode> node = holder->createNode();
    MemoNode* raw = node.get();
    raw->aMemo = std::move(memo);
    holder->addNode_(std::move(node), name);
    return raw;
  }
  StringList names() const {
    StringList out;
    for (int i = 0; i < holder->countOfNodes(); ++i) out.push_back(holder->nodeAt_(i)->getName());
    return out;
  }

  TObjectParent list;
  MemoHolder* holder = nullptr;
};

TEST(MemoHolderNewNode, NamingRules) {
  struct Case {
    const char* title;
    StringList fields;
    StringList existing;
    const char* current;  // name of the current node, or null
    StringList expected;  // names of two new nodes made one after the other
  };
  const Case cases[] = {
      {"daily twice on one day", {}, {}, nullptr, {"20241208", "20241209"}},
      {"daily with same names allowed",
       {"FlagSameName=\"true\""},
       {},
       nullptr,
       {"20241208", "20241208"}},
      {"daily in a pattern of its own",
       {"FormatDate=\"yyyy-mm-dd\""},
       {},
       nullptr,
       {"2024-12-08", "2024-12-09"}},
      {"number counts the nodes before",
       {"NewNodeName=\"Number\""},
       {"a", "b", "c", "d", "e"},
       nullptr,
       {"00005", "00006"}},
      {"number in a pattern",
       {"NewNodeName=\"number\"", "FormatNumber=\"No.%03d\""},
       {"a"},
       nullptr,
       {"No.001", "No.002"}},
      {"a pattern the formatter refuses counts as %.5d",
       {"NewNodeName=\"Number\"", "FormatNumber=\"%s%n\""},
       {"a"},
       nullptr,
       {"00001", "00002"}},
      {"glossary takes the current name",
       {"NewNodeName=\"Glossary\""},
       {"x", "Idea"},
       "Idea",
       {"Idea_01", "Idea_02"}},
      {"glossary without a current node",
       {"NewNodeName=\"Glossary\""},
       {},
       nullptr,
       {"*New*", "*New*_00"}},
      {"any other rule", {"NewNodeName=\"Weekly\""}, {}, nullptr, {"*New*", "*New*_00"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    FixedServices services;
    Listed listed;
    listed.holder->aFields = c.fields;
    for (const std::string& name : c.existing) listed.add(name);
    if (c.current) listed.holder->putCurNode_(listed.holder->findNode_(c.current));
    const std::string first = listed.holder->newNode()->getName();
    const std::string second = listed.holder->newNode()->getName();
    EXPECT_EQ((StringList{first, second}), c.expected);
  }
}

TEST(MemoHolderNewNode, TemplateByOptionAndPlaceBeforeTheCurrentNode) {
  struct Case {
    const char* option;  // NewNodeOption, or null for none
    const char* selected;
    StringList memo;  // of the new node
  };
  const Case cases[] = {
      {nullptr, nullptr, {"star"}},      {"\"Normal\"", nullptr, {"star"}},
      {"\"plain\"", nullptr, {}},        {"\"current\"", nullptr, {"cee"}},
      {"\"select\"", "\"T\"", {"tee"}},  {"\"select\"", "\"missing\"", {"star"}},
      {"\"select\"", nullptr, {"star"}}, {"\"other\"", nullptr, {"star"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.option ? c.option : "no option");
    FixedServices services;
    Listed listed;
    MemoHolder& holder = *listed.holder;
    listed.add("*", {"star"});
    MemoNode* current = listed.add("C", {"cee"});
    listed.add("T", {"tee"});
    if (c.option) holder.putField_("NewNodeOption", c.option);
    if (c.selected) holder.putField_("SelectNodeName", c.selected);
    holder.putCurNode_(current);

    const MemoNode* made = holder.newNode();
    EXPECT_EQ(made->aMemo, c.memo);
    EXPECT_EQ(holder.indexOfNode_(made), 1);  // before the current node
    EXPECT_EQ(holder.getCurNode(), current);
    EXPECT_EQ(made->aOwner, &holder);
  }
}

TEST(MemoHolderNewNode, FreshCreatedOnlyWhenTheTemplateHasOneAndAnIndexedUid) {
  FixedServices services;
  Listed listed;
  MemoNode* star = listed.add("*");
  const MemoNode* plain = listed.holder->newNode();
  EXPECT_EQ(plain->getField_("Created"), "");
  EXPECT_EQ(listed.holder->indexOfNode_(plain), 1);  // appended: no current node

  star->putField_("Created", "\"19990101 000000000\"");
  const MemoNode* dated = listed.holder->newNode();
  EXPECT_EQ(dated->getField_("Created"), "\"20241208 101010123\"");
  EXPECT_EQ(star->getField_("Created"), "\"19990101 000000000\"");

  const std::string uid = unquote_(dated->getField_("UID"));
  EXPECT_EQ(uid.size(), 27u);
  EXPECT_TRUE(uid.starts_with("20241208_101010123_") && allDigits_(uid.substr(19))) << uid;
  EXPECT_NE(uid, unquote_(plain->getField_("UID")));
  EXPECT_EQ(listed.holder->findNodeByUID_(lowerCase_(uid)), dated);
}

TEST(MemoHolderUids, DuplicatesAndBlanksAreRepairedInNodeOrder) {
  FixedServices services;
  Listed listed;
  MemoNode* a = listed.add("a");
  MemoNode* b = listed.add("b");
  a->putField_("UID", "\"SAME\"");
  b->putField_("UID", "\"same\"");  // letter case is not a difference

  EXPECT_EQ(listed.holder->findNodeByUID_("Same"), a);
  const std::string repaired = unquote_(b->getField_("UID"));
  EXPECT_EQ(repaired.size(), 27u);
  EXPECT_EQ(listed.holder->findNodeByUID_(repaired), b);

  MemoNode* c = listed.add("c");
  MemoNode* d = listed.add("d");
  c->putField_("UID", "\"SAME\"");
  StringList log;
  listed.holder->checkUID_(&log);
  EXPECT_EQ(log, (StringList{"genUniqUID:c", "genUID:d"}));
  EXPECT_EQ(d->getField_("UID").size(), 29u);
}

TEST(MemoHolderUids, AUidGivenAfterIndexingIsStillFound) {
  FixedServices services;
  Listed listed;
  MemoNode* parent = listed.add("parent");
  MemoNode* child = listed.holder->newNode();  // the index now exists
  child->setParentNode_(parent);               // parent gets a UID the index lacks
  EXPECT_EQ(child->getParentNode(), parent);
  EXPECT_EQ(listed.holder->findNodeByUID_("no such uid"), nullptr);
}

TEST(MemoHolderRemoveNode, LeavesTheIndexAndTheCurrentNode) {
  FixedServices services;
  Listed listed;
  MemoHolder& holder = *listed.holder;
  MemoNode* a = holder.newNode();
  MemoNode* b = holder.newNode();
  const std::string uidA = unquote_(a->getField_("UID"));
  holder.putCurNode_(a);

  std::unique_ptr<MemoNode> takenB = holder.removeNode_(b);
  EXPECT_EQ(takenB.get(), b);
  EXPECT_EQ(holder.getCurNode(), a);  // another node stays current
  std::unique_ptr<MemoNode> takenA = holder.removeNode_(a);
  EXPECT_EQ(holder.getCurNode(), nullptr);
  EXPECT_EQ(holder.findNodeByUID_(uidA), nullptr);  // alive, but no longer this holder's
  EXPECT_EQ(holder.removeNode_(a), nullptr);
  EXPECT_EQ(holder.countOfNodes(), 0);

  MemoNode* c = listed.add("c");
  MemoNode* d = listed.add("d");
  holder.putCurNode_(c);
  EXPECT_NE(holder.deleteNode_(d), nullptr);
  EXPECT_EQ(holder.getCurNode(), nullptr);  // deleting always ends the current node
}

TEST(MemoHolderNavigation, EdgesAnswerNone) {
  Listed listed;
  MemoHolder& holder = *listed.holder;
  EXPECT_EQ(holder.firstNode(), nullptr);
  EXPECT_EQ(holder.lastNode(), nullptr);
  MemoNode* a = listed.add("a");
  MemoNode* b = listed.add("b");
  MemoNode* c = listed.add("c");
  const std::unique_ptr<MemoNode> stranger = holder.createNode();
  EXPECT_EQ(holder.prevNode_(a), nullptr);
  EXPECT_EQ(holder.prevNode_(b), a);
  EXPECT_EQ(holder.nextNode_(b), c);
  EXPECT_EQ(holder.nextNode_(c), nullptr);
  EXPECT_EQ(holder.prevNode_(stranger.get()), nullptr);
  EXPECT_EQ(holder.nextNode_(stranger.get()), nullptr);
  EXPECT_EQ(holder.nodeAt_(-1), nullptr);
  EXPECT_EQ(holder.nodeAt_(3), nullptr);
  EXPECT_EQ(holder.firstNode(), a);
  EXPECT_EQ(holder.lastNode(), c);
  EXPECT_EQ(holder.findNode_("B"), b);
  EXPECT_EQ(holder.putCurNode_(stranger.get()), -1);
}

TEST(MemoHolderSorting, OnlyAddingAndRenamingSort) {
  Listed listed;
  MemoHolder& holder = *listed.holder;
  listed.add("b");
  MemoNode* a = listed.add("a");
  holder.putFlagSort_(true);
  EXPECT_EQ(holder.getField_("flagSort"), "\"true\"");
  EXPECT_EQ(listed.names(), (StringList{"b", "a"}));  // setting it does not reorder

  holder.insertNode_(holder.createNode(), "0", 0);
  holder.insertNode_(holder.createNode(), "z", 0);
  EXPECT_EQ(listed.names(), (StringList{"z", "0", "b", "a"}));
  listed.add("c");
  EXPECT_EQ(listed.names(), (StringList{"0", "a", "b", "c", "z"}));
  holder.putFlagAscending_(false);
  a->putName_("y");
  EXPECT_EQ(listed.names(), (StringList{"z", "y", "c", "b", "0"}));
}

TEST(MemoHolderCopy, ClonesNodesAndKeepsTheCurrentPosition) {
  FixedServices services;
  Listed listed;
  MemoHolder& source = *listed.holder;
  listed.add("one", {"1"});
  source.putCurNode_(listed.add("two", {"2"}));
  source.CountSave = 5;
  source.flagLoaded = true;
  source.putField_("ModeNodesMngr", "\"TreeView\"");

  const std::unique_ptr<TObjectNamed> copied = source.deepCopy();
  auto* copy = dynamic_cast<MemoHolder*>(copied.get());
  ASSERT_NE(copy, nullptr);
  ASSERT_EQ(copy->countOfNodes(), 2);
  EXPECT_NE(copy->nodeAt_(1), source.nodeAt_(1));
  EXPECT_EQ(copy->nodeAt_(1)->aOwner, copy);
  EXPECT_EQ(copy->nodeAt_(1)->getName(), "two");
  EXPECT_EQ(copy->nodeAt_(1)->aMemo, StringList{"2"});
  EXPECT_EQ(copy->getCurNode(), copy->nodeAt_(1));
  EXPECT_EQ(copy->getModeNodesMngr(), "\"Nodes\"");
  EXPECT_TRUE(copy->flagLoaded);
  EXPECT_EQ(copy->CountSave, 0);
}

TEST(MemoHolderFileNames, FromTheMemoFileFolderOrTheHoldersOwnPath) {
  struct Case {
    const char* memoFile;  // null: the holder has no memo file
    const char* holder;
    StringList fields;
    std::string expected;
  };
  const Case cases[] = {
      {"/m/work.mxa", "a/b", {}, "/m/a_b.mxh"},
      {"C:\\m\\work.mxa", "a/b", {}, "C:/m/a_b.mxh"},  // composed paths are written with "/"
      {"/m/work.mxa", "Notes.old", {}, "/m/Notes.mxh"},
      {"/m/work.mxa", "x", {"FileExt=\".mhz\""}, "/m/x.mhz"},
      {"/m/work.mxa", "x", {"FlagExtra=\"true\"", "Filename=\"/else/y.mxh\""}, "/else/y.mxh"},
      {"/m/work.mxa", "x", {"FlagExtra=\"true\""}, "/m/x.mxh"},
      {"/m/work.mxa", "x", {"Filename=\"/else/y.mxh\""}, "/m/x.mxh"},
      // Opened from a file of its own: saved back there.
      {"/m/work.mxa",
       "x",
       {"FlagAbsolutePath=\"true\"", "Filename=\"/else/y.mxh\""},
       "/else/y.mxh"},
      {"/m/work.mxa", "x", {"FlagAbsolutePath=\"false\"", "Filename=\"/else/y.mxh\""}, "/m/x.mxh"},
      // Never relative: a save would land wherever the current directory is.
      {"/m/work.mxa",
       "x",
       {"FlagExtra=\"true\"", "Filename=\"y.mxh\""},
       currentDirectory_() + "y.mxh"},
      {"", "x", {}, currentDirectory_() + "x.mxh"},  // a memo file without a name yet
      {nullptr, "x", {}, currentDirectory_() + "x.mxh"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    MemoFile file;
    MemoHolder* holder = nullptr;
    Listed listed(c.holder);
    if (c.memoFile) {
      if (*c.memoFile) file.putFileName_(c.memoFile);
      holder = file.createHolder().release();
      file.addHolder_(std::unique_ptr<MemoHolder>(holder), c.holder);
    } else {
      holder = listed.holder;
    }
    holder->aFields = c.fields;
    EXPECT_EQ(holder->getFileName(), c.expected);
  }
}

// The holder file keeps a relative FileName as it was stored.
TEST(MemoHolderFileNames, ARelativeExtraFileNameIsWrittenAsStored) {
  Listed listed("x");
  listed.holder->aFields = {"FlagExtra=\"true\"", "Filename=\"sub\\y.mxh\""};
  StringList lines;
  listed.holder->writeSettings_(lines, "");
  EXPECT_NE(std::find(lines.begin(), lines.end(), "  <Field FileName=\"sub\\y.mxh\"/>"),
            lines.end())
      << ::testing::PrintToString(lines);
}

TEST(MemoHolderMemoFileSettings, ReadOnlyFieldsAndTempDirComeFromTheMemoFile) {
  MemoFile file;
  MemoHolder* holder = file.newHolderAt_(0);
  EXPECT_EQ(holder->getMemoFile(), &file);
  EXPECT_FALSE(holder->isReadOnlyHolder());
  file.putReadOnly_(true);
  file.putField_("Mail", "\"me@example.com\"");
  holder->putField_("Color", "\"clRed\"");
  EXPECT_TRUE(holder->isReadOnlyHolder());
  EXPECT_EQ(holder->getFieldInherited_("mail"), "\"me@example.com\"");
  EXPECT_EQ(holder->getFieldInherited_("Color"), "\"clRed\"");
  EXPECT_EQ(holder->getTempDir(), file.getTempDir());
  EXPECT_EQ(Listed().holder->getMemoFile(), nullptr);
}

TEST(MemoHolderCollections, MarksKeysAndValuesOverAllNodes) {
  Listed listed;
  MemoNode* a = listed.add("a");
  MemoNode* b = listed.add("b");
  a->aFields = {"Kind=\"memo\"", "flagMarked=\"true\""};
  b->aFields = {"kind=\"memo\"", "Tag=\"x\"", "Empty=\"\""};
  EXPECT_EQ(listed.holder->countOfMarked(), 1);
  NodeList marked;
  listed.holder->listMarked_(marked);
  EXPECT_EQ(marked, (NodeList{{"a", a}}));

  StringList keys{"TAG"};
  EXPECT_EQ(listed.holder->collectFieldKeys_(keys), 3);
  EXPECT_EQ(keys, (StringList{"TAG", "Kind", "flagMarked", "Empty"}));
  StringList values;
  listed.holder->collectFieldValues_("kind", values);
  EXPECT_EQ(values, StringList{"memo"});
}

// The node list keeps a gap where it was last changed; random edits must
// agree with a plain vector at every step.
TEST(MemoHolderNodeListOrder, RandomEditsAgreeWithAPlainVector) {
  std::mt19937 rng(3);
  ChildList list;
  std::vector<std::pair<std::string, const TObjectNamed*>> plain;
  for (int step = 0; step < 5000; ++step) {
    const std::size_t n = plain.size();
    const unsigned kind = n == 0 ? 0 : rng() % 12;
    if (kind < 5) {
      const std::size_t at = rng() % (n + 2);
      auto object = std::make_unique<TObjectNamed>();
      const std::string name = "n" + std::to_string(rng() % 40);
      plain.insert(plain.begin() + static_cast<std::ptrdiff_t>(std::min(at, n)),
                   {name, object.get()});
      list.insert(at, std::move(object), name);
    } else if (kind < 8) {
      const std::size_t at = rng() % n;
      ASSERT_EQ(list.take(at).get(), plain[at].second);
      plain.erase(plain.begin() + static_cast<std::ptrdiff_t>(at));
    } else if (kind == 8) {
      const std::size_t from = rng() % n, to = rng() % n;
      list.move(from, to);
      const auto entry = plain[from];
      plain.erase(plain.begin() + static_cast<std::ptrdiff_t>(from));
      plain.insert(plain.begin() + static_cast<std::ptrdiff_t>(to), entry);
    } else if (kind == 9) {
      const std::size_t at = rng() % n;
      plain[at].first = "N" + std::to_string(rng() % 40);
      list.rename(at, plain[at].first);
    } else if (kind == 10 && rng() % 16 == 0) {
      list.sortByName(true);
      std::stable_sort(plain.begin(), plain.end(), [](const auto& a, const auto& b) {
        return lowerCase_(a.first) < lowerCase_(b.first);
      });
    } else if (kind == 11) {
      list.reserve(n + rng() % 8);
    }
    ASSERT_EQ(list.size(), plain.size()) << step;
    std::size_t i = 0;
    for (const ChildEntry& entry : list) {
      ASSERT_EQ(entry.name, plain[i].first) << step;
      ASSERT_EQ(entry.object.get(), plain[i++].second) << step;
    }
    if (plain.empty()) continue;
    const std::size_t probe = rng() % plain.size();
    ASSERT_EQ(list.indexOf(plain[probe].second), static_cast<int>(probe)) << step;
    ASSERT_EQ(*list.nameOf(plain[probe].second), plain[probe].first) << step;
  }
}

// A view that shows the nodes in reverse order.
class ReversedHolder : public MemoHolder {
 public:
  using MemoHolder::MemoHolder;
  MemoNode* nodeAt_(int index) const override {
    return index < 0 ? nullptr : MemoHolder::nodeAt_(countOfNodes() - 1 - index);
  }
  int indexOfNode_(const MemoNode* node) const override {
    const int index = MemoHolder::indexOfNode_(node);
    return index < 0 ? -1 : countOfNodes() - 1 - index;
  }
};

TEST(MemoHolderViewOrder, TheModelWalksNodesThroughTheVirtualOperations) {
  FixedServices services;
  ReversedHolder holder;
  for (const char* name : {"first", "second"}) {
    auto node = holder.createNode();
    node->putField_("UID", "\"SAME\"");
    holder.addNode_(std::move(node), name);
  }
  StringList lines;
  holder.writeHolder_(lines, "");
  const auto at = [&lines](std::string_view record) {
    return std::find_if(lines.begin(), lines.end(),
                        [&](const std::string& l) { return l.find(record) != l.npos; });
  };
  EXPECT_LT(at("\"second\""), at("\"first\""));
  StringList log;
  holder.checkUID_(&log);
  EXPECT_EQ(log, StringList{"genUniqUID:first"});  // second in the view's order
  EXPECT_EQ(holder.prevNode_(holder.findNode_("first")), holder.findNode_("second"));
}

}  // namespace
}  // namespace vrk
