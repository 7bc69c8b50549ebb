// Printer settings: the defaults and the range every setter keeps.
#include "print/TStringsPrinter.h"

#include <gtest/gtest.h>

namespace vrk {
namespace {

TEST(TStringsPrinter, DefaultsPrintFromPageAndLineOne) {
  const TStringsPrinter p;
  EXPECT_EQ(p.columnCount(), 1);
  EXPECT_EQ(p.columnSpace(), 4);
  EXPECT_EQ(p.firstLineNumber(), 1);
  EXPECT_EQ(p.firstPageNumber(), 1);
  EXPECT_EQ(p.startLine(), 1);
  EXPECT_EQ(p.startPage(), 1);
  EXPECT_EQ(p.lastLine(), 999999);
  EXPECT_EQ(p.lastPage(), 999999);
  EXPECT_EQ(p.marginLeft() + p.marginTop() + p.marginRight() + p.marginBottom() + p.marginLine(),
            0);
  EXPECT_EQ(p.headerAlign(), TStringsPrinterHeaderAlign::haNone);
  EXPECT_EQ(p.pageOption(), TStringsPrinterPageOption::poBoth);
  EXPECT_EQ(p.rangeOption(), TStringsPrinterRangeOption::roWhole);
  EXPECT_FALSE(p.lineNumber());
}

TEST(TStringsPrinter, SettersClampIntoTheirRanges) {
  struct Case {
    void (TStringsPrinter::*set)(int);
    int (TStringsPrinter::*get)() const;
    int value, kept;
  };
  const Case cases[] = {
      {&TStringsPrinter::setColumnCount_, &TStringsPrinter::columnCount, 0, 1},
      {&TStringsPrinter::setColumnCount_, &TStringsPrinter::columnCount, 4, 3},
      {&TStringsPrinter::setColumnSpace_, &TStringsPrinter::columnSpace, -1, 0},
      {&TStringsPrinter::setColumnSpace_, &TStringsPrinter::columnSpace, 101, 100},
      {&TStringsPrinter::setMarginLeft_, &TStringsPrinter::marginLeft, 250, 100},
      {&TStringsPrinter::setMarginLine_, &TStringsPrinter::marginLine, -5, 0},
      {&TStringsPrinter::setFirstPageNumber_, &TStringsPrinter::firstPageNumber, 0, 1},
      {&TStringsPrinter::setFirstLineNumber_, &TStringsPrinter::firstLineNumber, -3, 1},
      {&TStringsPrinter::setStartPage_, &TStringsPrinter::startPage, 1000000, 999999},
      {&TStringsPrinter::setLastLine_, &TStringsPrinter::lastLine, 0, 1},
      {&TStringsPrinter::setLastPage_, &TStringsPrinter::lastPage, 42, 42},
  };
  for (const Case& c : cases) {
    TStringsPrinter p;
    (p.*c.set)(c.value);
    EXPECT_EQ((p.*c.get)(), c.kept) << "value " << c.value;
  }
}

}  // namespace
}  // namespace vrk
