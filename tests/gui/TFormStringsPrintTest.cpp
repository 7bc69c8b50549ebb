// The printer settings dialog, offscreen: the wrapping page and line boxes,
// double-clicks on their labels, the roLimited couplings, the font list, the
// printer labels, and OK against Cancel.
#include "print/qt/TFormStringsPrint.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "platform/SJ.h"
#include "platform/qt/QtSjis.h"
#include "support/PdfPrinters.h"

namespace vrk {
namespace {

void typeInto(QSpinBox* box, const QString& text) {
  QLineEdit* edit = box->findChild<QLineEdit*>();
  ASSERT_NE(edit, nullptr);
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

// Presses the button of the dialog that exec() opens.
void pressInDialog(const char* caption) {
  QTimer::singleShot(0, [caption] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<TFormStringsPrint*>(w);
      if (!dialog || !dialog->isVisible()) continue;
      dialog->aMarginLeft->setValue(33);  // an edit that OK keeps and Cancel drops
      (QString(caption) == "OK" ? dialog->aOK : dialog->aCancel)->click();
    }
  });
}

class TFormStringsPrintTest : public ::testing::Test {
 protected:
  PdfPrinters printers;  // no path: no printer
};

TEST_F(TFormStringsPrintTest, PageAndLineBoxesWrapAtTheirEnds) {
  TFormStringsPrint dialog(printers, nullptr);
  dialog.aRange->button(1)->click();  // roLimited: the range boxes take input
  dialog.aLineRange->button(1)->click();
  for (QSpinBox* box : {dialog.aStartPage, dialog.aLastPage, dialog.aFirstPageNumber,
                        dialog.aStartLine, dialog.aLastLine, dialog.aFirstLineNumber}) {
    typeInto(box, "0");
    EXPECT_EQ(box->value(), 999999);
    typeInto(box, "1000000");
    EXPECT_EQ(box->value(), 1);
    typeInto(box, "42");
    EXPECT_EQ(box->value(), 42);
  }
  EXPECT_EQ(dialog.settings().startPage(), 42);
}

TEST_F(TFormStringsPrintTest, DoubleClickingALabelSetsItsEnd) {
  TFormStringsPrint dialog(printers, nullptr);
  const struct {
    QLabel* label;
    QSpinBox* box;
    int value;
  } cases[] = {{dialog.aStartPageLabel, dialog.aStartPage, 1},
               {dialog.aFirstPageNumberLabel, dialog.aFirstPageNumber, 1},
               {dialog.aStartLineLabel, dialog.aStartLine, 1},
               {dialog.aFirstLineNumberLabel, dialog.aFirstLineNumber, 1},
               {dialog.aLastPageLabel, dialog.aLastPage, 999999},
               {dialog.aLastLineLabel, dialog.aLastLine, 999999}};
  for (const auto& c : cases) {
    c.box->setValue(500);
    QTest::mouseDClick(c.label, Qt::LeftButton);
    EXPECT_EQ(c.box->value(), c.value) << c.label->text().toStdString();
  }
}

TEST_F(TFormStringsPrintTest, LimitedRangesEnableTheirBoxesAndCoupleTheFirstNumber) {
  TFormStringsPrint dialog(printers, nullptr);
  const struct {
    QButtonGroup* group;
    QSpinBox *start, *last, *first;
  } groups[] = {{dialog.aRange, dialog.aStartPage, dialog.aLastPage, dialog.aFirstPageNumber},
                {dialog.aLineRange, dialog.aStartLine, dialog.aLastLine, dialog.aFirstLineNumber}};
  for (const auto& g : groups) {
    EXPECT_FALSE(g.start->isEnabled());  // the defaults are roWhole
    EXPECT_FALSE(g.last->isEnabled());
    g.start->setValue(4);
    EXPECT_EQ(g.first->value(), 1);  // not coupled under roWhole
    g.group->button(1)->click();     // roLimited
    EXPECT_TRUE(g.start->isEnabled());
    EXPECT_TRUE(g.last->isEnabled());
    EXPECT_EQ(g.first->value(), 4);
    g.start->setValue(7);
    EXPECT_EQ(g.first->value(), 7);
    g.group->button(0)->click();  // roWhole
    EXPECT_FALSE(g.start->isEnabled());
    EXPECT_EQ(g.first->value(), 1);
  }
  // Opening on limited settings keeps their own first numbers.
  TStringsPrinter limited;
  limited.setRangeOption_(TStringsPrinterRangeOption::roLimited);
  limited.setStartPage_(3);
  limited.setFirstPageNumber_(9);
  dialog.putSettings_(limited);
  EXPECT_TRUE(dialog.aStartPage->isEnabled());
  EXPECT_EQ(dialog.aFirstPageNumber->value(), 9);
}

TEST_F(TFormStringsPrintTest, ControlsCarryEverySetting) {
  TStringsPrinter s;
  s.setColumnCount_(3);
  s.setColumnSpace_(6);
  s.setFileName_("kept : text");
  s.setFirstLineNumber_(11);
  s.setFirstPageNumber_(12);
  s.setFont_({"VrkNoSuchFont", 14, false, false, false, false, 128, 255});
  s.setFooter_(SJ("頁 %p"));
  s.setFooterAlign_(TStringsPrinterHeaderAlign::haRight);
  s.setHeader_("%F");
  s.setHeaderAlign_(TStringsPrinterHeaderAlign::haCenter);
  s.setLastLine_(90);
  s.setLastPage_(8);
  s.setLineNumber_(true);
  s.setLineRangeOption_(TStringsPrinterRangeOption::roLimited);
  s.setMarginBottom_(1);
  s.setMarginLeft_(2);
  s.setMarginRight_(3);
  s.setMarginTop_(4);
  s.setMarginLine_(5);
  s.setPageOption_(TStringsPrinterPageOption::poOdd);
  s.setRangeOption_(TStringsPrinterRangeOption::roLimited);
  s.setStartLine_(11);
  s.setStartPage_(12);
  TFormStringsPrint dialog(printers, nullptr);
  dialog.putSettings_(s);
  EXPECT_TRUE(dialog.settings() == s);
  EXPECT_EQ(dialog.windowTitle(), "TStringsPrinter");
}

TEST_F(TFormStringsPrintTest, FontNamesLeaveOutVerticalFaces) {
  EXPECT_EQ(TFormStringsPrint::fontNames_({"@IPAGothic", "IPAGothic", "Sans @ Serif"}),
            (QStringList{"IPAGothic", "Sans @ Serif"}));
  TFormStringsPrint dialog(printers, nullptr);
  for (int i = 0; i < dialog.aFontName->count(); ++i)
    EXPECT_FALSE(dialog.aFontName->itemText(i).startsWith('@'));
  EXPECT_EQ(dialog.aFontSize->minimum(), 6);
  EXPECT_EQ(dialog.aFontSize->maximum(), 30);
}

TEST_F(TFormStringsPrintTest, PrinterLabels) {
  {
    TFormStringsPrint dialog(printers, nullptr);
    EXPECT_EQ(dialog.aPrinterName->text(), sjisToQString(SJ("不明")));
    EXPECT_FALSE(dialog.aPrinterSetting->isEnabled());
  }
  printers.path = "/tmp/vrk-labels.pdf";
  TFormStringsPrint dialog(printers, nullptr);
  EXPECT_TRUE(dialog.aPaperName->text().contains("(210 x 297 mm)"))
      << dialog.aPaperName->text().toStdString();
  EXPECT_EQ(dialog.aOrientation->text(), "poPortrait");
  // A page chosen by "Printer setting" holds for the printers handed out later.
  std::unique_ptr<QPrinter> chosen = printers.printer();
  chosen->setPageOrientation(QPageLayout::Landscape);
  chosen->setPageSize(QPageSize(QPageSize::A5));
  printers.keepSetup_(*chosen);
  TFormStringsPrint later(printers, nullptr);
  EXPECT_EQ(later.aOrientation->text(), "poLandscape");
  EXPECT_TRUE(later.aPaperName->text().contains("(148 x 210 mm)"))
      << later.aPaperName->text().toStdString();
}

TEST_F(TFormStringsPrintTest, OkCopiesBackAndCancelChangesNothing) {
  TStringsPrinter printer;
  printer.setMarginLeft_(7);
  pressInDialog("Cancel");
  EXPECT_FALSE(TFormStringsPrint::execute_(&printer, printers, {"a"}, {}, nullptr));
  EXPECT_EQ(printer.marginLeft(), 7);
  EXPECT_TRUE(printer == [] {
    TStringsPrinter p;
    p.setMarginLeft_(7);
    return p;
  }());
  pressInDialog("OK");
  EXPECT_TRUE(TFormStringsPrint::execute_(&printer, printers, {"a"}, {}, nullptr));
  EXPECT_EQ(printer.marginLeft(), 33);
  EXPECT_FALSE(TFormStringsPrint::execute_(nullptr, printers, {"a"}, {}, nullptr));
}

}  // namespace
}  // namespace vrk
