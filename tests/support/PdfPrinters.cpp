#include "support/PdfPrinters.h"

#include <QPrinter>

namespace vrk {

QString PdfPrinters::jobPath_(int n) const {
  const qsizetype dot = path.lastIndexOf('.');
  const qsizetype slash = path.lastIndexOf('/');
  const qsizetype at = dot > slash ? dot : path.size();
  return path.left(at) + "-" + QString::number(n) + path.mid(at);
}

std::unique_ptr<QPrinter> PdfPrinters::printer() {
  if (path.isEmpty()) return nullptr;
  ++countOfJobs;
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(flagNumberJobs ? jobPath_(countOfJobs) : path);
  applySetup_(*printer);
  return printer;
}

}  // namespace vrk
