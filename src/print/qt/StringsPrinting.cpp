#include "print/qt/StringsPrinting.h"

#include <QPrinter>
#include <memory>

#include "platform/SJ.h"
#include "platform/qt/QtPrinters.h"
#include "platform/qt/QtSjis.h"
#include "print/PrintIniFile.h"
#include "print/qt/PrintDevice.h"
#include "print/qt/TFormStrPProg.h"
#include "print/qt/TFormStrPreview.h"

namespace vrk {
namespace {

// One layout run under its progress window, which closes on every path.
bool layOutWithProgress(const TStringsPrinter& settings, const StringList& lines, QPrinter* printer,
                        const LocalTime& now, const std::string& caption, QWidget* parent,
                        LaidOutPages& out) {
  TFormStrPProg progress(sjisToQString(caption), parent);
  progress.show();
  return layOutFor_(
      settings, lines, printer, now, [&progress](int percent) { return progress.step_(percent); },
      out);
}

}  // namespace

PrintOutcome printStrings_(const TStringsPrinter& settings, Printers& printers,
                           std::string_view docName, const StringList& lines, const LocalTime& now,
                           QWidget* parent) {
  PrintOutcome outcome;
  const std::unique_ptr<QPrinter> printer = printers.printer();
  if (!printer) {
    outcome.reason = "no printer can print";
    return outcome;
  }
  printer->setDocName(sjisToQString(docName));
  LaidOutPages pages;
  if (!layOutWithProgress(settings, lines, printer.get(), now, SJ("印刷中"), parent, pages)) {
    outcome.kind = PrintOutcomeKind::Cancelled;
    return outcome;
  }
  outcome.reason = printLaidOut_(*printer, settings, pages, &outcome.pages);
  if (outcome.reason.empty()) outcome.kind = PrintOutcomeKind::Done;
  return outcome;
}

PrintOutcome previewStrings_(const TStringsPrinter& settings, Printers& printers,
                             const StringList& lines, const LocalTime& now, QWidget* parent) {
  PrintOutcome outcome;
  const std::unique_ptr<QPrinter> printer = printers.printer();
  LaidOutPages pages;
  if (!layOutWithProgress(settings, lines, printer.get(), now, SJ("プレビューを作成中"), parent,
                          pages)) {
    outcome.kind = PrintOutcomeKind::Cancelled;
    return outcome;
  }
  outcome.pages = static_cast<int>(pages.layout.pages.size());
  TFormStrPreview preview(std::move(pages), pageGeometryOf_(printer.get()).dpi, parent);
  preview.exec();
  outcome.kind = PrintOutcomeKind::Done;
  return outcome;
}

int loadStringsPrinter_(const std::string& programDir, TStringsPrinter& printer) {
  return loadPrinterSettings_(printIniPath_(programDir), kPrintIniSection, kPrintIniKey, printer);
}

int saveStringsPrinter_(const std::string& programDir, const TStringsPrinter& printer,
                        std::string* error) {
  return savePrinterSettings_(printIniPath_(programDir), kPrintIniSection, kPrintIniKey, printer,
                              error);
}

}  // namespace vrk
