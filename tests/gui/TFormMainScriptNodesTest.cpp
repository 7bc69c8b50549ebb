// The node commands of the window: marked nodes, clones with children, moving
// and copying between holders (with their trees), generated nodes, memo lines
// to nodes, saving a node as a file, and the screen image on an X server.
#include <QAction>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <set>

#include "MainWindowTestSupport.h"
#include "dialogs/TFormSelectHolder.h"
#include "model/HolderFileIO.h"
#include "model/TContent.h"
#include "platform/Path.h"
#include "platform/SJ.h"
#include "shell/TFrameMemoHolder.h"
#include "shell/TreeItemOps.h"

namespace vrk::windowtest {
namespace {

const std::string kTree = "  <Field ModeNodesMngr=\"TreeView\"/>\r\n";

class TFormMainScriptNodes : public MainWindowFixture {
 protected:
  StringList names(MemoHolder& h) {
    StringList list;
    for (int i = 0; i < h.countOfNodes(); ++i) list.push_back(h.nodeAt_(i)->getName());
    return list;
  }
  StringList sortedNames(MemoHolder& h) {
    StringList list = names(h);
    std::sort(list.begin(), list.end());
    return list;
  }
  std::string current() { return form->getCurMemoNode()->getName(); }
  MemoNode& node(MemoHolder& h, std::string_view name) { return *h.findNode_(name); }
  static std::string uidOf(const MemoNode& n) { return unquote_(n.getField_("UID")); }
  static std::string parentOf(const MemoNode& n) { return unquote_(n.getField_("ParentNodeID")); }
  // The node of h whose UID is uid.
  MemoNode* byUID(MemoHolder& h, std::string_view uid) {
    for (int i = 0; i < h.countOfNodes(); ++i)
      if (uidOf(*h.nodeAt_(i)) == uid) return h.nodeAt_(i);
    return nullptr;
  }
  // The next holder choice: the row selected (-1: none), then the button.
  void chooseHolder(int row, const char* button = "OK") {
    QTimer::singleShot(0, form.get(), [this, row, button] {
      auto* dialog = form->findChild<TFormSelectHolder*>();
      ASSERT_NE(dialog, nullptr);
      ASSERT_TRUE(dialog->isModal());
      shownHolders.clear();
      for (int i = 0; i < dialog->list()->count(); ++i)
        shownHolders.push_back(dialog->list()->item(i)->text().toStdString());
      currentEnabled = dialog->button_("Current")->isEnabled();
      if (row >= 0) dialog->list()->setCurrentRow(row);
      dialog->button_(button)->click();
    });
  }
  void mark(MemoHolder& h, std::initializer_list<const char*> marked) {
    for (const char* name : marked) node(h, name).putMarked_(true);
  }
  StringList shownHolders;
  bool currentEnabled = false;
};

// --- marked nodes

TEST_F(TFormMainScriptNodes, DeletingMarkedNodesKeepsOneNodeAndAnUnmarkedCurrent) {
  openMemoFile({{"A", {{"a1"}, {"a2"}, {"a3"}, {"a4"}, {"a5"}}}});
  EXPECT_EQ(form->UIDeleteMarkNodes(), 0);
  EXPECT_EQ(message(), "No Mark MemoNode.");
  EXPECT_EQ(form->getTrushHolder(), nullptr);

  // The current node marked: the next unmarked one after it is shown.
  form->gotoMemoNode(&node(holder(0), "a2"));
  mark(holder(0), {"a2", "a3"});
  EXPECT_EQ(form->UIDeleteMarkNodes(), 2);
  EXPECT_EQ(message(), "Done 2 Nodes deleted.");
  EXPECT_EQ(names(holder(0)), (StringList{"a1", "a4", "a5"}));
  EXPECT_EQ(current(), "a4");
  EXPECT_EQ(names(*form->getTrushHolder()), (StringList{"a2", "a3"}));

  // None unmarked after it: the nearest one before it.
  form->gotoMemoNode(&node(holder(0), "a5"));
  mark(holder(0), {"a5"});
  EXPECT_EQ(form->UIDeleteMarkNodes(), 1);
  EXPECT_EQ(current(), "a4");

  // An unmarked current node stays.
  mark(holder(0), {"a1"});
  EXPECT_EQ(form->UIDeleteMarkNodes(), 1);
  EXPECT_EQ(current(), "a4");

  // All of them: the holder keeps one new node, as a move leaves it.
  mark(holder(0), {"a4"});
  EXPECT_EQ(form->UIDeleteMarkNodes(), 1);
  ASSERT_EQ(holder(0).countOfNodes(), 1);
  EXPECT_NE(current(), "a4");
  EXPECT_EQ(form->getCurMemoNode(), holder(0).nodeAt_(0));
  EXPECT_EQ(sortedNames(*form->getTrushHolder()), (StringList{"a1", "a2", "a3", "a4", "a5"}));
}

TEST_F(TFormMainScriptNodes, MarksAreSetClearedAndReversed) {
  openMemoFile({{"A", {{"a1"}, {"a2"}, {"a3"}}}});
  mark(holder(0), {"a2"});
  holder(0).flagChanged = false;
  EXPECT_EQ(form->UIReverseMarks(), 0);
  EXPECT_TRUE(node(holder(0), "a1").isMarked());
  EXPECT_FALSE(node(holder(0), "a2").isMarked());
  EXPECT_TRUE(holder(0).flagChanged);
  EXPECT_EQ(form->UIMarkAll(), 0);
  EXPECT_EQ(holder(0).countOfMarked(), 3);
  EXPECT_EQ(form->UIUnMarkAll(), 0);
  EXPECT_EQ(holder(0).countOfMarked(), 0);
}

TEST_F(TFormMainScriptNodes, MovingMarkedNodesLeavesTheNodeAtTheMovedCount) {
  openMemoFile({{"A", {{"a1"}, {"a2"}, {"a3"}, {"a4"}, {"a5"}}}, {"B", {{"b1"}}}});
  EXPECT_EQ(form->UIMoveMarksTo(), -1);
  EXPECT_EQ(message(), "Nothing Node Marked.");

  mark(holder(0), {"a2", "a4"});
  chooseHolder(0);  // the source itself
  EXPECT_EQ(form->UIMoveMarksTo(), -1);
  EXPECT_EQ(message(), "Source Holder is Distination Holder !");
  EXPECT_EQ(shownHolders, (StringList{"A", "B"}));
  EXPECT_EQ(holder(0).countOfNodes(), 5);

  chooseHolder(1);
  EXPECT_EQ(form->UIMoveMarksTo(), 0);
  EXPECT_EQ(names(holder(0)), (StringList{"a1", "a3", "a5"}));
  EXPECT_EQ(holder(0).getCurNode()->getName(), "a5");  // index 2: two nodes moved
  EXPECT_TRUE(holder(0).flagChanged);
  EXPECT_EQ(form->getCurHolder(), &holder(1));
  EXPECT_EQ(sortedNames(holder(1)), (StringList{"a2", "a4", "b1"}));
  EXPECT_EQ(current(), "a4");
  EXPECT_TRUE(holder(1).flagChanged);
}

TEST_F(TFormMainScriptNodes, MarkedNodesMoveBehindTheCurrentNodeInTheirOrder) {
  openMemoFile({{"A", {{"a1"}, {"a2"}, {"a3"}, {"a4"}, {"a5"}}}});
  form->gotoMemoNode(&node(holder(0), "a2"));
  mark(holder(0), {"a1", "a4", "a5"});
  EXPECT_EQ(form->UIMoveMarksSelf(), 0);
  EXPECT_EQ(names(holder(0)), (StringList{"a2", "a1", "a4", "a5", "a3"}));
  EXPECT_EQ(holder(0).countOfMarked(), 3);
  EXPECT_EQ(current(), "a2");

  form->UIMarkAll();  // all marked: nothing to move
  EXPECT_EQ(form->UIMoveMarksSelf(), -1);
  EXPECT_EQ(names(holder(0)), (StringList{"a2", "a1", "a4", "a5", "a3"}));
}

TEST_F(TFormMainScriptNodes, CopiedMarkedNodesKeepFieldsButNotATakenUID) {
  openMemoFile({{"A", {{"a1", "U1"}, {"a2", "U2"}}}, {"B", {{"b1", "U9"}}}});
  EXPECT_EQ(form->UICopyMarksTo(), -1);
  ASSERT_FALSE(ports.prompter.asked.empty());
  EXPECT_EQ(ports.prompter.asked.back().text, "Nothing Node Marked.");

  node(holder(0), "a2").putField_("Color", "\"clRed\"");
  mark(holder(0), {"a1", "a2"});
  chooseHolder(1);
  EXPECT_EQ(form->UICopyMarksTo(), 0);
  EXPECT_TRUE(currentEnabled);
  EXPECT_EQ(names(holder(0)), (StringList{"a1", "a2"}));
  EXPECT_EQ(sortedNames(holder(1)), (StringList{"a1", "a2", "b1"}));
  EXPECT_EQ(node(holder(1), "a2").getField_("Color"), "\"clRed\"");
  EXPECT_EQ(uidOf(node(holder(1), "a2")), "U2");
  EXPECT_EQ(current(), "a2");

  // Into the source itself: the copies are new nodes of their own.
  form->_changeCurrentHolder_(&holder(0), true);
  chooseHolder(0, "Current");
  EXPECT_EQ(form->UICopyMarksTo(), 0);
  ASSERT_EQ(holder(0).countOfNodes(), 4);
  std::set<std::string> uids;
  for (int i = 0; i < 4; ++i) uids.insert(uidOf(*holder(0).nodeAt_(i)));
  EXPECT_EQ(uids.size(), 4u);
}

// --- one node to another holder

TEST_F(TFormMainScriptNodes, MoveOneNodeOfAListAndCopyItIntoANewHolder) {
  openMemoFile({{"A", {{"a1"}, {"a2"}, {"a3"}}}, {"B", {{"b1"}}}});
  form->gotoMemoNode(&node(holder(0), "a3"));
  chooseHolder(0);  // B: the source is not listed
  EXPECT_EQ(form->UIMove1To(), 0);
  EXPECT_EQ(shownHolders, StringList{"B"});
  EXPECT_FALSE(currentEnabled);
  EXPECT_EQ(names(holder(0)), (StringList{"a1", "a2"}));
  EXPECT_EQ(holder(0).getCurNode()->getName(), "a2");  // the last one: a3 was last
  EXPECT_EQ(form->getCurHolder(), &holder(1));
  EXPECT_EQ(current(), "a3");

  chooseHolder(-1, "New Holder");
  EXPECT_EQ(form->UICopy1To(), 0);
  ASSERT_EQ(file().countOfHolders(), 3);
  EXPECT_EQ(names(holder(2)), StringList{"a3"});
  EXPECT_NE(uidOf(*holder(2).nodeAt_(0)), uidOf(node(holder(1), "a3")));
  EXPECT_EQ(form->getCurHolder(), &holder(2));

  chooseHolder(0, "CANCEL");
  EXPECT_EQ(form->UIMove1To(), -1);
  EXPECT_EQ(names(holder(2)), StringList{"a3"});
}

TEST_F(TFormMainScriptNodes, ATargetThatDoesNotReadIsRefusedBeforeTheSourceChanges) {
  openMemoFile({{"A", {{"a1"}, {"a2"}}},
                {"Cut", {}, {}, true, "<?xml version=\"1.0\" ?>\r\n<Holder name=\"Cut\">\r\n"}});
  chooseHolder(0);
  EXPECT_EQ(form->UIMove1To(), -1);
  EXPECT_EQ(message().rfind("Failure: ", 0), 0u) << message();
  EXPECT_EQ(names(holder(0)), (StringList{"a1", "a2"}));
  EXPECT_EQ(form->getCurHolder(), &holder(0));
}

TEST_F(TFormMainScriptNodes, ATreeMovesWithItsLinksAndTheSourceShowsANodeOutsideIt) {
  openMemoFile({{"T", {{"r", "U1"}, {"c", "U2", "U1"}, {"g", "U3", "U2"}, {"s", "U4"}}, kTree},
                {"D", {{"d1", "U9"}, {"*Autoexec.ppa", "U8"}}, kTree}});
  ASSERT_EQ(current(), "r");
  chooseHolder(0);
  EXPECT_EQ(form->UIMove1To(), 0);
  EXPECT_EQ(names(holder(0)), StringList{"s"});
  EXPECT_EQ(holder(0).getCurNode()->getName(), "s");
  EXPECT_TRUE(form->played.empty());  // the target is read without its autoexec
  MemoHolder& d = holder(1);
  EXPECT_EQ(form->getCurHolder(), &d);
  EXPECT_EQ(current(), "r");
  EXPECT_EQ(sortedNames(d), (StringList{"*Autoexec.ppa", "c", "d1", "g", "r"}));
  EXPECT_EQ(parentOf(node(d, "c")), "U1");
  EXPECT_EQ(parentOf(node(d, "g")), "U2");
  EXPECT_EQ(node(d, "g").getParentNode(), &node(d, "c"));
  EXPECT_EQ(node(d, "c").getParentNode(), &node(d, "r"));

  // The last node of a tree into a new holder: shown as a tree there, and
  // the source keeps a new node.
  form->_changeCurrentHolder_(&holder(0), true);
  chooseHolder(-1, "New Holder");
  EXPECT_EQ(form->UIMove1To(), 0);
  ASSERT_EQ(file().countOfHolders(), 3);
  EXPECT_EQ(names(holder(2)), StringList{"s"});
  EXPECT_EQ(static_cast<MemoHolderUI&>(holder(2)).getMode(), NodesMode::TreeView);
  ASSERT_EQ(holder(0).countOfNodes(), 1);
  EXPECT_NE(holder(0).nodeAt_(0)->getName(), "s");
}

TEST_F(TFormMainScriptNodes, ATreeCopiedIntoItsOwnHolderIsCopiedOnce) {
  openMemoFile({{"T", {{"r", "U1"}, {"c", "U2", "U1"}, {"g", "U3", "U2"}, {"s", "U4"}}, kTree}});
  chooseHolder(-1, "Current");
  EXPECT_EQ(form->UICopy1To(), 0);
  MemoHolder& t = holder(0);
  ASSERT_EQ(t.countOfNodes(), 7);
  MemoNode* r2 = form->getCurMemoNode();
  ASSERT_EQ(r2->getName(), "r");
  EXPECT_NE(uidOf(*r2), "U1");
  EXPECT_EQ(r2->getParentNode(), nullptr);
  std::set<std::string> uids;
  for (int i = 0; i < 7; ++i) uids.insert(uidOf(*t.nodeAt_(i)));
  EXPECT_EQ(uids.size(), 7u);
  // The copies hang under the copies.
  int copiedChildren = 0;
  for (int i = 0; i < 7; ++i) {
    MemoNode& n = *t.nodeAt_(i);
    if (n.getName() == "c" && uidOf(n) != "U2") {
      EXPECT_EQ(parentOf(n), uidOf(*r2));
      MemoNode* g = nullptr;
      for (int j = 0; j < 7; ++j)
        if (parentOf(*t.nodeAt_(j)) == uidOf(n)) g = t.nodeAt_(j);
      ASSERT_NE(g, nullptr);
      EXPECT_EQ(g->getName(), "g");
      EXPECT_EQ(g->getParentNode(), &n);
      ++copiedChildren;
    }
  }
  EXPECT_EQ(copiedChildren, 1);
  EXPECT_EQ(node(t, "r").getParentNode(), nullptr);
}

TEST_F(TFormMainScriptNodes, CloneWithChildrenGivesEveryCopyItsOwnUID) {
  openMemoFile({{"T", {{"r", "U1"}, {"c1", "U2", "U1"}, {"g", "U3", "U2"}, {"s", "U4"}}, kTree}});
  EXPECT_EQ(form->UICloneMemoNodeAndChild(), 1);
  EXPECT_EQ(message(), "Done: Clone MemoNode And Child");
  MemoHolder& t = holder(0);
  ASSERT_EQ(t.countOfNodes(), 7);
  MemoNode& clone = *form->getCurMemoNode();
  EXPECT_EQ(clone.getName(), "r");
  EXPECT_NE(uidOf(clone), "U1");
  EXPECT_EQ(clone.getParentNode(), nullptr);  // beside the source
  std::set<std::string> uids;
  for (int i = 0; i < 7; ++i) uids.insert(uidOf(*t.nodeAt_(i)));
  EXPECT_EQ(uids.size(), 7u);
  auto& item = *static_cast<MemoNodeUI&>(clone).aUITN;
  ASSERT_EQ(item.childCount(), 1);
  MemoNode& c1 = *static_cast<TNodeTreeItem*>(item.child(0))->node;
  EXPECT_EQ(c1.getName(), "c1");
  EXPECT_EQ(parentOf(c1), uidOf(clone));
  ASSERT_EQ(item.child(0)->childCount(), 1);
  MemoNode& g = *static_cast<TNodeTreeItem*>(item.child(0)->child(0))->node;
  EXPECT_EQ(parentOf(g), uidOf(c1));
  EXPECT_NE(uidOf(g), "U3");
  // The source keeps its children.
  EXPECT_EQ(static_cast<MemoNodeUI&>(node(t, "s")).aUITN->parent(), nullptr);
  EXPECT_EQ(byUID(t, "U2")->getParentNode(), byUID(t, "U1"));
}

// --- generated nodes

TEST_F(TFormMainScriptNodes, PlusTenOnFiveNodesNumbersFiveToFifteen) {
  openMemoFile({{"A", {{"a1"}, {"a2"}, {"a3"}, {"a4"}, {"a5"}}}});
  EXPECT_EQ(form->UINumbersPlus10(), 11);
  StringList made;
  for (const std::string& name : sortedNames(holder(0)))
    if (name[0] == '0') made.push_back(name);
  EXPECT_EQ(made, (StringList{"00005", "00006", "00007", "00008", "00009", "00010", "00011",
                              "00012", "00013", "00014", "00015"}));
  EXPECT_TRUE(holder(0).flagChanged);

  // The input boxes: swapped when the end is below the begin.
  holder(0).putField_("FormatNumber", "\"No.%d\"");
  ports.prompter.answerText("3");
  ports.prompter.answerText("1");
  EXPECT_EQ(form->UINumbers(), 3);
  EXPECT_NE(holder(0).findNode_("No.1"), nullptr);
  EXPECT_NE(holder(0).findNode_("No.3"), nullptr);
  ports.prompter.answerText("1");
  ports.prompter.answerText("ten");
  EXPECT_EQ(form->UINumbers(), -1);
  EXPECT_EQ(holder(0).countOfNodes(), 19);
}

TEST_F(TFormMainScriptNodes, AFormatNumberTheFormatterRefusesMakesNoNode) {
  openMemoFile({{"A", {{"a1"}}}});
  holder(0).putField_("FormatNumber", "\"%s%n\"");
  EXPECT_EQ(form->UINumbers10(), -1);
  EXPECT_EQ(message().rfind("Failure: Numbers", 0), 0u) << message();
  EXPECT_EQ(names(holder(0)), StringList{"a1"});
}

TEST_F(TFormMainScriptNodes, ManyNumbersAreAskedFirst) {
  openMemoFile({{"A", {{"a1"}}}});
  ports.prompter.answerText("1");
  ports.prompter.answerText("10001");
  ports.prompter.answer(Answer::No);
  EXPECT_EQ(form->UINumbers(), -1);
  EXPECT_EQ(ports.prompter.asked.back().text, "Shall I make 10001 MemoNodes ?");
  EXPECT_EQ(holder(0).countOfNodes(), 1);
}

TEST_F(TFormMainScriptNodes, BreakStopsAGenerator) {
  openMemoFile({{"A", {{"a1"}}}});
  // Pending until the generator lets events run.
  QTimer::singleShot(0, form.get(), [this] { form->breakDoing(); });
  const int made = form->UINumbers100();
  EXPECT_GT(made, 0);
  EXPECT_LT(made, 100);
  EXPECT_EQ(message(), "Break: Numbers " + std::to_string(made) + "/100");
  EXPECT_EQ(holder(0).countOfNodes(), 1 + made);
  EXPECT_FALSE(form->isBusy());
}

TEST_F(TFormMainScriptNodes, DaysOfWeekMonthAndYear) {
  openMemoFile({{"A", {{"a1"}}}});
  const auto made = [&](int count) {
    StringList list = sortedNames(holder(0));
    list.erase(std::remove(list.begin(), list.end(), "a1"), list.end());
    EXPECT_EQ(static_cast<int>(list.size()), count);
    return list;
  };
  // The ISO week of New Year's Day 2025 begins in 2024.
  ports.clock.set({2025, 1, 1, 9, 0, 0, 0});
  EXPECT_EQ(form->UIDaysOfWeek(0), 7);
  EXPECT_EQ(made(7), (StringList{"20241230", "20241231", "20250101", "20250102", "20250103",
                                 "20250104", "20250105"}));

  openMemoFile({{"A", {{"a1"}}}});
  ports.clock.set({2024, 12, 15, 9, 0, 0, 0});
  EXPECT_EQ(form->UIDaysOfMonth(1), 31);
  const StringList january = made(31);
  EXPECT_EQ(january.front(), "20250101");
  EXPECT_EQ(january.back(), "20250131");

  openMemoFile({{"A", {{"a1"}}}});
  holder(0).putField_("FormatDate", "\"YYYY-MM-DD\"");
  ports.prompter.answerText("2024");
  EXPECT_EQ(form->UIDaysOfYearAny(), 366);
  EXPECT_NE(holder(0).findNode_("2024-02-29"), nullptr);
  for (const char* refused : {"10000", "0", "abc", "-1"}) {
    ports.prompter.answerText(refused);
    EXPECT_EQ(form->UIDaysOfYearAny(), -1) << refused;
  }
  ports.prompter.answerText("202402x");
  EXPECT_EQ(form->UIDaysOfMonthAny(), 29);
  ports.prompter.answerText("202413");
  EXPECT_EQ(form->UIDaysOfMonthAny(), -1);
  EXPECT_EQ(holder(0).countOfNodes(), 1 + 366 + 29);
}

TEST_F(TFormMainScriptNodes, GeneratorsInAReadOnlyHolderChangeNothing) {
  openMemoFile({{"A", {{"a1"}, {"a2"}}}});
  MemoNode& a1 = node(holder(0), "a1");
  a1.aMemo = {"x", "y"};
  form->Model2UI();
  holder(0).putReadOnly_(true);
  holder(0).flagChanged = false;
  EXPECT_EQ(form->UINumbers10(), -7);
  EXPECT_EQ(form->UINumbersPlus10(), -7);
  EXPECT_EQ(form->UIDaysOfWeek(0), -7);
  EXPECT_EQ(form->UIDaysOfYear(2024), -7);
  EXPECT_EQ(form->UIMemoNode2NewNodes(), -7);
  EXPECT_EQ(form->UINumbers(), -7);
  EXPECT_EQ(form->UIDaysOfYearAny(), -7);
  EXPECT_TRUE(ports.prompter.asked.empty());  // refused before asking
  EXPECT_EQ(names(holder(0)), (StringList{"a1", "a2"}));
  EXPECT_EQ(a1.getField_("Filename"), "");
  EXPECT_EQ(current(), "a1");
  EXPECT_FALSE(holder(0).flagChanged);
}

TEST_F(TFormMainScriptNodes, MemoLinesBecomeNodesAndBlankLinesDoNot) {
  openMemoFile({{"A", {{"a1"}}}});
  MemoNode& a1 = node(holder(0), "a1");
  a1.aMemo = {"alpha", "", "  ", "beta"};
  form->Model2UI();
  EXPECT_EQ(form->UIMemoNode2NewNodes(), 2);
  EXPECT_EQ(message(), "Done:UIMemoNode2NewNodes count=2");
  EXPECT_EQ(sortedNames(holder(0)), (StringList{"a1", "alpha", "beta"}));
  EXPECT_EQ(node(holder(0), "beta").getField_("Filename"), "\"beta\"");
  EXPECT_EQ(a1.aMemo, (StringList{"alpha", "", "  ", "beta"}));
  EXPECT_TRUE(file().flagChanged);

  // Into a new holder, from the template "*".
  form->gotoMemoNode(&a1);
  MemoNode* model = holder(0).newNode();
  holder(0).putNameChild_as_(model, "*");
  model->putField_("Kind", "\"task\"");
  EXPECT_EQ(form->UIMemoNode2Holder(), 2);
  EXPECT_EQ(message(), "Done:UIMemoNode2Holder count=2");
  ASSERT_EQ(file().countOfHolders(), 2);
  MemoHolder& made = holder(1);
  EXPECT_EQ(form->getCurHolder(), &made);
  EXPECT_EQ(names(made), (StringList{"alpha", "beta"}));
  EXPECT_EQ(current(), "alpha");
  EXPECT_EQ(node(made, "beta").getField_("Kind"), "\"task\"");
  EXPECT_EQ(node(made, "alpha").getField_("Filename"), "\"alpha\"");
  EXPECT_NE(uidOf(node(made, "alpha")), uidOf(node(made, "beta")));
}

// --- new nodes

TEST_F(TFormMainScriptNodes, NewChildrenAndURLNodes) {
  openMemoFile({{"T", {{"r", "U1"}, {"s", "U4"}}, kTree}});
  EXPECT_EQ(form->UINewChild(), 0);
  MemoNode& child = *form->getCurMemoNode();
  EXPECT_EQ(message(), "Done: New Child : " + child.getName());
  EXPECT_EQ(child.getParentNode(), &node(holder(0), "r"));

  form->gotoMemoNode(&node(holder(0), "s"));
  ports.prompter.answerText(" https://example.com/a ");
  EXPECT_EQ(form->UINewChildURL(), 0);
  EXPECT_EQ(message(), "Done: New Child MemoNode URL https://example.com/a");
  EXPECT_EQ(form->getCurMemoNode()->getField_("Filename"), "\"https://example.com/a\"");
  EXPECT_EQ(form->getCurMemoNode()->getParentNode(), &node(holder(0), "s"));

  EXPECT_EQ(form->UINewNodeURL(), -6);  // nothing queued: cancelled
  EXPECT_EQ(message(), "CANCEL: \"New MemoNode URL\"");
  ports.prompter.answerText("http://");
  EXPECT_EQ(form->UINewNodeURL(), 0);
  EXPECT_EQ(message(), "Done: New MemoNode URL " + std::string(TFormMainBaseVRK::kDefaultAddress));
  EXPECT_EQ(ports.prompter.asked.back().title, "New MemoNode URL");
  EXPECT_EQ(ports.prompter.asked.back().text, "Input URL");
}

TEST_F(TFormMainScriptNodes, TheViewPopUpsRunTheCommands) {
  openMemoFile({{"T", {{"r", "U1"}, {"s", "U4"}}, kTree}, {"B", {{"b1"}}}});
  auto& frame = *dynamic_cast<TFrameMemoHolder*>(form->getFrameMemoHolder());
  const auto item = [&](TFrameMemoHolder::MenuKind kind, const QString& sub,
                        const QString& caption) -> QAction* {
    QMenu* menu = frame.menu(kind);
    for (QAction* a : menu->actions())
      if (!sub.isEmpty() && a->menu() && a->text() == sub) menu = a->menu();
    for (QAction* a : menu->actions())
      if (!a->menu() && a->text() == caption) return a;
    return nullptr;
  };
  QAction* newChild = item(TFrameMemoHolder::MenuKind::TV, "New Child", "Text");
  ASSERT_NE(newChild, nullptr);
  ASSERT_TRUE(newChild->isEnabled());
  newChild->trigger();
  EXPECT_EQ(form->getCurMemoNode()->getParentNode(), &node(holder(0), "r"));

  form->gotoMemoNode(&node(holder(0), "s"));
  QAction* moveTo = item(TFrameMemoHolder::MenuKind::TV, "", "MoveTo");
  ASSERT_NE(moveTo, nullptr);
  chooseHolder(0);
  moveTo->trigger();
  EXPECT_EQ(sortedNames(holder(1)), (StringList{"b1", "s"}));
}

TEST_F(TFormMainScriptNodes, AFileNodeTakesTheChosenFile) {
  openMemoFile({{"A", {{"a1"}}}});
  EXPECT_EQ(form->UINewNodeFile(), -6);
  EXPECT_EQ(message(), "CANCEL: New MemoNode File");
  const std::string path = dir.write("data.txt", "some data\r\n");
  ports.prompter.answerText(path);
  EXPECT_EQ(form->UINewNodeFile(), 0);
  EXPECT_EQ(message(), "Done: New MemoNode File " + path);
  MemoNode& made = *form->getCurMemoNode();
  EXPECT_EQ(made.getName(), path);
  EXPECT_EQ(made.aMemo, StringList{"some data"});  // a text file becomes the memo
  EXPECT_EQ(made.getField_("Content-Type"), "\"text/plain\"");
}

// --- save a node as a file

TEST_F(TFormMainScriptNodes, SavingAnHttpNodeProposesItsLocalNameAndAsksForTheField) {
  openMemoFile({{"A", {{"page"}}}});
  MemoNode& page = node(holder(0), "page");
  page.putField_("Filename", "\"http://example.org/dir/page.html\"");
  page.putField_("Content-Transfer-Encoding", "\"URL\"");
  form->Model2UI();
  const std::string saved = dir.file("saved.html");
  ports.prompter.answerText(saved);
  ports.prompter.answer(Answer::Yes);
  holder(0).flagChanged = false;
  EXPECT_EQ(form->UISaveAsMemoNode(), 0);
  ASSERT_EQ(ports.prompter.asked.size(), 2u);
  EXPECT_EQ(ports.prompter.asked[0].kind, Prompt::Kind::SaveFile);
  EXPECT_EQ(ports.prompter.asked[0].initial, file().getDirectory() + "page.html");
  EXPECT_EQ(ports.prompter.asked[1].text, "Change Field named as \"FilenameLocal\" ?");
  EXPECT_EQ(page.getField_("FilenameLocal"), "\"" + saved + "\"");
  EXPECT_EQ(page.getField_("Filename"), "\"http://example.org/dir/page.html\"");
  EXPECT_TRUE(holder(0).flagChanged);
  EXPECT_FALSE(readFile(saved).empty());
  EXPECT_EQ(message(), "Done: MemoNode SaveAs " + saved);

  // The local name is proposed next time; No keeps the field.
  const std::string other = dir.file("other.html");
  ports.prompter.answerText(other);
  ports.prompter.answer(Answer::No);
  EXPECT_EQ(form->UISaveAsMemoNode(), 0);
  EXPECT_EQ(ports.prompter.asked[2].initial, saved);
  EXPECT_EQ(page.getField_("FilenameLocal"), "\"" + saved + "\"");

  // "Save As && Explorer" opens an address with the shell.
  ports.prompter.answer(Answer::Cancel);
  page.putField_("FilenameLocal", "");
  EXPECT_EQ(form->UISaveAsMemoNodeExplorer(), 0);
  ASSERT_FALSE(ports.desktop.calls.empty());
  EXPECT_EQ(ports.desktop.calls.back().rfind("open http://example.org/dir/page.html", 0), 0u)
      << ports.desktop.calls.back();
}

TEST_F(TFormMainScriptNodes, SavingAPlainNodeNamesItsFileAndReportsAFailure) {
  openMemoFile({{"A", {{"note"}}}});
  MemoNode& note = node(holder(0), "note");
  note.aMemo = {"line 1", "line 2"};
  note.putField_("flagSaveAsLog", "\"true\"");
  form->Model2UI();
  const std::string path = dir.file("note.txt");
  ports.prompter.answerText(path);
  EXPECT_EQ(form->UISaveAsMemoNode(), 0);
  EXPECT_EQ(ports.prompter.asked[0].initial, "note");
  EXPECT_EQ(note.getField_("Filename"), "\"" + path + "\"");
  EXPECT_EQ(note.getField_("Filename20241208"), "\"" + path + "\"");
  EXPECT_NE(readFile(path).find("line 2"), std::string::npos);

  // A node without anything to write is no success.
  note.aMemo.clear();
  note.putField_("Filename", "");
  form->Model2UI();
  ports.prompter.answerText(dir.file("empty.txt"));
  EXPECT_EQ(form->UISaveAsMemoNode(), -1);
  EXPECT_EQ(message(), "Failure: MemoNode SaveAs " + dir.file("empty.txt"));
  EXPECT_EQ(note.getField_("Filename"), "");
}

TEST_F(TFormMainScriptNodes, SavingARelativeFileKeepsItRelativeAndExploresItsFolder) {
  openMemoFile({{"A", {{"note"}}}});
  MemoNode& note = node(holder(0), "note");
  note.aMemo = {"text"};
  note.putField_("Filename", "\"./a.txt\"");
  form->Model2UI();
  ports.prompter.answerText(dir.file("b.txt"));
  ports.prompter.answer(Answer::Yes);
  EXPECT_EQ(form->UISaveAsMemoNode(), 0);
  EXPECT_EQ(ports.prompter.asked[0].initial, dir.file("a.txt"));
  EXPECT_EQ(ports.prompter.asked[1].text, "Change Field named as \"Filename\" ?");
  EXPECT_EQ(note.getField_("Filename"), "\"./b.txt\"");
  EXPECT_EQ(readFile(dir.file("b.txt")).substr(0, 4), "text");

  // The same file again asks nothing.
  ports.prompter.answerText(dir.file("b.txt"));
  EXPECT_EQ(form->UISaveAsMemoNode(), 0);
  EXPECT_EQ(ports.prompter.asked.size(), 3u);

  ports.prompter.answer(Answer::Cancel);
  EXPECT_EQ(form->UISaveAsMemoNodeExplorer(), 0);
  const std::string folder = extractFilePath_(dir.file("b.txt"));
  EXPECT_EQ(ports.desktop.calls.back(), "explore " + folder);
  EXPECT_EQ(message(), "Done: Explore " + folder);
  note.putField_("Filename", "");
  ports.prompter.answer(Answer::Cancel);
  EXPECT_EQ(form->UISaveAsMemoNodeExplorer(), -1);
  EXPECT_EQ(message(), "Do not open directory. because filename is empty.");
}

// --- the screen image on an X server

// Started offscreen (as ctest does), the test runs itself again under
// xvfb-run; it skips when xvfb-run is missing.
class TFormMainScriptNodesXvfb : public TFormMainScriptNodes {};

TEST_F(TFormMainScriptNodesXvfb, ScreenImageIsTheScreenWithoutTheWindow) {
  if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
    if (QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty())
      GTEST_SKIP() << "xvfb-run is missing (scripts/setup.sh installs it)";
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(
        QStringLiteral("xvfb-run"),
        {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1280x1024x24"),
         QCoreApplication::applicationFilePath(),
         QStringLiteral(
             "--gtest_filter=TFormMainScriptNodesXvfb.ScreenImageIsTheScreenWithoutTheWindow")});
    ASSERT_TRUE(child.waitForFinished(90000)) << "xvfb-run did not end";
    const QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test")) &&
                !output.contains(QStringLiteral("[  SKIPPED ]")))
        << output.toStdString();
    return;
  }
  openMemoFile({{"A", {{"a1"}}}});
  // A red square that only the hidden window can let through.
  QWidget marker;
  marker.setWindowFlags(Qt::FramelessWindowHint);
  marker.setAutoFillBackground(true);
  QPalette palette = marker.palette();
  palette.setColor(QPalette::Window, Qt::red);
  marker.setPalette(palette);
  marker.setGeometry(0, 0, 300, 300);
  marker.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&marker));
  form->setGeometry(0, 0, 640, 480);
  form->show();
  form->raise();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  QTest::qWait(200);
  const QImage before = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
  ASSERT_NE(before.pixelColor(150, 150), QColor(Qt::red));  // the window covers it

  EXPECT_EQ(form->UINewNodeImageScreen(), 0);
  EXPECT_EQ(message(), "Done: New Node Image Screen");
  MemoNode& shot = *form->getCurMemoNode();
  EXPECT_EQ(shot.getName().substr(shot.getName().size() - 4), ".bmp");
  EXPECT_EQ(shot.getField_("Content-Type"), "\"image/bmp\"");
  ASSERT_TRUE(shot.aContent && shot.aContent->aData);
  const std::string& bytes = *shot.aContent->aData;
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  const QImage image = QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()),
                                        static_cast<int>(bytes.size()), "BMP");
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QGuiApplication::primaryScreen()->geometry().size());
  EXPECT_EQ(image.pixelColor(150, 150), QColor(Qt::red));
  EXPECT_TRUE(form->isVisible());
  if (const char* keep = std::getenv("VRK_KEEP_SCREEN_IMAGE")) image.save(QString::fromUtf8(keep));
}

}  // namespace
}  // namespace vrk::windowtest

