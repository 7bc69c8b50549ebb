// The holder choice: the current holder selected first, and what each button
// leaves for the caller to read.
#include <gtest/gtest.h>
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "dialogs/TFormSelectHolder.h"

namespace vrk {
namespace {

// Runs the dialog modally and presses the button once it is open, after
// selecting row (-1: leave the selection).
int pressWhileOpen(TFormSelectHolder& dialog, const char* button, int row = -1) {
  QTimer::singleShot(0, &dialog, [&dialog, button, row] {
    if (row >= 0) dialog.list()->setCurrentRow(row);
    dialog.button_(button)->click();
  });
  return dialog.exec();
}

TEST(TFormSelectHolderTest, EachButtonLeavesItsChoice) {
  TFormSelectHolder dialog(nullptr);
  const StringList names{"A", "B", "C"};
  const struct {
    const char* button;
    int row;
    int result;
    int selected;
  } cases[] = {
      {"OK", -1, QDialog::Accepted, 1},  // the current one as filled
      {"OK", 2, QDialog::Accepted, 2},
      {"New Holder", 2, QDialog::Accepted, -1},  // the caller makes one
      {"Current", 0, QDialog::Accepted, 1},
      {"CANCEL", 0, QDialog::Rejected, 0},
  };
  for (const auto& c : cases) {
    dialog.putHolders_(names, 1, true);
    EXPECT_EQ(dialog.getSelectedIndex(), 1) << c.button;
    EXPECT_EQ(pressWhileOpen(dialog, c.button, c.row), c.result) << c.button;
    EXPECT_EQ(dialog.getSelectedIndex(), c.selected) << c.button;
  }
  ASSERT_EQ(dialog.list()->count(), 3);
  EXPECT_EQ(dialog.list()->item(2)->text(), "C");
  EXPECT_EQ(dialog.button_("Other"), nullptr);
}

TEST(TFormSelectHolderTest, WithoutTheCurrentHolderNothingIsSelected) {
  TFormSelectHolder dialog(nullptr);
  dialog.putHolders_({"B", "C"}, -1, false);
  EXPECT_EQ(dialog.getSelectedIndex(), -1);
  EXPECT_FALSE(dialog.button_("Current")->isEnabled());
  EXPECT_EQ(pressWhileOpen(dialog, "OK"), QDialog::Accepted);
  EXPECT_EQ(dialog.getSelectedIndex(), -1);
  // Enabled again when the current holder is listed.
  dialog.putHolders_({"A", "B"}, 0, true);
  EXPECT_TRUE(dialog.button_("Current")->isEnabled());
}

}  // namespace
}  // namespace vrk
