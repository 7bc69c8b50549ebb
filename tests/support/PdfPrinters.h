#pragma once
// Printers for tests: prints into a PDF file; an empty path means there is no
// printer.
#include <QString>
#include <memory>

#include "platform/qt/QtPrinters.h"

namespace vrk {

class PdfPrinters final : public Printers {
 public:
  std::unique_ptr<QPrinter> printer() override;

  QString path;
};

}  // namespace vrk