namespace vrk::windowtest {
namespace {

// "New Child/Convert": the child holds the memo converted, is linked to its
// node, names its file for what it holds, and survives a save byte for byte.
TEST_F(TFormMainScriptNodes, ConvertedChildrenAndTheirFiles) {
  const std::string memo = SJ("表示 ｶﾞ \\") + "<BR/>\r\n" + "ascii<BR/>\r\n";
  openMemoFile(
      {{"A",
        {},
        kTree,
        true,
        "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<Holder name=\"A\">\r\n" + kTree +
            "  <Record name=\"letter\">\r\n    <Field UID=\"u1\" Filename=\"./mail.txt\" />\r\n" +
            memo +
            "  </Record>\r\n  <Record name=\"blob\">\r\n    <Field UID=\"u2\" "
            "Content-Transfer-Encoding=\"binary\" />\r\n  </Record>\r\n</Holder>\r\n"}});
  MemoHolder& a = holder(0);
  form->setCurMemoNode(&node(a, "letter"));

  ASSERT_EQ(form->UINewChildConvert("SJIS2JIS"), 0) << message();
  MemoNode& jis = *form->getCurMemoNode();
  EXPECT_EQ(jis.getName(), "letter SJIS2JIS");
  EXPECT_EQ(message(), "Done: New Child SJIS2JIS : letter SJIS2JIS");
  EXPECT_EQ(parentOf(jis), "u1");
  EXPECT_EQ(jis.getField_("Filename"), "\"./mail.jis\"");
  const StringList jisMemo{"\x1B$BI=<(\x1B(J \x1B$B%,\x1B(J \\", "ascii"};
  EXPECT_EQ(jis.aMemo, jisMemo);

  // Saved and read again, the escapes are all there.
  std::string why;
  ASSERT_EQ(form->saveHolder_(a, &why), 0) << why;
  MemoFile reread;
  MemoHolder* copy = reread.newHolderAt_(0);
  StringList errors;
  ASSERT_EQ(readHolderFile_(*copy, a.getFileName(), errors), 0) << errors.size();
  ASSERT_NE(copy->findNode_("letter SJIS2JIS"), nullptr);
  EXPECT_EQ(copy->findNode_("letter SJIS2JIS")->aMemo, jisMemo);

  // And back: the half-width kana come back full-width, as JIS has them.
  ASSERT_EQ(form->UINewChildConvert("JIS2SJIS"), 0);
  EXPECT_EQ(form->getCurMemoNode()->aMemo, (StringList{SJ("表示 ガ \\"), "ascii"}));
  EXPECT_EQ(form->getCurMemoNode()->getField_("Filename"), "\"./mail.sjis\"");

  // A node without a file gives a child without one; a binary node none.
  form->setCurMemoNode(&node(a, "blob"));
  EXPECT_EQ(form->UINewChildConvert("EUC2SJIS"), -2);
  EXPECT_EQ(message(), "Stop: Current MemoNode is binary.");
  EXPECT_EQ(a.findNode_("blob EUC2SJIS"), nullptr);
}

}  // namespace
}  // namespace vrk::windowtest
