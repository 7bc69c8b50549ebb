#include "platform/qt/QtPrinters.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace vrk {

void Printers::keepSetup_(const QPrinter& chosen) {
  if (!chosen.printerName().isEmpty()) keptName_ = chosen.printerName();
  keptLayout_ = chosen.pageLayout();
}

void Printers::applySetup_(QPrinter& printer) const {
  if (keptLayout_) printer.setPageLayout(*keptLayout_);
}

std::unique_ptr<QPrinter> QtPrinters::printer() {
  QPrinterInfo info = keptName_ ? QPrinterInfo::printerInfo(*keptName_) : QPrinterInfo();
  if (info.isNull()) info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return nullptr;
  auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  if (!printer->isValid()) return nullptr;
  applySetup_(*printer);
  return printer;
}

}  // namespace vrk
