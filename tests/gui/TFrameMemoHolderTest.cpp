// The holder frame in the main window: selection, checks, drag and drop in
// the check list and the tree, Left/Right between holders, the wheel, the
// name commands, clones, the list's query columns and its CSV.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QWheelEvent>

#include "MainWindowTestSupport.h"
#include "gui/ViewTestSupport.h"
#include "platform/SJ.h"
#include "platform/qt/QtSjis.h"
#include "shell/TFrameMemoHolder.h"

namespace vrk::windowtest {
namespace {

using viewtest::outline;
using Kind = TFrameMemoHolder::MenuKind;

const std::string kTree = "  <Field ModeNodesMngr=\"TreeView\"/>\r\n";
const std::string kList = "  <Field ModeNodesMngr=\"ListView\" QueryNode=\"q\"/>\r\n";

QAction* actionAt(QMenu* menu, std::string_view path) {
  for (std::size_t slash = path.find('/'); menu && slash != std::string_view::npos;
       slash = path.find('/')) {
    const QString title = QString::fromUtf8(path.data(), static_cast<qsizetype>(slash));
    QMenu* sub = nullptr;
    for (QAction* a : menu->actions())
      if (a->menu() && a->text() == title) sub = a->menu();
    menu = sub;
    path.remove_prefix(slash + 1);
  }
  if (!menu) return nullptr;
  for (QAction* a : menu->actions())
    if (!a->menu() && a->text() == QString::fromUtf8(path.data(), path.size())) return a;
  return nullptr;
}

// A whole drag of the view's own items (or of something else) onto a point
// of its viewport.
void dragOnto(QAbstractItemView& view, QPoint at, bool ownItems = true) {
  QMimeData data;
  if (ownItems) markDragSource_(data, view);
  const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
  QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view.viewport(), &enter);
  QDragMoveEvent move(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view.viewport(), &move);
  QDropEvent drop(QPointF(at), actions, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view.viewport(), &drop);
}

class TFrameMemoHolderTest : public MainWindowFixture {
 protected:
  TFrameMemoHolder& frame() { return *dynamic_cast<TFrameMemoHolder*>(form->getFrameMemoHolder()); }
  MemoHolderUI& ui(int index) { return static_cast<MemoHolderUI&>(holder(index)); }
  MemoNode& node(int holderIndex, std::string_view name) {
    return *holder(holderIndex).findNode_(name);
  }
  std::string current() { return form->getCurMemoNode()->getName(); }
  std::string names(int index) {
    std::string out;
    for (int i = 0; i < holder(index).countOfNodes(); ++i)
      out += (i ? " " : "") + holder(index).nodeAt_(i)->getName();
    return out;
  }
  void trigger(Kind kind, std::string_view path) {
    QAction* action = actionAt(frame().menu(kind), path);
    ASSERT_NE(action, nullptr) << path;
    ASSERT_TRUE(action->isEnabled()) << path;
    action->trigger();
  }
  TNodeTreeItem* itemOf(std::string_view name) {
    return static_cast<MemoNodeUI&>(node(0, name)).aUITN;
  }
  QPoint centreOf(QTreeWidgetItem* item) { return ui(0).aUITV->visualItemRect(item).center(); }
};

TEST_F(TFrameMemoHolderTest, KeysAndClicksChooseTheCurrentNodeAndTheStatusShowsItsPlace) {
  openMemoFile({{"A", {{"a1"}, {"a2"}, {"a3"}}}});
  TCheckListBoxUI& list = *ui(0).aUILB;
  ASSERT_EQ(current(), "a1");
  const std::size_t visited = form->aHistory.count();
  EXPECT_EQ(frame().statusText(), "1 / 3");
  holder(0).flagChanged = false;

  QTest::keyClick(&list, Qt::Key_Down);
  EXPECT_EQ(current(), "a2");
  EXPECT_EQ(frame().statusText(), "2 / 3");
  EXPECT_TRUE(holder(0).flagChanged);  // the holder records its current node
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                    list.visualItemRect(list.item(2)).center());
  EXPECT_EQ(current(), "a3");
  EXPECT_EQ(form->aHistory.count(), visited + 2);  // each choice goes into the history

