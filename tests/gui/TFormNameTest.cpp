// The rename dialog: filling it for a node, the calendar, "Set" with the
// holder's date pattern, the buttons over the name box, and the history.
#include <QCalendarWidget>
#include <QComboBox>
#include <QPushButton>

#include "MainWindowTestSupport.h"
#include "dialogs/TFormName.h"
#include "platform/SJ.h"

namespace vrk::windowtest {
namespace {

class TFormNameTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    ports.clock.set({2024, 5, 15, 9, 0, 0, 0});
    dialog = &TFormName::instanceFor_(form.get());
    dialog->setOwner_(form.get());
  }
  MemoNode& node(const std::string& name) {
    MemoNode* made = form->getCurHolder()->newNode();
    made->putName_(name);
    return *made;
  }
  // The box text after pressing the button on text.
  std::string press(std::string_view group, std::string_view caption, std::string_view text) {
    dialog->putNameText_(text);
    QPushButton* button = dialog->button_(group, caption);
    EXPECT_NE(button, nullptr) << caption;
    if (button) button->click();
    return dialog->getNameText().value_or("?");
  }
  TFormName* dialog = nullptr;
};

TEST_F(TFormNameTest, FillingReadsTheCalendarDateFromTheName) {
  EXPECT_EQ(&TFormName::instanceFor_(form.get()), dialog);  // one per window
  const struct {
    const char* name;
    LocalTime date;
  } cases[] = {
      {"3 shopping", {2024, 5, 3}},
      {"45 shopping", {2024, 5, 15}},
      {"0105 plan", {2024, 1, 5}},
      {"240105", {2024, 1, 5}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(dialog->putObject_(&node(c.name)), 0) << c.name;
    EXPECT_EQ(dialog->calendarDate(), (LocalTime{c.date.year, c.date.month, c.date.day})) << c.name;
    EXPECT_EQ(dialog->getNameText(), std::string(c.name) + " ");
  }
  openMemoFile({{"Diary", {{"x"}}}});
  EXPECT_EQ(dialog->putObject_(form->getCurMemoNode()), 0);
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Change MemoNode's Name : work : Diary"));
  EXPECT_EQ(dialog->putObject_(nullptr), -1);
}

TEST_F(TFormNameTest, SetWritesTheCalendarDateInTheHoldersPattern) {
  dialog->putObject_(&node("20240105 meeting"));
  ASSERT_TRUE(dialog->setCalendarDate_({2024, 1, 7}));
  EXPECT_EQ(press("Calendar", "Set", "20240105 meeting"), "20240107 meeting");
  EXPECT_EQ(press("Calendar", "Set", "Meeting"), "20240107 ");
  form->getCurHolder()->putField_("FormatDate", "\"YYYY/MM/DD ddd\"");
  EXPECT_EQ(press("Calendar", "Set", "Memo 20240105 x"), "Memo 2024/01/07 " + SJ("日") + " x");
  form->getCurHolder()->putField_("FormatDate", "\"\"");
  EXPECT_EQ(press("Calendar", "Set", "Meeting notes"), "20240107 notes");

  dialog->setOwner_(nullptr);
  EXPECT_EQ(press("Calendar", "Set", "20240105 meeting"), "20240105 meeting");
}

TEST_F(TFormNameTest, CalendarButtonsStepWholeYears) {
  dialog->setCalendarDate_({2024, 2, 29});
  dialog->button_("Calendar", "<<")->click();
  EXPECT_EQ(dialog->calendarDate(), (LocalTime{2023, 2, 28}));
  dialog->button_("Calendar", ">>")->click();
  dialog->button_("Calendar", ">>")->click();
  EXPECT_EQ(dialog->calendarDate(), (LocalTime{2025, 2, 28}));
  dialog->button_("Calendar", "Today")->click();
  EXPECT_EQ(dialog->calendarDate(), (LocalTime{2024, 5, 15}));
  EXPECT_FALSE(dialog->setCalendarDate_({2024, 2, 30}));  // refused: the date stays
  EXPECT_EQ(dialog->calendarDate(), (LocalTime{2024, 5, 15}));
}

TEST_F(TFormNameTest, TheButtonsEditTheNameBox) {
  const std::string star = SJ("★");
  const struct {
    const char* group;
    std::string caption;
    std::string text;
    std::string result;
  } cases[] = {
      {"$1", star, "abc ", star + " abc "},
      {"$1", "URL", "abc", "URL abc"},
      {"$1", "Inc", "memo09 a", "memo10 a"},
      {"$1", "Dec", "9", "8"},
      {"$2", SJ("月"), "0105 plan", "0105 " + SJ("月") + " plan"},
      {"$2", "cut2", "abc ", "abc "},
      {"$2", "Inc", "Page 09 x", "Page 10 x"},
      {"$2", "Dec", "Page 9a", "Page 9a"},
      {"$3", star, "a b c", "a b " + star + " c"},
      {"$3", "cut3", "a b c d", "a b d"},
      {"Tools", "Inc10", "scan05.jpg", "scan15.jpg"},
      {"Tools", "Dec10", "scan05.jpg", "scan95.jpg"},
      {"Tools", "Inc10", "9.txt", "9.txt"},
      {"Tools", "CH2", "C:\\data\\memo.txt", "\\data\\memo.txt"},
      {"Tools", "Cut Head", "C:\\data\\memo.txt", ":\\data\\memo.txt"},
      {"Tools", "Cut Tail", "memo.txt", "memo."},
      {"Tools", "ChangeFileExt,''", "memo.txt", "memo"},
      {"Tools", "CH1", SJ("日本"), SJ("本")},
      {"Tools", "CT1", SJ("日本"), SJ("日")},
      {"Tools", "ExtractFilename", SJ("C:\\ソフト\\表.txt"), SJ("表.txt")},
      {"Tools", "ExtractFilename", SJ("ソフト"), SJ("ソフト")},
      {"Tools", "*", "abc", "*"},
      {"Tools", "Clear", "abc", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(press(c.group, c.caption, c.text), c.result) << c.group << " " << c.caption;

  dialog->putObject_(&node("orig"));
  EXPECT_EQ(press("Tools", "Reset", "changed"), "orig");
}

TEST_F(TFormNameTest, OkMovesTheNameToTheFrontOfTheHistory) {
  for (const char* name : {"first", "second", "FIRST"}) {
    dialog->putNameText_(name);
    dialog->ok();
  }
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(dialog->history(), (StringList{"FIRST", "second"}));
  QComboBox* box = dialog->nameBox();
  ASSERT_EQ(box->count(), 2);
  EXPECT_EQ(box->itemText(0), QStringLiteral("FIRST"));
  EXPECT_EQ(dialog->getNameText(), "FIRST");

  dialog->putNameText_("dropped");
  dialog->cancel();
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(dialog->history().size(), 2u);
}

}  // namespace
}  // namespace vrk::windowtest
