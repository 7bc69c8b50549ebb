// The field scan window: scan and "Scan Not" over three holders (one not yet
// read), Replace with its counts, Set quoting, Delete, and read-only nodes.
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>

#include "MainWindowTestSupport.h"
#include "search/TFormField.h"

namespace vrk::windowtest {
namespace {

std::string holderText(const std::string& name,
                       const std::vector<std::pair<std::string, std::string>>& records) {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<Holder name=\"" + name + "\">\r\n";
  for (const auto& [node, fields] : records)
    text += "<Record name=\"" + node + "\">\r\n<Field " + fields + " />\r\nx<BR/>\r\n</Record>\r\n";
  return text + "</Holder>\r\n";
}

class TFormFieldTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    dir.write("A.mxh", holderText("A", {{"a1", "Date=\"2024\""},
                                        {"a2", "Created=\"Date of birth\""},
                                        {"a3", "Kind=\"ABC-abc\""}}));
    dir.write("B.mxh", holderText("B", {{"b1", "Kind=\"abc\""}, {"*Autoexec.ppa", ""}}));
    const std::string mxa =
        "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<File name=\"work\">\r\n"
        "<Field CurrentHolder=\"A\" />\r\n"
        "<Holder name=\"A\"><Field FlagLoaded=\"false\" /></Holder>\r\n"
        "<Holder name=\"B\"><Field FlagLoaded=\"false\" /></Holder>\r\n</File>\r\n";
    ASSERT_EQ(form->_loadMemoFile_(dir.write("work.mxa", mxa)), 0);
    form->played.clear();
    ASSERT_EQ(form->UIShowScanField(), 0);
    window = form->getFormField();
    window->button_("ALL")->click();
  }
  StringList texts() {
    StringList list;
    for (const ScanEntry& entry : window->entries()) list.push_back(entry.text);
    return list;
  }
  TFormField* window = nullptr;
};

TEST_F(TFormFieldTest, ScanFindsTheNameAnywhereAndScanNotTheRest) {
  EXPECT_EQ(message(), "Show FormField 2024/12/08 10:10:10:123");
  window->fieldBox()->setCurrentText("date");
  EXPECT_EQ(window->scan_(false), 2);
  EXPECT_EQ(texts(), (StringList{"A : a1 : date=\"2024\"", "A : a2 : date="}));
  EXPECT_EQ(window->statusText(), "*Done: Scan Field count=2 KeyWord=date");
  EXPECT_TRUE(holder(1).flagLoaded);
  EXPECT_TRUE(form->played.empty());  // no autoexec in the middle of the walk

  EXPECT_EQ(window->scan_(true), 3);  // every node without a hit, a field list or not
  EXPECT_EQ(texts(), (StringList{"A : a3 : date=", "B : b1 : date=", "B : *Autoexec.ppa : date="}));
  EXPECT_EQ(window->statusText(), "*Done: Not Scan Field count=3 KeyWord=date");

  window->ignoreBox()->setChecked(false);
  EXPECT_EQ(window->scan_(false), 0);
  EXPECT_EQ(window->statusText(), "*Done: Scan Filed No match");

  window->fieldBox()->setCurrentText("Kind");
  window->scanOp()->setCurrentIndex(1);   // Both
  window->valueOp()->setCurrentIndex(1);  // Include
  window->valueBox()->setCurrentText("C-a");
  EXPECT_EQ(window->scan_(false), 1);
  window->button_("UnSelect")->click();
  EXPECT_EQ(window->scan_(false), -1);
  EXPECT_EQ(window->statusText(), "no MemoHolder selected.");
}

TEST_F(TFormFieldTest, ReplaceSetAndDelete) {
  holder(0).flagChanged = false;
  window->fieldBox()->setCurrentText("Kind");
  window->valueBox()->setCurrentText("abc");
  window->replaceBox()->setCurrentText("xyz");
  EXPECT_EQ(window->replace(), 2);
  EXPECT_EQ(holder(0).findNode_("a3")->getField_("Kind"), "\"xyz-xyz\"");
  EXPECT_EQ(holder(1).findNode_("b1")->getField_("Kind"), "\"xyz\"");
  EXPECT_EQ(window->statusText(), "*Done: Replace count=2/2 KeyWord=Kind");
  EXPECT_EQ(texts(), (StringList{"A : a3 : Kind=\"xyz-xyz\"", "B : b1 : Kind=\"xyz\""}));
  EXPECT_TRUE(holder(0).flagChanged);

  window->valueBox()->setCurrentText("");  // an empty find changes nothing
  EXPECT_EQ(window->replace(), 0);
  EXPECT_EQ(window->statusText(), "*Done: Replace count=0/2 KeyWord=Kind");

  holder(1).findNode_("b1")->putReadOnly_(true);
  window->replaceBox()->setCurrentText("\"q\"");  // typed in quotes: quoted once
  EXPECT_EQ(window->set(), 2);
  EXPECT_EQ(holder(0).findNode_("a3")->getField_("Kind"), "\"q\"");
  EXPECT_EQ(holder(1).findNode_("b1")->getField_("Kind"), "\"xyz\"");  // read-only
  EXPECT_EQ(window->statusText(), "*Done: Set count=2 KeyWord=Kind");

  holder(1).findNode_("b1")->putReadOnly_(false);
  EXPECT_EQ(window->remove(), 2);
  EXPECT_EQ(holder(0).findNode_("a3")->getField_("Kind"), "");
  EXPECT_EQ(texts(), (StringList{"A : a3", "B : b1"}));
  EXPECT_EQ(window->statusText(), "*Done: Delete Field count=2 KeyWord=Kind");
  EXPECT_EQ(window->remove(), -1);
  EXPECT_EQ(window->statusText(), "No MemoNode.");
}

}  // namespace
}  // namespace vrk::windowtest