  // In the tree the status begins with the outline number.
  openMemoFile({{"T", {{"r", "U1"}, {"c1", "U2", "U1"}, {"s", "U3"}}, kTree}});
  ASSERT_EQ(current(), "r");
  TTreeViewUI& tree = *ui(0).aUITV;
  QTest::keyClick(&tree, Qt::Key_Down);
  EXPECT_EQ(current(), "c1");
  EXPECT_EQ(frame().statusText(), "[1/1]   2 / 3");
  // A right press chooses the item first, so that its pop-up menu acts on it.
  QApplication::setActiveWindow(form.get());
  tree.setFocus();
  const auto& s = static_cast<MemoNodeUI&>(node(0, "s"));
  QTest::mousePress(tree.viewport(), Qt::RightButton, {}, tree.visualItemRect(s.aUITN).center());
  EXPECT_EQ(current(), "s");
  EXPECT_EQ(frame().statusText(), "[2]   3 / 3");
}

TEST_F(TFrameMemoHolderTest, TickingTheShownNodeKeepsTheEditorsTextAndMarksIt) {
  openMemoFile({{"A", {{"a1"}, {"a2"}}}});
  QPlainTextEdit* memo = frame().nodeEditor().memoEditor();
  memo->setPlainText("typed before the tick");
  ui(0).aUILB->item(0)->setCheckState(Qt::Checked);  // as the user's click does
  EXPECT_TRUE(node(0, "a1").isMarked());
  EXPECT_EQ(node(0, "a1").aMemo, StringList{"typed before the tick"});
  EXPECT_EQ(memo->toPlainText(), "typed before the tick");
  EXPECT_TRUE(holder(0).flagChanged);

  ui(0).aUILB->item(1)->setCheckState(Qt::Checked);  // not the shown node
  EXPECT_TRUE(node(0, "a2").isMarked());
  EXPECT_EQ(holder(0).countOfMarked(), 2);
}

TEST_F(TFrameMemoHolderTest, CheckListDropMovesTheSelectedItem) {
  struct Case {
    const char* what;
    int selected;
    int onto;  // row under the drop point; -1 below the last item
    bool ownItems;
    bool readOnly;
    const char* order;
  } cases[] = {
      {"first onto the last", 0, 2, true, false, "a2 a3 a1"},
      {"last onto the first", 2, 0, true, false, "a3 a1 a2"},
      {"below the end", 0, -1, true, false, "a2 a3 a1"},
      {"onto itself", 1, 1, true, false, "a1 a2 a3"},
      {"dropped from elsewhere", 0, 2, false, false, "a1 a2 a3"},
      {"ReadOnly is set", 0, 2, true, true, "a1 a2 a3"},
  };
  for (const Case& c : cases) {
    openMemoFile({{"A", {{"a1"}, {"a2"}, {"a3"}}}});
    TCheckListBoxUI& list = *ui(0).aUILB;
    form->CheckBoxReadOnly->setChecked(c.readOnly);
    list.setCurrentRow(c.selected);
    holder(0).flagChanged = false;
    const QPoint at = c.onto < 0 ? QPoint(5, list.viewport()->height() - 3)
                                 : list.visualItemRect(list.item(c.onto)).center();
    dragOnto(list, at, c.ownItems);
    EXPECT_EQ(names(0), c.order) << c.what;
    const bool moved = std::string(c.order) != "a1 a2 a3";
    EXPECT_EQ(holder(0).flagChanged, moved) << c.what;
    if (moved) {
      const std::string chosen = "a" + std::to_string(c.selected + 1);
      EXPECT_EQ(static_cast<TCheckListItem*>(list.currentItem())->node->getName(), chosen)
          << c.what;
      EXPECT_EQ(frame().statusText(),
                std::to_string(holder(0).indexOfNode_(form->getCurMemoNode()) + 1) + " / 3");
    }
    form->CheckBoxReadOnly->setChecked(false);
  }
}

