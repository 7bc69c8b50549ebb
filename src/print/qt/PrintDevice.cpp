#include "print/qt/PrintDevice.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "platform/SJ.h"
#include "platform/qt/QtSjis.h"

namespace vrk {

QtPrintMetrics::QtPrintMetrics(const QFont& font) : font_(font), metrics_(font) {}

int QtPrintMetrics::textWidth(std::string_view sjis) const {
  return metrics_.horizontalAdvance(sjisToQString(sjis));
}
int QtPrintMetrics::lineHeight() const {
  return metrics_.height() + std::max(0, metrics_.leading());
}
int QtPrintMetrics::averageCharWidth() const { return metrics_.averageCharWidth(); }
bool QtPrintMetrics::italic() const { return font_.italic(); }

int screenDpi_() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int dpi = screen ? static_cast<int>(std::lround(screen->logicalDotsPerInchX())) : 96;
  return dpi > 0 ? dpi : 96;
}

QFont printFont_(const TStringsPrinterFont& f, int printerDpi) {
  QFont font(sjisToQString(f.name));
  const int screen = screenDpi_();
  const int points = layoutFontSize_(std::max(1, f.size), screen, printerDpi);
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * screen / 72.0))));
  font.setBold(f.bold);
  font.setItalic(f.italic);
  font.setUnderline(f.underline);
  font.setStrikeOut(f.strikeOut);
  return font;
}

PrintPageGeometry pageGeometryOf_(QPrinter* printer) {
  PrintPageGeometry g;
  if (printer && printer->isValid() && printer->resolution() > 0) {
    g.queried = true;
    g.dpi = printer->resolution();
    const QRect paper = printer->paperRect(QPrinter::DevicePixel).toRect();
    const QRect page = printer->pageRect(QPrinter::DevicePixel).toRect();
    g.paperWidth = paper.width();
    g.paperHeight = paper.height();
    g.pageWidth = page.width();
    g.pageHeight = page.height();
    return g;
  }
  g.dpi = screenDpi_();
  const PaperKind a4 = paperOfCode_(kPaperCodeA4);
  g.paperWidth = mmToPixels_(a4.width, g.dpi);
  g.paperHeight = mmToPixels_(a4.height, g.dpi);
  return g;
}

TStringsPrinterInfo printerInfoOf_(QPrinter* printer) {
  TStringsPrinterInfo info;
  info.printerName = SJ("不明");
  const PaperKind fallback = paperOfCode_(kPaperCodeA4);
  info.paperName = fallback.name;
  info.paperWidth = fallback.width;
  info.paperHeight = fallback.height;
  if (!printer) return info;
  const QString name = printer->printerName();
  if (!name.isEmpty())
    info.printerName = qStringToSjis(name).value_or(info.printerName);
  else if (printer->outputFormat() == QPrinter::PdfFormat)
    info.printerName = qStringToSjis(printer->outputFileName()).value_or(info.printerName);
  const QPageSize size = printer->pageLayout().pageSize();
  const int code = size.windowsId();
  info.paperCode = code > 0 ? code : kPaperCodeA4;
  const QSizeF mm = size.size(QPageSize::Millimeter);
  if (size.isValid() && mm.width() > 0) {
    info.paperName = qStringToSjis(size.name()).value_or(info.paperName);
    info.paperWidth = static_cast<int>(std::lround(mm.width()));
    info.paperHeight = static_cast<int>(std::lround(mm.height()));
  } else {
    const PaperKind kind = paperOfCode_(info.paperCode);
    info.paperName = kind.name;
    info.paperWidth = kind.width;
    info.paperHeight = kind.height;
  }
  info.landscape = printer->pageLayout().orientation() == QPageLayout::Landscape;
  return info;
}

bool layOutFor_(const TStringsPrinter& settings, const StringList& lines, QPrinter* printer,
                const LocalTime& now, const PrintProgress& progress, LaidOutPages& out) {
  const PrintPageGeometry geometry = pageGeometryOf_(printer);
  out.font = printFont_(settings.font(), geometry.dpi);
  const QtPrintMetrics metrics(out.font);
  return layoutPages_(settings, lines, geometry, metrics, now, progress, out.layout);
}

void renderPage_(QPainter& painter, const LaidOutPages& pages, int page, const QRectF& target) {
  const PrintLayoutResult& layout = pages.layout;
  if (page < 0 || page >= static_cast<int>(layout.pages.size()) || layout.width <= 0 ||
      layout.height <= 0)
    return;
  painter.save();
  painter.translate(target.topLeft());
  painter.scale(target.width() / layout.width, target.height() / layout.height);
  painter.setFont(pages.font);
  painter.setPen(Qt::black);
  const int ascent = QFontMetrics(pages.font).ascent();
  for (const PrintText& t : layout.pages[static_cast<std::size_t>(page)].texts)
    painter.drawText(QPointF(t.x, t.y + ascent), sjisToQString(t.text));
  painter.restore();
}

std::string printPagesOn_(QPainter& painter, QPrinter& printer, const TStringsPrinter& settings,
                          const LaidOutPages& pages, bool& pageUsed, int* printed) {
  const QRectF target(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size());
  for (const int page : pagesToPrint_(settings, pages.layout)) {
    if (pageUsed && !printer.newPage()) return "cannot start a new page";
    renderPage_(painter, pages, page, target);
    pageUsed = true;
    if (printed) ++*printed;
  }
  return {};
}

std::string printLaidOut_(QPrinter& printer, const TStringsPrinter& settings,
                          const LaidOutPages& pages, int* printed) {
  if (printed) *printed = 0;
  if (pagesToPrint_(settings, pages.layout).empty()) return "no page of the range to print";
  QPainter painter;
  if (!painter.begin(&printer)) return "cannot start the print job";
  bool pageUsed = false;
  std::string why = printPagesOn_(painter, printer, settings, pages, pageUsed, printed);
  // The job ends on every path.
  painter.end();
  if (why.empty() && printer.printerState() == QPrinter::Error)
    why = "the printer reported an error";
  return why;
}

}  // namespace vrk
