// The view-aware holder: its sequence in the view of its mode.
#include <QBuffer>
#include <QImage>
#include <QSignalSpy>
#include <QTreeView>

#include "gui/ViewTestSupport.h"
#include "model/ModelTestSupport.h"
#include "model/TContent.h"
#include "platform/SJ.h"
#include "platform/qt/QtSjis.h"
#include "shell/MemoFileUI.h"

namespace vrk {
namespace {

using modeltest::FixedServices;
using viewtest::holderOf;
using viewtest::NodeDef;
using viewtest::outline;

MemoNodeUI* nodeNamed(MemoHolder& holder, std::string_view name) {
  return static_cast<MemoNodeUI*>(holder.findNode_(name));
}

TEST(MemoHolderUI, TreeFromUIDAndParentNodeID) {
  FixedServices services;
  struct Case {
    const char* what;
    std::vector<NodeDef> nodes;
    const char* outline;
  } cases[] = {
      {"third under first",
       {{"first", "u1"}, {"second", "u2"}, {"third", "u3", "u1"}},
       "first .third second"},
      {"unknown parent stays on top", {{"a", "ua"}, {"b", "ub", "zz"}}, "a b"},
      {"child before its parent", {{"c", "uc", "ua"}, {"a", "ua"}, {"d", "ud", "uc"}}, "a .c ..d"},
      {"two-node cycle", {{"a", "ua", "ub"}, {"b", "ub", "ua"}}, "b .a"},
      {"duplicate UIDs: the first wins", {{"a", "u1"}, {"b", "u1"}, {"c", "u3", "u1"}}, "a .c b"},
      {"chain listed backwards", {{"c", "uc", "ub"}, {"b", "ub", "ua"}, {"a", "ua"}}, "a .b ..c"},
  };
  for (const Case& c : cases) {
    auto holder = holderOf(c.nodes);
    ASSERT_NE(holder->buildView_(NodesMode::TreeView, nullptr), nullptr);
    EXPECT_EQ(outline(*holder), c.outline) << c.what;
    EXPECT_EQ(holder->countOfNodes(), static_cast<int>(c.nodes.size())) << c.what;
    EXPECT_EQ(holder->getField_("ModeNodesMngr"), "\"TreeView\"");
  }
}

TEST(MemoHolderUI, ParentsStayExpandedUnlessFlagExpandedIsFalse) {
  FixedServices services;
  for (const char* flag : {"", "\"false\"", "\"true\""}) {
    auto holder = holderOf({{"first", "u1"}, {"second", "u2"}, {"third", "u3", "u1"}});
    nodeNamed(*holder, "first")->putField_("FlagExpanded", flag);
    holder->buildView_(NodesMode::TreeView, nullptr);
    MemoNodeUI* first = nodeNamed(*holder, "first");
    EXPECT_EQ(first->aUITN->isExpanded(), std::string_view(flag) != "\"false\"") << flag;
    EXPECT_EQ(nodeNamed(*holder, "third")->getParentNode(), first);
  }
}

TEST(MemoHolderUI, TreeToListToTreeKeepsTheOrderAndFollowsParentNodeID) {
  FixedServices services;
  auto holder = holderOf({{"a", "ua"}, {"b", "ub"}, {"c", "uc", "ua"}, {"d", "ud", "uc"}});
  holder->buildView_(NodesMode::TreeView, nullptr);
  EXPECT_EQ(outline(*holder), "a .c ..d b");

  holder->buildView_(NodesMode::ListView, nullptr);
  EXPECT_EQ(outline(*holder), "a c d b");  // tree order, flat
  EXPECT_EQ(holder->aUITV->topLevelItemCount(), 0);
  EXPECT_EQ(nodeNamed(*holder, "d")->aUITN, nullptr);

  holder->buildView_(NodesMode::TreeView, nullptr);
  EXPECT_EQ(outline(*holder), "a .c ..d b");
  EXPECT_EQ(nodeNamed(*holder, "d")->aUIItem, nullptr);

  // ParentNodeID decides again, even for a parent listed after its child.
  holder->buildView_(NodesMode::ListView, nullptr);
  nodeNamed(*holder, "d")->putField_("ParentNodeID", "\"ub\"");
  holder->buildView_(NodesMode::TreeView, nullptr);
  EXPECT_EQ(outline(*holder), "a .c b .d");
}

TEST(MemoHolderUI, FindNodeIgnoresLetterCaseOnlyInTheCheckList) {
  FixedServices services;
  struct Case {
    NodesMode mode;
    const char* name;
    bool found;
  } cases[] = {
      {NodesMode::Nodes, "ABC", true},         {NodesMode::CheckListBox, "ABC", true},
      {NodesMode::TreeView, "ABC", false},     {NodesMode::ListView, "ABC", false},
      {NodesMode::TreeView, "abc", true},      {NodesMode::ListView, "abc", true},
      {NodesMode::CheckListBox, "abd", false},
  };
  for (const Case& c : cases) {
    auto holder = holderOf({{"x"}, {"abc"}});
    MemoNode* abc = holder->nodeAt_(1);
    holder->buildView_(c.mode, nullptr);
    EXPECT_EQ(holder->findNode_(c.name), c.found ? abc : nullptr)
        << nodesModeName_(c.mode) << " " << c.name;
  }
}

std::string pngBytes() {
  QImage image(8, 8, QImage::Format_RGB32);
  image.fill(Qt::red);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes.toStdString();
}

// Icon nodes "icon <index> <key>" in this order, then a node "n".
std::unique_ptr<MemoHolderUI> iconHolder(const std::vector<const char*>& iconNames) {
  auto holder = std::make_unique<MemoHolderUI>();
  for (const char* name : iconNames) {
    std::unique_ptr<MemoNode> icon = holder->createNode();
    icon->putField_("Content-Type", "\"Image/ICO\"");
    icon->aContent = std::make_unique<TContent>();
    icon->aContent->aData = pngBytes();
    holder->addNode_(std::move(icon), name);
  }
  holder->addNode_(holder->createNode(), "n");
  return holder;
}

TEST(MemoHolderUI, IconIndexRules) {
  FixedServices services;
  struct Case {
    const char* field;
    int index;
  } cases[] = {
      {"\"b\"", 1}, {"\"1\"", 1}, {"\"0\"", 0}, {"\"c\"", -1}, {"\"1x\"", -1}, {"", -1},
  };
  for (const Case& c : cases) {
    auto holder = iconHolder({"icon 1 b", " ICON  0 a"});
    MemoNodeUI* node = nodeNamed(*holder, "n");
    node->putField_("icon", c.field);
    // The image shown is the one at the index; without one a blank keeps the
    // names in line.
    const auto showsIndex = [&](const QIcon& shown) {
      for (std::size_t i = 0; i < holder->aIconImages.size(); ++i)
        if (shown.cacheKey() == holder->aIconImages[i].cacheKey()) return static_cast<int>(i);
      return shown.isNull() ? -2 : -1;
    };
    holder->buildView_(NodesMode::TreeView, nullptr);
    ASSERT_EQ(holder->aIconImages.size(), 2u);
    EXPECT_EQ(holder->iconIndexOf_(*node), c.index) << c.field;
    EXPECT_EQ(showsIndex(node->aUITN->icon(0)), c.index) << c.field;
    holder->buildView_(NodesMode::ListView, nullptr);
    EXPECT_EQ(showsIndex(node->aUIItem->icon()), c.index) << c.field;
  }
}

TEST(MemoHolderUI, IconsWithAGapGiveNoImages) {
  FixedServices services;
  auto holder = iconHolder({"icon 0 a", "icon 2 b"});
  MemoNodeUI* node = nodeNamed(*holder, "n");
  node->putField_("icon", "\"a\"");
  holder->buildView_(NodesMode::TreeView, nullptr);
  EXPECT_TRUE(holder->aIconImages.empty());
  EXPECT_EQ(holder->aIconKeys, StringList{"a=0"});
  EXPECT_TRUE(node->aUITN->icon(0).isNull());
}

TEST(MemoHolderUI, TreeAddAndInsertFollowTheCurrentItem) {
  FixedServices services;
  auto holder = holderOf({{"top", "u1"}, {"child", "u2", "u1"}, {"other", "u3"}});
  holder->buildView_(NodesMode::TreeView, nullptr);
  holder->putCurNode_(nodeNamed(*holder, "child"));

  MemoNode* made = holder->newNode();  // inserted after the current node, as its sibling
  EXPECT_EQ(outline(*holder), "top .child .20241208 other");
  EXPECT_EQ(made->getField_("ParentNodeID"), "\"u1\"");
  EXPECT_EQ(holder->getCurNode(), made);  // the new item is selected

  auto added = holder->createNode();
  MemoNode* last = added.get();
  holder->addNode_(std::move(added), "x");  // the last sibling of the current item
  EXPECT_EQ(outline(*holder), "top .child .20241208 .x other");
  EXPECT_EQ(last->getField_("ParentNodeID"), "\"u1\"");

  holder->aUITV->clearSelection();
  holder->putCurNode_(nullptr);
  auto stray = holder->createNode();
  stray->putField_("ParentNodeID", "\"u3\"");
  MemoNode* top = stray.get();
  holder->addNode_(std::move(stray), "y");  // no current node: top level, no stale parent
  EXPECT_EQ(outline(*holder), "top .child .20241208 .x other y");
  EXPECT_EQ(top->getField_("ParentNodeID"), "");
}

TEST(MemoHolderUI, SetParentNodeRefusesCyclesAndMovesTheItem) {
  FixedServices services;
  struct Case {
    const char* node;
    const char* parent;
    bool accepted;
  } cases[] = {
      {"a", "a", false},  // itself
      {"a", "c", false},  // below it
      {"b", "c", false},
      {"c", "a", true},
  };
  for (const bool tree : {true, false}) {
    for (const Case& c : cases) {
      auto holder = holderOf({{"a", "ua"}, {"b", "ub", "ua"}, {"c", "uc", "ub"}});
      if (tree) holder->buildView_(NodesMode::TreeView, nullptr);
      MemoNode* node = holder->findNode_(c.node);
      const std::string before = node->getField_("ParentNodeID");
      node->setParentNode_(holder->findNode_(c.parent));
      const std::string expected = c.accepted ? quoted_("u" + std::string(c.parent)) : before;
      EXPECT_EQ(node->getField_("ParentNodeID"), expected) << c.node << " under " << c.parent;
      if (tree) {
        EXPECT_EQ(outline(*holder), c.accepted ? "a .b .c" : "a .b ..c") << c.node;
      }
    }
  }
}

TEST(MemoHolderUI, CheckListTicksMarksAndShowsTheDerivedText) {
  FixedServices services;
  auto holder = holderOf({{"x"}, {"y"}});
  holder->nodeAt_(0)->putMarked_(true);
  std::unique_ptr<MemoNode> japanese = holder->createNode();
  MemoNode* hyouji = japanese.get();
  holder->addNode_(std::move(japanese), SJ("表示"));
  holder->buildView_(NodesMode::CheckListBox, nullptr);
  TCheckListBoxUI& list = *holder->aUILB;
  EXPECT_EQ(list.item(0)->checkState(), Qt::Checked);
  EXPECT_EQ(list.item(2)->text(), QString::fromUtf8("表示"));
  EXPECT_EQ(hyouji->getName(), SJ("表示"));
  EXPECT_EQ(holder->countOfMarked(), 1);

  QSignalSpy changed(&list, &QListWidget::itemChanged);
  holder->nodeAt_(1)->putMarked_(true);
  EXPECT_EQ(list.item(1)->checkState(), Qt::Checked);
  EXPECT_EQ(changed.count(), 0);  // programmatic: the frame is not told
  list.item(0)->setCheckState(Qt::Unchecked);
  NodeList marked;
  holder->listMarked_(marked);
  ASSERT_EQ(marked.size(), 1u);
  EXPECT_EQ(marked[0].first, "y");

  EXPECT_NE(holder->uniqueNodeName_("x"), "x");
  holder->putFlagSort_(true);
  EXPECT_EQ(holder->putNameChild_as_(holder->nodeAt_(1), "a"), "a");
  EXPECT_EQ(outline(*holder), "a x " + SJ("表示"));
  EXPECT_EQ(holder->findNode_("A"), holder->nodeAt_(0));
}

TEST(MemoHolderUI, NamesAreUniqueOnlyInTheCheckList) {
  FixedServices services;
  for (const NodesMode mode : {NodesMode::TreeView, NodesMode::ListView}) {
    auto holder = holderOf({{"x"}});
    holder->buildView_(mode, nullptr);
    EXPECT_EQ(holder->uniqueNodeName_("x"), "x");
  }
}

TEST(MemoHolderUI, ACheckListFilledAtOnceBehavesAsOneFilledItemByItem) {
  FixedServices services;
  std::vector<NodeDef> defs;
  std::vector<std::string> names;
  for (int i = 0; i < 300; ++i) names.push_back("n" + std::to_string(i));
  for (const std::string& name : names) defs.push_back({name.c_str()});
  auto holder = holderOf(defs);
  for (const char* when : {"first fill", "refilled while shown"}) {
    holder->buildView_(NodesMode::CheckListBox, nullptr);
    TCheckListBoxUI& list = *holder->aUILB;
    list.resize(200, 300);
    list.show();
    MemoNodeUI* last = static_cast<MemoNodeUI*>(holder->lastNode());
    holder->putCurNode_(last);
    const QRect rect = list.visualItemRect(list.itemOf(*last));
    ASSERT_TRUE(rect.isValid()) << when;
    EXPECT_EQ(list.itemAt(rect.center()), list.itemOf(*last)) << when;
    EXPECT_EQ(holder->getCurNode(), last) << when;
    EXPECT_EQ(holder->indexOfNode_(last), 299) << when;
    EXPECT_EQ(holder->prevNode_(last)->getName(), "n298") << when;
    holder->buildView_(NodesMode::TreeView, nullptr);
  }
}

TEST(MemoHolderUI, RemovingATreeNodeLiftsItsChildren) {
  FixedServices services;
  auto holder = holderOf({{"a", "ua"}, {"b", "ub", "ua"}, {"c", "uc", "ub"}, {"d", "ud", "ub"}});
  holder->buildView_(NodesMode::TreeView, nullptr);
  MemoNodeUI* b = nodeNamed(*holder, "b");
  std::unique_ptr<MemoNode> removed = holder->removeNode_(b);
  ASSERT_EQ(removed.get(), b);
  EXPECT_EQ(b->aUITN, nullptr);
  EXPECT_EQ(outline(*holder), "a .c .d");
  EXPECT_EQ(holder->countOfNodes(), 3);
}

TEST(MemoHolderUI, CheckUIDRepairsParentNodeIDFromTheTree) {
  FixedServices services;
  auto holder = holderOf({{"a", "ua"}, {"b", "ub", "ua"}, {"c"}});
  holder->buildView_(NodesMode::TreeView, nullptr);
  nodeNamed(*holder, "b")->putField_("ParentNodeID", "\"moved\"");
  StringList log;
  holder->checkUID_(&log);
  EXPECT_EQ(nodeNamed(*holder, "b")->getField_("ParentNodeID"), "\"ua\"");
  EXPECT_EQ(log, (StringList{"genUID:c", "ParentNodeID:b"}));
}

TEST(MemoHolderUI, SelectionIsTheCurrentNodeAndProgrammaticSelectionIsSilent) {
  FixedServices services;
  auto holder = holderOf({{"a"}, {"b"}});
  holder->buildView_(NodesMode::TreeView, nullptr);
  QSignalSpy selected(holder->aUITV.data(), &QTreeWidget::itemSelectionChanged);
  holder->putCurNode_(holder->nodeAt_(1));
  EXPECT_EQ(selected.count(), 0);
  EXPECT_EQ(holder->getCurNode(), holder->nodeAt_(1));
  holder->aUITV->setCurrentItem(nodeNamed(*holder, "a")->aUITN);  // the user's choice wins
  EXPECT_EQ(holder->getCurNode(), holder->nodeAt_(0));
  holder->aUITV->clearSelection();  // nothing selected: the recorded one
  EXPECT_EQ(holder->getCurNode(), holder->nodeAt_(1));
}

TEST(MemoHolderUI, ShowHideCursorAndNodeWindows) {
  FixedServices services;
  auto holder = holderOf({{"a"}, {"b"}});
  holder->putField_("ModeNodesMngr", "\"ListView\"");
  EXPECT_EQ(holder->getView(), nullptr);
  holder->mouseCursor_(QCursor(Qt::WaitCursor));  // no list view yet
  EXPECT_EQ(services.messages.messages, StringList{"ERROR: MemoHolderUI.mouseCursor_"});

  QWidget* view = holder->buildView_(NodesMode::TreeView, nullptr);
  EXPECT_EQ(holder->getView(), view);
  holder->showView();
  EXPECT_TRUE(view->isVisible() && view->isEnabled());
  holder->mouseCursor_(QCursor(Qt::WaitCursor));
  EXPECT_EQ(view->cursor().shape(), Qt::WaitCursor);
  holder->hideView();
  EXPECT_FALSE(view->isVisible() || view->isEnabled());

  QWidget window;
  window.show();
  nodeNamed(*holder, "b")->aNodeForm = &window;
  EXPECT_EQ(holder->closeNodeWindows(), 2);
  EXPECT_FALSE(window.isVisible());
}

TEST(MemoHolderUI, ExportListByMode) {
  FixedServices services;
  MemoFileUI file;
  file.putName_("work");
  MemoHolder* made = file.newHolderAt_(0);
  auto& holder = static_cast<MemoHolderUI&>(*made);
  holder.putName_("notes");
  for (const char* name : {"a", "b"}) holder.addNode_(holder.createNode(), name);

  for (const NodesMode mode : {NodesMode::Nodes, NodesMode::CheckListBox, NodesMode::TreeView}) {
    holder.buildView_(mode, nullptr);
    StringList lines;
    EXPECT_EQ(holder.exportList_(lines, services.clock), 2);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(lines[0].starts_with("# ") && lines[0].ends_with(" work:notes  20241208 101010"))
        << lines[0];
    EXPECT_EQ(StringList(lines.begin() + 1, lines.end()), (StringList{"a", "b"}));
  }

  holder.buildView_(NodesMode::ListView, nullptr);
  StringList nameOnly;
  EXPECT_EQ(holder.exportList_(nameOnly, services.clock), 2);
  EXPECT_EQ(StringList(nameOnly.begin() + 1, nameOnly.end()), (StringList{"", "", ""}));

  holder.aUILV->setColumns_({{"name", 50}, {"Key", 40}, {"Value", 40}});
  holder.aUILV->setSubItems_(*nodeNamed(holder, "b"), {"\"k\"", SJ("表")});
  StringList columns;
  EXPECT_EQ(holder.exportList_(columns, services.clock), 2);
  EXPECT_EQ(StringList(columns.begin() + 1, columns.end()),
            (StringList{"Key,Value", ",", "\"k\"," + SJ("表")}));

  holder.putField_("ModeNodesMngr", "\"Other\"");
  StringList other;
  EXPECT_EQ(holder.exportList_(other, services.clock), -1);
}

TEST(MemoHolderUI, CloneInHolderTakesTheCurrentPlaceAndAFreshUID) {
  FixedServices services;
  auto holder = holderOf({{"a", "ua"}, {"b", "ub"}, {"c", "uc"}});
  holder->buildView_(NodesMode::CheckListBox, nullptr);
  holder->putCurNode_(holder->nodeAt_(1));
  MemoNode* clone = holder->cloneInHolder_(*nodeNamed(*holder, "c"));
  EXPECT_EQ(outline(*holder), "a c b c");
  EXPECT_EQ(holder->nodeAt_(1), clone);
  EXPECT_NE(clone->getField_("UID"), "\"uc\"");
  EXPECT_EQ(clone->getField_("UID").size(), 29u);
  EXPECT_TRUE(holder->flagChanged);
  EXPECT_NE(dynamic_cast<MemoNodeUI*>(clone), nullptr);
}

TEST(MemoHolderUI, DeepCopiesStayViewAwareInTheViewsOrder) {
  FixedServices services;
  auto holder = holderOf({{"a", "ua"}, {"b", "ub"}, {"c", "uc", "ua"}});
  holder->buildView_(NodesMode::TreeView, nullptr);
  std::unique_ptr<TObjectNamed> copied = holder->deepCopy();
  auto* copy = dynamic_cast<MemoHolderUI*>(copied.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_FALSE(copy->flagViewsActive);
  EXPECT_EQ(copy->getField_("ModeNodesMngr"), "\"Nodes\"");
  EXPECT_EQ(outline(*copy), "a c b");
  EXPECT_NE(dynamic_cast<MemoNodeUI*>(copy->nodeAt_(1)), nullptr);
}

}  // namespace
}  // namespace vrk
