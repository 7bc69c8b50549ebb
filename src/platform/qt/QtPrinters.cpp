#include "platform/qt/QtPrinters.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace vrk {

std::unique_ptr<QPrinter> QtPrinters::printer() {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return nullptr;
  auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  return printer->isValid() ? std::move(printer) : nullptr;
}

}  // namespace vrk
