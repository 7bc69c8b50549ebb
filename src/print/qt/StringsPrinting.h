#pragma once
// Printing text lines from a window.
//
// A window keeps one TStringsPrinter (its settings) and calls:
//   loadStringsPrinter_(aSettings.programDir, printer);   // at start-up and before printing
//   printer.setFileName_(node name + " : " + content description);
//   PrintOutcome r = printStrings_(printer, *services.printers, docName, lines, clock.now(), this);
//     r.kind: Done (r.pages printed), Cancelled (the user pressed Cancel during
//     layout: nothing printed), Failed (no printer, or the job failed:
//     r.reason says why). Only Done is reported as done.
//   previewStrings_(printer, *services.printers, lines, clock.now(), this);   // the same pages
//   if (TFormStringsPrint::execute_(&printer, *services.printers, lines, clock.now(), this))
//     saveStringsPrinter_(aSettings.programDir, printer, &error);   // "Print Format", OK
//   "Printer Setup": a QPageSetupDialog on services.printers->printer(), then
//   services.printers->keepSetup_(thatPrinter) so later jobs use its page.
// Lines and names are Shift_JIS. Settings live in "vrkprint.ini" beside the
// program, section "StringsPrinter1", key "Property".
#include <string>
#include <string_view>

#include "print/TStringsPrinter.h"
#include "text/LocalTime.h"
#include "text/StringList.h"

class QWidget;

namespace vrk {

class Printers;

enum class PrintOutcomeKind { Done, Cancelled, Failed };

struct PrintOutcome {
  PrintOutcomeKind kind = PrintOutcomeKind::Failed;
  std::string reason;  // for Failed
  int pages = 0;       // pages printed (Done)
};

// Lays out the lines with a progress window (caption "印刷中"), then prints
// the chosen pages as one job named docName.
PrintOutcome printStrings_(const TStringsPrinter& settings, Printers& printers,
                           std::string_view docName, const StringList& lines, const LocalTime& now,
                           QWidget* parent);

// Lays out the lines (progress "プレビューを作成中") and shows them in the
// preview window (modal). Done when shown; the printer is only asked for its
// page (the screen and A4 stand in without one).
PrintOutcome previewStrings_(const TStringsPrinter& settings, Printers& printers,
                             const StringList& lines, const LocalTime& now, QWidget* parent);

// "vrkprint.ini" beside the program (a stored folder ending in "/"), section
// "StringsPrinter1", key "Property". Load: 0 read, 1 nothing stored (printer
// unchanged), -1 a corrupt stream read as far as it goes. Save: 0, or -1 with
// the cause (the old file kept).
int loadStringsPrinter_(const std::string& programDir, TStringsPrinter& printer);
int saveStringsPrinter_(const std::string& programDir, const TStringsPrinter& printer,
                        std::string* error = nullptr);

}  // namespace vrk
