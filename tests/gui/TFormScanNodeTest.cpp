// The node scan window: working copies of the node's parts, the find and
// replace steps of a page ("Replace All" replaces every occurrence), and the
// node's grep lines.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "MainWindowTestSupport.h"
#include "search/TFormGroupTree.h"
#include "search/TFormScanNode.h"
#include "search/TFormSelField.h"

namespace vrk::windowtest {
namespace {

class TFormScanNodeTest : public MainWindowFixture {};

TEST_F(TFormScanNodeTest, PagesAreWorkingCopiesWithFindAndReplace) {
  openMemoFile({{"H", {{"n"}}}});
  MemoNode* node = form->getCurMemoNode();
  node->aMemo = {"abc abc", "ABC"};
  node->aComment = StringList{"note abc"};
  QTimer::singleShot(0, form.get(), [] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
  });
  EXPECT_EQ(form->UIShowScanMemoNode(), 0);
  EXPECT_EQ(message(), "Show FormScanMemoNode 2024/12/08 10:10:10:123");
  TFormScanNode& window = *form->getFormScanNode();
  EXPECT_EQ(window.windowTitle(), "FormScanNode work : H : n");
  EXPECT_EQ(window.editor_(TFormScanNode::Memo)->toPlainText(), "abc abc\nABC");
  EXPECT_EQ(window.editor_(TFormScanNode::Comment)->toPlainText(), "note abc");

  // Find next: exact case, from the end of the selection.
  EXPECT_TRUE(window.findNext_(TFormScanNode::Memo, "abc"));
  EXPECT_EQ(window.editor_(TFormScanNode::Memo)->textCursor().selectionStart(), 0);
  EXPECT_TRUE(window.findNext_(TFormScanNode::Memo, "abc"));
  EXPECT_EQ(window.editor_(TFormScanNode::Memo)->textCursor().selectionStart(), 4);
  EXPECT_FALSE(window.findNext_(TFormScanNode::Memo, "abc"));

  EXPECT_TRUE(window.replaceOne_(TFormScanNode::Comment, "abc", "x"));
  EXPECT_EQ(window.editor_(TFormScanNode::Comment)->toPlainText(), "note x");
  EXPECT_EQ(window.replaceAll_(TFormScanNode::Memo, "abc", "y"), 2);
  EXPECT_EQ(window.editor_(TFormScanNode::Memo)->toPlainText(), "y y\nABC");
  EXPECT_FALSE(window.replaceOne_(TFormScanNode::Memo, "zz", "y"));
  EXPECT_EQ(ports.prompter.asked.back().text, "Could not find \"zz\" in Memo1.");
  EXPECT_EQ(node->aMemo, (StringList{"abc abc", "ABC"}));  // the node is untouched

  window.keywordBox()->setCurrentText("abc");
  EXPECT_EQ(window.grep(), 2);  // Ignore is off here
  EXPECT_EQ(window.grepEntries().front().text, ":n:Memo:000001:      1: abc abc");
  EXPECT_EQ(window.statusText(), "*Done Grep* count=2 KeyWord=abc");
  window.ignoreBox()->setChecked(true);
  EXPECT_EQ(window.grep(), 3);
}

TEST_F(TFormScanNodeTest, GroupTreeAndSelFieldOnlyShowAndHide) {
  EXPECT_EQ(form->runCommandNamed_("T_GroupTree"), 0);
  auto* group = form->findChild<TFormGroupTree*>();
  ASSERT_NE(group, nullptr);
  EXPECT_TRUE(group->isVisible());
  group->button_("Hide")->click();
  EXPECT_FALSE(group->isVisible());
  EXPECT_EQ(form->runCommandNamed_("T_SelField"), 0);
  auto* sel = form->findChild<TFormSelField*>();
  ASSERT_NE(sel, nullptr);
  sel->button_("Hide")->click();
  EXPECT_FALSE(sel->isVisible());
}

}  // namespace
}  // namespace vrk::windowtest
