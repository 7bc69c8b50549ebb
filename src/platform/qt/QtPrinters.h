#pragma once
// Where printouts go: the system's default printer, or a PDF file.
#include <QString>
#include <memory>

class QPrinter;

namespace vrk {

class Printers {
 public:
  virtual ~Printers() = default;
  // A printer ready to print on, or null when there is none usable.
  virtual std::unique_ptr<QPrinter> printer() = 0;
};

class QtPrinters final : public Printers {
 public:
  std::unique_ptr<QPrinter> printer() override;
};

// Prints into a PDF file; an empty path means there is no printer.
class PdfPrinters final : public Printers {
 public:
  std::unique_ptr<QPrinter> printer() override;

  QString path;
};

}  // namespace vrk
