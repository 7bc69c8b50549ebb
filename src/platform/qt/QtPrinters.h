#pragma once
// Where printouts go: the system's default printer (tests print into a PDF
// file instead).
#include <QPageLayout>
#include <QString>
#include <memory>
#include <optional>

class QPrinter;

namespace vrk {

class Printers {
 public:
  virtual ~Printers() = default;
  // A printer ready to print on, or null when there is none usable.
  virtual std::unique_ptr<QPrinter> printer() = 0;
  // The printer and page chosen in a set-up dialog, for the printers handed
  // out from now on.
  virtual void keepSetup_(const QPrinter& chosen);

 protected:
  // Gives printer the kept page (paper, orientation, margins).
  void applySetup_(QPrinter& printer) const;
  std::optional<QString> keptName_;
  std::optional<QPageLayout> keptLayout_;
};

class QtPrinters final : public Printers {
 public:
  std::unique_ptr<QPrinter> printer() override;
};

}  // namespace vrk