TEST_F(TFrameMemoHolderTest, TreeDropPlacesBeforeTheTargetAndNeverBelowItself) {
  struct Case {
    const char* what;
    std::vector<const char*> selected;
    const char* onto;
    const char* outline;
    const char* message;
  } cases[] = {
      {"one item before a child", {"s"}, "c1", "r .s .c1 ..g .c2", ""},
      {"a parent to the top, child along", {"c1"}, "s", "r .c2 c1 .g s", ""},
      {"one item into its own subtree", {"c1"}, "g", "r .c1 ..g .c2 s", ""},
      {"two items before a child", {"c2", "s"}, "c1", "r .c2 .s .c1 ..g", ""},
      {"three items onto one of them", {"c1", "c2", "s"}, "c2", "r .c1 ..g .c2 s", "Don't Move."},
      // A cycle: c1 would become a child of its own child g.
      {"two items into a subtree of one", {"c1", "c2"}, "g", "r .c1 ..g .c2 s", "Don't Move."},
  };
  for (const Case& c : cases) {
    openMemoFile(
        {{"T",
          {{"r", "U1"}, {"c1", "U2", "U1"}, {"g", "U3", "U2"}, {"c2", "U4", "U1"}, {"s", "U5"}},
          kTree}});
    TTreeViewUI& tree = *ui(0).aUITV;
    form->messageDoing_("");
    tree.clearSelection();
    for (const char* name : c.selected) itemOf(name)->setSelected(true);
    dragOnto(tree, centreOf(itemOf(c.onto)));
    EXPECT_EQ(outline(holder(0)), c.outline) << c.what;
    EXPECT_EQ(message(), c.message) << c.what;
    // Every node's ParentNodeID follows its item, and none is its own ancestor.
    for (int i = 0; i < holder(0).countOfNodes(); ++i) {
      MemoNode& n = *holder(0).nodeAt_(i);
      const MemoNode* parent = n.getParentNode();
      EXPECT_EQ(n.getField_("ParentNodeID"), parent ? parent->getField_("UID") : "")
          << c.what << " " << n.getName();
    }
  }
  // The moved parent keeps its child expanded.
  EXPECT_TRUE(itemOf("c1")->isExpanded());
}

TEST_F(TFrameMemoHolderTest, TreeDropIsRefusedWhileReadOnlyAndFromAnotherView) {
  openMemoFile({{"T", {{"r", "U1"}, {"c1", "U2", "U1"}, {"s", "U3"}}, kTree}});
  TTreeViewUI& tree = *ui(0).aUITV;
  tree.clearSelection();
  itemOf("s")->setSelected(true);
  dragOnto(tree, centreOf(itemOf("c1")), false);
  form->CheckBoxReadOnly->setChecked(true);
  dragOnto(tree, centreOf(itemOf("c1")));
  EXPECT_EQ(outline(holder(0)), "r .c1 s");
}

TEST_F(TFrameMemoHolderTest, LeftAndRightKeysStepThroughTheHolders) {
  openMemoFile({{"A", {{"a1"}}}, {"B", {{"b1", "U1"}}, kTree}, {"C", {{"c1"}}, kList}});
  const auto release = [&](int shown, Qt::Key key) {
    QWidget* target = ui(shown).getView();
    if (auto* list = dynamic_cast<TListViewUI*>(target)) target = list->report();
    QTest::keyRelease(target, key);
    return file().indexOfHolder_(form->getCurHolder());
  };
  EXPECT_EQ(release(0, Qt::Key_Up), 0);
  EXPECT_EQ(release(0, Qt::Key_Left), 0);  // at the first holder
  EXPECT_EQ(release(0, Qt::Key_Right), 1);
  EXPECT_EQ(release(1, Qt::Key_Right), 2);  // the tree
  EXPECT_EQ(release(2, Qt::Key_Right), 2);  // the list, at the last holder
  EXPECT_EQ(release(2, Qt::Key_Left), 1);
  EXPECT_EQ(release(1, Qt::Key_Left), 0);
  EXPECT_EQ(current(), "a1");
  EXPECT_EQ(form->TabControl1->currentIndex(), 0);
}

