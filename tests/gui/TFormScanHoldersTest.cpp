// The scan windows over the memo file's holders and over the current holder,
// and the new child grep: three holders, one not yet read and one filed in
// another folder.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "MainWindowTestSupport.h"
#include "search/TFormGrep.h"
#include "search/TFormScanHolder.h"
#include "search/TFormScanHolders.h"

namespace vrk::windowtest {
namespace {

struct Rec {
  std::string name;
  StringList memo;
  std::string fields = {};  // attributes of its Field element
};

std::string holderText(const std::string& name, const std::vector<Rec>& records,
                       const std::string& fields = "") {
  std::string text = "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<Holder name=\"" + name +
                     "\">\r\n" + fields;
  for (const Rec& r : records) {
    text += "<Record name=\"" + r.name + "\">\r\n<Field " + r.fields + " />\r\n";
    for (const std::string& line : r.memo) text += line + "<BR/>\r\n";
    text += "</Record>\r\n";
  }
  return text + "</Holder>\r\n";
}

class TFormScanHoldersTest : public MainWindowFixture {
 protected:
  // Main (current, read), Lazy (not read yet, with an autoexec script) and
  // Far (filed in another folder; a decoy of its name lies beside work.mxa).
  void openThree(const std::string& mainFields = "") {
    dir.write(
        "Main.mxh",
        holderText("Main", {{"a1", {"apple pie", "Apple"}, "UID=\"u-a1\""}, {"a2", {"banana"}}},
                   mainFields));
    dir.write("Lazy.mxh",
              holderText("Lazy", {{"l1", {"APPLE tart"}}, {"*Autoexec.ppa", {"x := 1;"}}}));
    elsewhere.write("Far.mxh", holderText("Far", {{"f1", {"an apple"}}}));
    dir.write("Far.mxh", holderText("Far", {{"decoy", {"decoy apple"}}}));
    const std::string mxa =
        "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<File name=\"work\">\r\n"
        "<Field CurrentHolder=\"Main\" />\r\n"
        "<Holder name=\"Main\"><Field FlagLoaded=\"false\" /></Holder>\r\n"
        "<Holder name=\"Lazy\"><Field FlagLoaded=\"false\" /></Holder>\r\n"
        "<Holder name=\"Far\"><Field FlagLoaded=\"false\" FlagExtra=\"true\" Filename=\"" +
        elsewhere.file("Far.mxh") + "\" /></Holder>\r\n</File>\r\n";
    ASSERT_EQ(form->_loadMemoFile_(dir.write("work.mxa", mxa)), 0);
    form->played.clear();
  }
  TFormScanHolders& all() {
    TFormScanHolders& window = *form->getFormScanHolders();
    if (!window.isVisible()) {
      EXPECT_EQ(form->UIShowScanMemoHolders(), 0);
      window.button_("ALL")->click();
    }
    return window;
  }
  static void keyword(TFormScanHolders& window, const char* text) {
    window.keywordBox()->setCurrentText(QString::fromUtf8(text));
  }
  static StringList texts(const ScanEntries& entries) {
    StringList list;
    for (const ScanEntry& entry : entries) list.push_back(entry.text);
    return list;
  }

