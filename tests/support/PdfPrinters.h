#pragma once
// Printers for tests: prints into a PDF file; an empty path means there is no
// printer. With flagNumberJobs each job gets a file of its own, the path with
// "-1", "-2", ... before its extension (jobPath_), so that the printouts of a
// run of jobs can all be read back.
#include <QString>
#include <memory>

#include "platform/qt/QtPrinters.h"

namespace vrk {

class PdfPrinters final : public Printers {
 public:
  std::unique_ptr<QPrinter> printer() override;

  // The file of job n (1-based) when jobs are numbered.
  QString jobPath_(int n) const;

  QString path;
  bool flagNumberJobs = false;
  int countOfJobs = 0;  // printers handed out
};

}  // namespace vrk