TEST_F(TFrameMemoHolderTest, WheelWalksTheNodesUnlessAMemoBoxOrAWebPageWantsIt) {
  openMemoFile({{"A", {{"a1"}, {"a2"}, {"a3"}}}});
  const auto wheel = [&](int notches) {
    QWheelEvent event(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&frame(), &event);
    return current();
  };
  EXPECT_EQ(wheel(-1), "a2");
  EXPECT_EQ(wheel(-2), "a3");  // and the last stays
  EXPECT_EQ(wheel(1), "a2");

  node(0, "a2").putField_("Content-Transfer-Encoding", "\"URL\"");
  EXPECT_EQ(wheel(-1), "a2");
  EXPECT_EQ(wheel(1), "a2");
  node(0, "a2").putField_("FlagWheel", "\"true\"");
  EXPECT_EQ(wheel(-1), "a3");

  QApplication::setActiveWindow(form.get());
  frame().nodeEditor().memoEditor()->setFocus();
  if (QApplication::focusWidget() != frame().nodeEditor().memoEditor())
    GTEST_SKIP() << "this platform gives no focus";
  EXPECT_EQ(wheel(1), "a3");
}

TEST_F(TFrameMemoHolderTest, NameRules) {
  const struct {
    const char* name;
    std::optional<std::string> cut;
  } cuts[] = {{"word", std::nullopt},
              {"  first second third ", "second third"},
              {"a\tb", "b"},
              {"x   ", std::nullopt}};
  for (const auto& c : cuts) EXPECT_EQ(cutFirstWord_(c.name), c.cut) << c.name;
  EXPECT_EQ(cutFirstWord_(SJ("● word")), "word");

  EXPECT_EQ(pastedName_("ab\r\ncd\n"), "abcd");
  EXPECT_EQ(pastedName_(" \r\n\t"), std::nullopt);
}

TEST_F(TFrameMemoHolderTest, RenameItemsActOnTheCurrentNode) {
  openMemoFile({{"T", {{"r", "U1"}, {"dir\\sub/file9 x", "U2"}}, kTree}});
  form->gotoMemoNode(&node(0, "dir\\sub/file9 x"));
  const auto name = [&] { return current(); };

  trigger(Kind::TV, "Rename/Inc1");
  EXPECT_EQ(name(), "dir\\sub/file0 x");  // the first word's last digits
  trigger(Kind::TV, "Rename/ExtractFilename");
  EXPECT_EQ(name(), "file0 x");
  EXPECT_EQ(ui(0).aUITV->nameOf_(static_cast<MemoNodeUI&>(*form->getCurMemoNode())), "file0 x");
  trigger(Kind::TV, "Rename/Cut1");
  EXPECT_EQ(name(), "x");
  trigger(Kind::TV, "Rename/Cut1");
  EXPECT_EQ(name(), "x");
  EXPECT_EQ(message(), "Do not rename empty characters.");

  QGuiApplication::clipboard()->setText(QStringLiteral("two\nlines"));
  trigger(Kind::TV, "Rename/Paste");
  EXPECT_EQ(name(), "twolines");
  QGuiApplication::clipboard()->setText(QStringLiteral(" \n "));
  trigger(Kind::TV, "Rename/Paste");
  EXPECT_EQ(name(), "twolines");
  trigger(Kind::TV, "Rename/Copy");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("twolines"));

  form->CheckBoxReadOnly->setChecked(true);
  trigger(Kind::TV, "Rename/Dec1");
  EXPECT_EQ(message(), "UI ReadOnly");
  form->CheckBoxReadOnly->setChecked(false);

  // The mark items get their captions when the submenu opens; marks stack.
  QAction* star = actionAt(frame().menu(Kind::LB), "Rename/★");
  star->setText(QStringLiteral("?"));
  openMemoFile({{"A", {{"a1"}}}});
  for (QAction* a : frame().menu(Kind::LB)->actions())
    if (a->menu() && a->text() == QStringLiteral("Rename")) emit a->menu()->aboutToShow();
  EXPECT_EQ(star->text(), QStringLiteral("★"));
  star->trigger();
  star->trigger();
  const std::string mark = SJ("★");
  EXPECT_EQ(name(), mark + " " + mark + " a1");
  EXPECT_EQ(qStringToSjis(ui(0).aUILB->item(0)->text()), mark + " " + mark + " a1");
  EXPECT_TRUE(holder(0).flagChanged);
}