  ScratchDir elsewhere;
};

TEST_F(TFormScanHoldersTest, AllHoldersScanLoadsWithoutAutoexec) {
  openThree();
  EXPECT_FALSE(holder(1).flagLoaded);
  TFormScanHolders& window = all();
  EXPECT_EQ(message(), "Show FormScanHolders 2024/12/08 10:10:10:123");
  EXPECT_EQ(window.windowTitle(), "FormScanHolder work");
  keyword(window, "apple");
  window.button_("Scan")->click();
  EXPECT_EQ(texts(window.listEntries()), (StringList{"Main a1", "Lazy l1", "Far f1"}));
  EXPECT_EQ(window.statusText(), "*Done Scan* count=3 keyWord=apple");
  EXPECT_TRUE(holder(1).flagLoaded);
  EXPECT_TRUE(form->played.empty());  // no script ran in the middle of the walk

  window.check_("Ignore")->setChecked(false);
  window.button_("Scan")->click();
  EXPECT_EQ(texts(window.listEntries()), (StringList{"Main a1", "Far f1"}));
  window.button_("ALL OFF")->click();
  window.check_("Name")->setChecked(true);
  window.button_("Scan")->click();
  EXPECT_TRUE(window.listEntries().empty());
  EXPECT_EQ(window.statusText(), "*Done Scan* No match KeyWord=apple");
  ASSERT_FALSE(ports.prompter.asked.empty());
  EXPECT_EQ(ports.prompter.asked.back().text, "*Done Scan* No match KeyWord=apple");
  EXPECT_EQ(window.keywordBox()->count(), 1);  // the history holds the keyword once

  keyword(window, "");
  window.button_("Scan")->click();
  EXPECT_EQ(window.statusText(), "KeyWord is Empty.");
  EXPECT_EQ(ports.prompter.asked.back().box, BoxKind::Warning);
}

TEST_F(TFormScanHoldersTest, GrepReadsAnUnreadHolderFromItsOwnFile) {
  openThree();
  TFormScanHolders& window = all();
  keyword(window, "apple");
  window.button_("Grep")->click();
  EXPECT_EQ(texts(window.grepEntries()), (StringList{"Main:a1:Memo:000001:      1: apple pie",
                                                     "Main:a1:Memo:000002:      2: Apple",
                                                     "Lazy:l1:Memo:000001:      1: APPLE tart",
                                                     "Far:f1:Memo:000001:      1: an apple"}));
  EXPECT_EQ(window.statusText(), "*Grep* apple Far");  // the last holder's text stays
  EXPECT_TRUE(holder(1).flagLoaded);
  EXPECT_TRUE(holder(2).flagLoaded);
  EXPECT_TRUE(form->played.empty());

  // Clicking an entry goes to its holder and node.
  window.clickEntry_(3, true);
  EXPECT_EQ(form->getCurHolder(), &holder(2));
  EXPECT_EQ(form->getCurMemoNode()->getName(), "f1");
}

TEST_F(TFormScanHoldersTest, AHolderThatDoesNotReadStaysUnread) {
  dir.write("Bad.mxh", "<Holder name=\"Bad\">\r\n<Record name=\"x\">\r\napple<BR/>\r\n");
  const std::string mxa =
      "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<File name=\"work\">\r\n"
      "<Holder name=\"Main\"><Field FlagLoaded=\"false\" /></Holder>\r\n"
      "<Holder name=\"Bad\"><Field FlagLoaded=\"false\" /></Holder>\r\n"
      "<Holder name=\"Gone\"><Field FlagLoaded=\"false\" /></Holder>\r\n</File>\r\n";
  dir.write("Main.mxh", holderText("Main", {{"m", {"pear"}}}));
  ASSERT_EQ(form->_loadMemoFile_(dir.write("work.mxa", mxa)), 0);
  TFormScanHolders& window = all();
  keyword(window, "apple");
  window.button_("Grep")->click();
  EXPECT_TRUE(window.grepEntries().empty());
  EXPECT_EQ(window.statusText(), "No match");
  EXPECT_FALSE(holder(1).flagLoaded);
  EXPECT_FALSE(holder(2).flagLoaded);
}

TEST_F(TFormScanHoldersTest, ReplaceFlagsChangedHoldersAndSkipsReadOnlyOnes) {
  openThree();
  holder(0).findNode_("a2")->putReadOnly_(true);
  holder(0).findNode_("a2")->aMemo = {"apple"};
  TFormScanHolders& window = all();
  // Far becomes read-only: its lines stay.
  form->_changeCurrentHolder_(&holder(2), false);
  holder(2).putReadOnly_(true);
  form->_changeCurrentHolder_(&holder(0), false);
  holder(0).flagChanged = holder(1).flagChanged = holder(2).flagChanged = false;
  keyword(window, "apple");
  window.replaceBox()->setText("pear");
  window.button_("Replace")->click();
  EXPECT_EQ(texts(window.listEntries()),
            (StringList{"Main:a1:replace Memo 000001", "Main:a1:replace Memo 000002",
                        "Lazy:l1:replace Memo 000001"}));
  EXPECT_EQ(window.statusText(), "*Done Replace* count=3 KeyWord=apple");
  EXPECT_EQ(holder(0).findNode_("a1")->aMemo, (StringList{"pear pie", "pear"}));
  EXPECT_EQ(holder(0).findNode_("a2")->aMemo, StringList{"apple"});  // read-only node
  EXPECT_EQ(holder(2).findNode_("f1")->aMemo, StringList{"an apple"});
  EXPECT_TRUE(holder(0).flagChanged);
  EXPECT_TRUE(holder(1).flagChanged);
  EXPECT_FALSE(holder(2).flagChanged);

  // Mark counts entries, not nodes.
  window.button_("Mark")->click();
  EXPECT_EQ(window.statusText(), "Done: Mark count=3");
  EXPECT_TRUE(holder(0).findNode_("a1")->isMarked());
  EXPECT_TRUE(holder(1).findNode_("l1")->isMarked());

  // Under the UI read-only switch nothing is replaced or marked.
  form->CheckBoxReadOnly->setChecked(true);
  window.replaceBox()->setText("plum");
  keyword(window, "pear");
  window.button_("Replace")->click();
  window.button_("Unmark")->click();
  EXPECT_EQ(holder(0).findNode_("a1")->aMemo, (StringList{"pear pie", "pear"}));
  EXPECT_TRUE(holder(0).findNode_("a1")->isMarked());
  EXPECT_EQ(window.statusText(), "UI ReadOnly");
}

TEST_F(TFormScanHoldersTest, EntriesOfAFreedNodeAreSkipped) {
  openThree();
  TFormScanHolders& window = all();
  keyword(window, "apple");
  window.button_("Scan")->click();
  ASSERT_EQ(window.listEntries().size(), 3u);
  form->_changeCurrentHolder_(&holder(1), false);
  MemoNode* l1 = holder(1).findNode_("l1");
  form->setCurMemoNode(holder(1).findNode_("*Autoexec.ppa"));
  holder(1).deleteNode_(l1).reset();
  window.button_("Mark")->click();
  EXPECT_EQ(window.statusText(), "Done: Mark count=2");
  form->_changeCurrentHolder_(&holder(0), false);
  window.clickEntry_(1, false);  // the freed node: nothing happens
  EXPECT_EQ(form->getCurHolder(), &holder(0));
}

TEST_F(TFormScanHoldersTest, OneHolderWindowListsBlankAndName) {
  openThree();
  EXPECT_EQ(form->UIShowScanMemoHolder(), 0);
  TFormScanHolder& window = *form->getFormScanHolder();
  EXPECT_EQ(window.windowTitle(), "FormScanHolder work : Main");
  EXPECT_EQ(message(), "Show FormScanHolder 2024/12/08 10:10:10:123");
  EXPECT_EQ(window.holderList(), nullptr);
  keyword(window, "apple");
  window.button_("Scan")->click();
  EXPECT_EQ(texts(window.listEntries()), StringList{" a1"});
  EXPECT_EQ(window.statusText(), "*Done Scan* apple 1");
  window.button_("Grep")->click();
  EXPECT_EQ(window.statusText(), "*Done Grep* count=2 KeyWord=apple");
  window.replaceBox()->setText("plum");
  window.button_("Replace")->click();
  EXPECT_EQ(texts(window.listEntries()),
            (StringList{":a1:replace Memo 000001", ":a1:replace Memo 000002"}));
  EXPECT_EQ(form->aKeywordHistory, StringList{"apple"});  // shared with the main window

  // New Node puts the active page into a new node's memo.
  window.button_("New Node")->click();
  EXPECT_EQ(form->getCurMemoNode()->aMemo,
            (StringList{":a1:replace Memo 000001", ":a1:replace Memo 000002"}));
}

TEST_F(TFormScanHoldersTest, NewChildGrepKeepsMatchingLinesUnderTheNode) {
  openThree();
  MemoNode* a1 = holder(0).findNode_("a1");
  form->setCurMemoNode(a1);
  a1->aMemo = {"<img src=1>", "text <img", "<IMG x>", "<a href=2>"};
  TFormGrep& dialog = *form->getFormGrep();
  dialog.optionBox()->setCurrentIndex(1);  // Head
  dialog.check_("Number")->setChecked(true);
  EXPECT_EQ(form->runCommandNamed_("UINewChildGrep(<img)"), 0);
  MemoNode* child = form->getCurMemoNode();
  ASSERT_NE(child, a1);
  EXPECT_TRUE(endsWith_(child->getName(), " Grep <img")) << child->getName();
  EXPECT_EQ(child->aMemo, (StringList{"      1: <img src=1>", "      3: <IMG x>"}));
  EXPECT_EQ(child->getField_("ParentNodeID"), "\"u-a1\"");
  EXPECT_EQ(message(), "Done: New Child Grep5 : <img");

  // "Any": the dialog's keyword, NOT on, plain contains.
  form->setCurMemoNode(a1);
  dialog.optionBox()->setCurrentIndex(0);
  dialog.check_("Number")->setChecked(false);
  dialog.check_("NOT")->setChecked(true);
  QTimer::singleShot(0, &dialog, [&dialog] {
    dialog.keywordBox()->setCurrentText("href");
    dialog.button_("OK")->click();
  });
  EXPECT_EQ(form->runCommandNamed_("UINewChildGrepAny"), 0);
  child = form->getCurMemoNode();
  EXPECT_TRUE(endsWith_(child->getName(), " Grep href NOT ")) << child->getName();
  EXPECT_EQ(child->aMemo, (StringList{"<img src=1>", "text <img", "<IMG x>"}));

  const int before = holder(0).countOfNodes();
  form->setCurMemoNode(a1);
  QTimer::singleShot(0, &dialog, [&dialog] { dialog.button_("Cancel")->click(); });
  EXPECT_EQ(form->runCommandNamed_("UINewChildGrepAny"), -6);
  EXPECT_EQ(message(), "Cancel \"New Child Grep\"");
  QTimer::singleShot(0, &dialog, [&dialog] {
    dialog.keywordBox()->setCurrentText("  ");
    dialog.button_("OK")->click();
  });
  EXPECT_EQ(form->runCommandNamed_("UINewChildGrepAny"), -6);
  EXPECT_EQ(message(), "Cancel \"New Child Grep Any\"");
  EXPECT_EQ(holder(0).countOfNodes(), before);
}

}  // namespace
}  // namespace vrk::windowtest
