#pragma once
// The text printer's layout on Qt devices: the page font and its metrics,
// the page geometry and paper of a QPrinter, and the replay of page images
// onto any painter (printer pages, the preview, a PDF).
#include <QFont>
#include <QFontMetrics>
#include <QRectF>
#include <string>

#include "print/PrintLayout.h"
#include "print/TStringsPrinterInfo.h"

class QPainter;
class QPrinter;

namespace vrk {

class QtPrintMetrics final : public PrintMetrics {
 public:
  explicit QtPrintMetrics(const QFont& font);
  int textWidth(std::string_view sjis) const override;
  int lineHeight() const override;
  int averageCharWidth() const override;
  bool italic() const override;

 private:
  QFont font_;
  QFontMetrics metrics_;
};

// The screen's horizontal resolution (96 without a screen).
int screenDpi_();

// The settings' font for a page of printerDpi, sized in pixels: points scaled
// by the screen/printer ratio as the layout rule says.
QFont printFont_(const TStringsPrinterFont& font, int printerDpi);

// The page of the printer; without one (null or invalid) the screen's
// resolution and an A4 paper, not queried.
PrintPageGeometry pageGeometryOf_(QPrinter* printer);
TStringsPrinterInfo printerInfoOf_(QPrinter* printer);

// A layout with the font it was measured with.
struct LaidOutPages {
  PrintLayoutResult layout;
  QFont font;
};
bool layOutFor_(const TStringsPrinter& settings, const StringList& lines, QPrinter* printer,
                const LocalTime& now, const PrintProgress& progress, LaidOutPages& out);

// Draws page image `page` stretched over target.
void renderPage_(QPainter& painter, const LaidOutPages& pages, int page, const QRectF& target);

// The pages the settings choose, on a painter begun on printer; a new printer
// page before each one when *pageUsed says the current one is taken. Empty on
// success, else why it failed.
std::string printPagesOn_(QPainter& painter, QPrinter& printer, const TStringsPrinter& settings,
                          const LaidOutPages& pages, bool& pageUsed, int* printed = nullptr);

// Prints the pages the settings choose as one job, ended also on error.
// Empty on success, else why it failed.
std::string printLaidOut_(QPrinter& printer, const TStringsPrinter& settings,
                          const LaidOutPages& pages, int* printed = nullptr);

}  // namespace vrk