TEST_F(TFrameMemoHolderTest, CloneXAsksForTheCountAndRemembersIt) {
  openMemoFile({{"A", {{"a1"}}}});
  ports.prompter.answerText("3");
  trigger(Kind::LB, "Clone/X");
  ASSERT_EQ(ports.prompter.asked.size(), 1u);
  EXPECT_EQ(ports.prompter.asked[0].title, "Input Number");
  EXPECT_EQ(ports.prompter.asked[0].initial, "15");
  EXPECT_EQ(holder(0).countOfNodes(), 4);

  ports.prompter.answerText("0");  // at least one
  trigger(Kind::TV, "Clone/X");
  EXPECT_EQ(ports.prompter.asked[1].initial, "3");
  EXPECT_EQ(holder(0).countOfNodes(), 5);
  ports.prompter.answerText("");
  trigger(Kind::LV, "Clone/X");
  ports.prompter.answer(Answer::Cancel);
  trigger(Kind::LB, "Clone/X");
  ports.prompter.answerText("x2");
  trigger(Kind::LB, "Clone/X");
  EXPECT_EQ(holder(0).countOfNodes(), 5);
  EXPECT_EQ(ports.prompter.asked[3].initial, "0");
  trigger(Kind::LB, "Clone/10");
  EXPECT_EQ(holder(0).countOfNodes(), 15);
}

TEST_F(TFrameMemoHolderTest, ShowQueryMakesColumnsFromTheQueryNode) {
  openMemoFile({{"L", {{"q"}, {"n1"}, {"n2"}}, kList}});
  node(0, "q").aMemo = {"# Ignored 20", "  ", "Price", "Title 80", "Neg -5"};
  node(0, "n1").putField_("Price", "\"12\"");
  node(0, "n2").putField_("title", "\"T2\"");
  TListViewUI& list = *ui(0).aUILV;
  list.setViewStyle_(ListStyle::Icon);

  trigger(Kind::LV, "Show Query");
  ASSERT_EQ(list.countOfColumns(), 4);
  EXPECT_EQ(list.columnCaption(0), "name");
  EXPECT_EQ(list.columnCaption(1), "Price");
  EXPECT_EQ(list.report()->columnWidth(1), 50);  // ten times five letters
  EXPECT_EQ(list.report()->columnWidth(2), 80);
  EXPECT_EQ(list.report()->columnWidth(3), 30);
  const int n1 = holder(0).indexOfNode_(&node(0, "n1"));
  const int n2 = holder(0).indexOfNode_(&node(0, "n2"));
  EXPECT_EQ(list.subItemText(n1, 1), "\"12\"");
  EXPECT_EQ(list.subItemText(n2, 2), "\"T2\"");
  EXPECT_EQ(list.subItemText(n2, 1), "");
  EXPECT_EQ(list.nodeAt_(n1), &node(0, "n1"));  // the name column stays the nodes'
  EXPECT_EQ(list.viewStyle(), ListStyle::Report);
  EXPECT_EQ(message(), "Done");

  trigger(Kind::LV, "ViewStyle/SmallIcon");
  EXPECT_EQ(list.viewStyle(), ListStyle::SmallIcon);
}

