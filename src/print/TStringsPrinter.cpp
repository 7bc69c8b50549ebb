#include "print/TStringsPrinter.h"

#include <algorithm>

namespace vrk {
namespace {

int clampTo(int v, int low, int high) { return std::clamp(v, low, high); }

}  // namespace

void TStringsPrinter::setColumnCount_(int v) { columnCount_ = clampTo(v, 1, 3); }
void TStringsPrinter::setColumnSpace_(int v) { columnSpace_ = clampTo(v, 0, 100); }
void TStringsPrinter::setFirstLineNumber_(int v) {
  firstLineNumber_ = clampTo(v, 1, kPrintNumberMax);
}
void TStringsPrinter::setFirstPageNumber_(int v) {
  firstPageNumber_ = clampTo(v, 1, kPrintNumberMax);
}
void TStringsPrinter::setLastLine_(int v) { lastLine_ = clampTo(v, 1, kPrintNumberMax); }
void TStringsPrinter::setLastPage_(int v) { lastPage_ = clampTo(v, 1, kPrintNumberMax); }
void TStringsPrinter::setMarginBottom_(int v) { marginBottom_ = clampTo(v, 0, 100); }
void TStringsPrinter::setMarginLeft_(int v) { marginLeft_ = clampTo(v, 0, 100); }
void TStringsPrinter::setMarginLine_(int v) { marginLine_ = clampTo(v, 0, 100); }
void TStringsPrinter::setMarginRight_(int v) { marginRight_ = clampTo(v, 0, 100); }
void TStringsPrinter::setMarginTop_(int v) { marginTop_ = clampTo(v, 0, 100); }
void TStringsPrinter::setStartLine_(int v) { startLine_ = clampTo(v, 1, kPrintNumberMax); }
void TStringsPrinter::setStartPage_(int v) { startPage_ = clampTo(v, 1, kPrintNumberMax); }

}  // namespace vrk
