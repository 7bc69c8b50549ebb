// The selected-node editor: each page's edits and statuses, nodes listed
// twice, freed since, read-only, and the hand-over from the scan window.
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "MainWindowTestSupport.h"
#include "platform/SJ.h"
#include "search/TFormEditSelNode.h"
#include "search/TFormScanHolders.h"

namespace vrk::windowtest {
namespace {

class TFormEditSelNodeTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    openMemoFile({{"H", {{"a"}, {"b"}, {"c"}}}});
    editor = form->getFormEditSelNode();
  }
  MemoNode* node(const char* name) { return holder(0).findNode_(name); }
  // a, b and a again (listed twice), by position.
  void listABA() { editor->putNodes_({{"", node("a")}, {"", node("b")}, {"", node("a")}}, true); }
  void name(const std::string& text) { editor->nameBox()->setCurrentText(sjisToQString(text)); }

  TFormEditSelNode* editor = nullptr;
};

TEST_F(TFormEditSelNodeTest, NamePageRenamesEachNodeOnce) {
  listABA();
  ASSERT_EQ(editor->list()->count(), 3);
  EXPECT_EQ(editor->list()->item(2)->text(), "2");
  holder(0).flagChanged = false;
  name(SJ(u8"★"));
  EXPECT_EQ(editor->editName_(TFormEditSelNode::NameEdit::InsertHeadPlus), 2);
  EXPECT_EQ(editor->statusText(), "Done: Insert Head Name+ 2");
  EXPECT_NE(holder(0).findNode_(SJ(u8"★ a")), nullptr);
  EXPECT_NE(holder(0).findNode_(SJ(u8"★ b")), nullptr);
  EXPECT_TRUE(holder(0).flagChanged);
  name("x");
  EXPECT_EQ(editor->editName_(TFormEditSelNode::NameEdit::AddTailPlus), 2);
  EXPECT_EQ(editor->statusText(), "Done: Add Tail Name+2");
  EXPECT_NE(holder(0).findNode_(SJ(u8"★ a x")), nullptr);
  name("  ");
  EXPECT_EQ(editor->editName_(TFormEditSelNode::NameEdit::Replace), -1);
  EXPECT_EQ(editor->statusText(), "Empty KeyWord");
}

TEST_F(TFormEditSelNodeTest, MemoAndCommentPagesSkipBinaryMemos) {
  node("a")->aMemo = {"1", "2", "3"};
  node("b")->putField_("Content-Transfer-Encoding", "\"binary\"");
  node("b")->aMemo = {};
  listABA();
  editor->memoBox()->setPlainText("x\ny");
  EXPECT_EQ(editor->editLines_(TFormEditSelNode::LinesEdit::InsertHead, false), 1);
  EXPECT_EQ(editor->statusText(), "Done: Insert Head Memo 1");
  EXPECT_EQ(node("a")->aMemo, (StringList{"x", "y", "1", "2", "3"}));
  EXPECT_TRUE(node("b")->aMemo.empty());
  editor->commentBox()->setPlainText("c");
  EXPECT_EQ(editor->editLines_(TFormEditSelNode::LinesEdit::AddTail, true), 2);
  EXPECT_EQ(editor->statusText(), "Done: Insert add Tail Comment 2");
  EXPECT_EQ(node("b")->aComment, StringList{"c"});
  editor->memoBox()->setPlainText(" \n");
  EXPECT_EQ(editor->editLines_(TFormEditSelNode::LinesEdit::Replace, false), -1);
  EXPECT_EQ(editor->statusText(), "Empty!");
}

TEST_F(TFormEditSelNodeTest, FieldPageQuotesOnceAndSkipsReadOnlyAndFreedNodes) {
  node("c")->putReadOnly_(true);
  editor->putNodes_({{"", node("a")}, {"", node("b")}, {"", node("c")}}, true);
  const struct {
    const char* typed;
    const char* stored;
  } cases[] = {{"abc", "\"abc\""}, {"\"abc\"", "\"abc\""}, {"", "\"\""}};
  editor->fieldBox()->setCurrentText("Kind");
  for (const auto& c : cases) {
    editor->valueBox()->setCurrentText(c.typed);
    EXPECT_EQ(editor->setField(), 2) << c.typed;
    EXPECT_EQ(node("a")->getField_("Kind"), c.stored) << c.typed;
    EXPECT_EQ(editor->statusText(),
              std::string("*Done Set Field count=2 Field=Kind Value=") + c.stored);
  }
  EXPECT_EQ(node("c")->getField_("Kind"), "");  // read-only node

  // b freed since it was listed.
  form->setCurMemoNode(node("a"));
  holder(0).deleteNode_(node("b")).reset();
  EXPECT_EQ(editor->deleteField(), 1);
  EXPECT_EQ(editor->statusText(), "*Done: Delete Field count=1 KeyWord=Kind");
  EXPECT_EQ(node("a")->getField_("Kind"), "");

  editor->fieldBox()->setCurrentText("");
  EXPECT_EQ(editor->setField(), -1);
  EXPECT_EQ(editor->statusText(), "Field is Empty.");
  form->CheckBoxReadOnly->setChecked(true);
  editor->fieldBox()->setCurrentText("Kind");
  EXPECT_EQ(editor->setField(), -1);
  EXPECT_EQ(editor->statusText(), "UI ReadOnly");
  editor->putNodes_({}, true);
  EXPECT_EQ(editor->setField(), -1);
  EXPECT_EQ(editor->statusText(), "No MemoNode selected.");
}

TEST_F(TFormEditSelNodeTest, EditAllAndEditSelectHandTheNodesOver) {
  EXPECT_EQ(form->UIEditAllMemoNode(), 0);
  EXPECT_EQ(message(), "Show FormEditSelNode ");
  ASSERT_EQ(editor->list()->count(), 3);
  EXPECT_EQ(editor->list()->item(1)->text(), "b");

  TFormScanHolders& scan = *form->getFormScanHolders();
  form->UIShowScanMemoHolders();
  scan.keywordBox()->setCurrentText("memo of");  // every node's memo
  scan.button_("Scan")->click();
  ASSERT_EQ(scan.listEntries().size(), 3u);
  scan.button_("Edit Select")->click();
  EXPECT_EQ(editor->list()->item(1)->text(), "1");
  scan.button_("Clear")->click();
  scan.button_("Edit Select")->click();
  EXPECT_EQ(scan.statusText(), "No MemoNode selected.");
}

}  // namespace
}  // namespace vrk::windowtest
