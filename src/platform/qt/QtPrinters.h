#pragma once
// Where printouts go: the system's default printer (tests print into a PDF
// file instead).
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

}  // namespace vrk