TEST_F(TFrameMemoHolderTest, SaveAsCSVWritesTheListOrReportsTheFailure) {
  openMemoFile({{"L", {{"q"}, {"n1"}}, kList}});
  node(0, "q").aMemo = {"Price", "Size"};
  node(0, "n1").putField_("Price", "\"12\"");
  trigger(Kind::LV, "Show Query");

  const std::string path = dir.file("out.csv");
  ports.prompter.answerText(path);
  EXPECT_EQ(frame().saveAsCSV(), 0);
  EXPECT_EQ(ports.prompter.asked.back().initial, dir.file("L.csv"));
  EXPECT_EQ(message(), "Done: Save As CSV");
  const std::string written = readFile(path);
  EXPECT_EQ(written.substr(0, 2), "# ");
  EXPECT_NE(written.find("\r\nPrice,Size\r\n,\r\n\"12\",\r\n"), std::string::npos) << written;

  ports.prompter.answerText(dir.file("missing/out.csv"));
  EXPECT_EQ(frame().saveAsCSV(), -1);
  EXPECT_EQ(message().rfind("Failure: Save As CSV ", 0), 0u) << message();
  ports.prompter.answer(Answer::Cancel);
  EXPECT_EQ(frame().saveAsCSV(), -1);

  openMemoFile({{"A", {{"a1"}}}});  // not a list
  EXPECT_EQ(frame().saveAsCSV(), -1);
  EXPECT_EQ(frame().showQuery(), -1);
}

TEST_F(TFrameMemoHolderTest, SwitchingTheViewKeepsOrderAndCurrentNode) {
  openMemoFile({{"A", {{"a1", "U1"}, {"a2", "U2", "U1"}, {"a3", "U3"}}}});
  form->gotoMemoNode(&node(0, "a2"));
  frame().switchViewMode_(NodesMode::TreeView);
  EXPECT_EQ(outline(holder(0)), "a1 .a2 a3");
  EXPECT_FALSE(ui(0).aUILB->isVisible());
  EXPECT_TRUE(ui(0).aUITV->isVisible());
  EXPECT_EQ(ui(0).aUITV->selectedNode(), &node(0, "a2"));
  EXPECT_EQ(frame().statusText(), "[1/1]   2 / 3");
  frame().switchViewMode_(NodesMode::ListView);
  EXPECT_EQ(names(0), "a1 a2 a3");
  EXPECT_FALSE(ui(0).aUITV->isVisible());
  EXPECT_EQ(frame().statusText(), "2 / 3");
}

TEST_F(TFrameMemoHolderTest, NewChildGrepAnyIsGuardedAndOpensTheGrepDialog) {
  openMemoFile({{"T", {{"r", "U1"}}, kTree}});
  form->CheckBoxReadOnly->setChecked(true);
  trigger(Kind::TV, "New Child/Grep/Any");
  EXPECT_EQ(message(), "UI ReadOnly");
  form->CheckBoxReadOnly->setChecked(false);
  // The dialog opens; cancelling it makes nothing.
  QTimer::singleShot(0, form.get(), [] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
  });
  trigger(Kind::TV, "New Child/Grep/Any");
  EXPECT_EQ(message(), "Cancel \"New Child Grep\"");
  EXPECT_TRUE(actionAt(frame().menu(Kind::TV), "New Child/Grep/<a href")->isEnabled());
}

}  // namespace
}  // namespace vrk::windowtest
