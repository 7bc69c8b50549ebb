#include "support/PdfPrinters.h"

#include <QPrinter>

namespace vrk {

std::unique_ptr<QPrinter> PdfPrinters::printer() {
  if (path.isEmpty()) return nullptr;
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(path);
  return printer;
}

}  // namespace vrk
