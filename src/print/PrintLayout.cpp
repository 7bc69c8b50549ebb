#include "print/PrintLayout.h"

#include <algorithm>
#include <cmath>

#include "platform/Path.h"
#include "text/CharEX.h"

namespace vrk {
namespace {

// Byte classes of the wrapping rule.
enum : unsigned char { kOther = 1, kBlank = 2, kLead = 4, kTrail = 5 };

std::vector<unsigned char> byteClasses(std::string_view line) {
  std::vector<unsigned char> classes(line.size());
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t n = charLengthAt(line, i);
    if (n == 2) {
      classes[i] = kLead;
      classes[i + 1] = kTrail;
    } else {
      classes[i] = static_cast<unsigned char>(line[i]) > 32 ? kOther : kBlank;
    }
    i += n;
  }
  return classes;
}

// Wrapping of a line whose whole width can be measured.
StringList wrapMeasurable(std::string_view line, int width, const PrintMetrics& metrics) {
  const int full = metrics.textWidth(line);
  if (line.empty() || full <= width) return {std::string(line)};
  const std::vector<unsigned char> classes = byteClasses(line);
  const int step = std::max(width, 1);
  const std::size_t rowsGuess = static_cast<std::size_t>((full + step - 1) / step);
  const std::size_t trial =
      std::max<std::size_t>(1, line.size() / std::max<std::size_t>(1, rowsGuess));
  StringList rows;
  std::size_t from = 0;
  while (from < line.size()) {
    const std::string_view rest = line.substr(from);
    const std::size_t count = rest.size();
    auto endsOnLead = [&](std::size_t p) { return p > 0 && classes[from + p - 1] == kLead; };
    auto widthOf = [&](std::size_t p) { return metrics.textWidth(rest.substr(0, p)); };
    std::size_t p = std::min(trial, count);
    if (endsOnLead(p) && p < count) --p;
    while (p < count && widthOf(p) < width) {
      ++p;
      if (endsOnLead(p) && p < count) ++p;
    }
    while (p > 1 && widthOf(p) > width) {
      --p;
      if (endsOnLead(p)) --p;
    }
    // Every row takes at least one character, however narrow the column.
    p = std::max(p, charLengthAt(rest, 0));
    if (p < count) {
      const unsigned char last = classes[from + p - 1];
      if (last != kBlank && last != kTrail) {
        for (std::size_t q = p - 1; q >= 1; --q) {
          const unsigned char c = classes[from + q - 1];
          if (c == kBlank || c == kTrail) {
            p = q;
            break;
          }
        }
      }
    }
    rows.emplace_back(rest.substr(0, p));
    from += p;
  }
  return rows;
}

// The longest leading part of text, on a character boundary, not longer than
// limit (at least one character).
std::size_t boundaryBefore(std::string_view text, std::size_t limit) {
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t n = charLengthAt(text, i);
    if (i + n > limit && i > 0) break;
    i += n;
    if (i >= limit) break;
  }
  return i;
}

int digitCount(std::size_t n) {
  int digits = 1;
  while (n >= 10) {
    n /= 10;
    ++digits;
  }
  return digits;
}

class PageWriter {
 public:
  PageWriter(const TStringsPrinter& settings, const PrintPageGeometry& page,
             const PrintMetrics& metrics, const LocalTime& now, std::size_t countOfLines,
             PrintLayoutResult& result)
      : settings_(settings), metrics_(metrics), now_(now), result_(result) {
    const int dpi = page.dpi > 0 ? page.dpi : 96;
    area_ = printTextArea_(settings, page);
    lineHeight_ = std::max(1, metrics.lineHeight());
    average_ = std::max(1, metrics.averageCharWidth());
    lineStep_ = lineHeight_ + mmToPixels_(settings.marginLine(), dpi);
    const bool header =
        settings.headerAlign() != TStringsPrinterHeaderAlign::haNone && !settings.header().empty();
    const bool footer =
        settings.footerAlign() != TStringsPrinterHeaderAlign::haNone && !settings.footer().empty();
    bodyTop_ = area_.top + (header ? (3 * lineHeight_) / 2 : 0);
    footerTop_ = area_.bottom - (footer ? (3 * lineHeight_) / 2 : 0);
    strip_ = settings.lineNumber() ? (digitCount(countOfLines) + 2) * average_ : 0;
    const int space = mmToPixels_(settings.columnSpace(), dpi);
    const int columns = settings.columnCount();
    columnWidth_ =
        (area_.right - (area_.left + strip_) - (space + strip_) * (columns - 1)) / columns;
    columnStep_ = strip_ + columnWidth_ + space;
    textWidth_ = columnWidth_ - (metrics.italic() ? average_ : 0);
    pageNumber_ = settings.rangeOption() == TStringsPrinterRangeOption::roLimited
                      ? settings.firstPageNumber() - settings.startPage() + 1
                      : settings.firstPageNumber();
    result_.width = std::max(0, page.pageWidth > 0 ? page.pageWidth : page.paperWidth);
    result_.height = std::max(0, page.pageHeight > 0 ? page.pageHeight : page.paperHeight);
    result_.firstPageNumber = pageNumber_;
    result_.pages.clear();
    startPage();
  }

  int textWidth() const { return textWidth_; }

  void putLine(int number, const StringList& rows) {
    for (const std::string& row : rows) {
      if (rowTop_ + lineHeight_ + (lineStep_ - lineHeight_) > footerTop_) {
        if (column_ + 1 < settings_.columnCount()) {
          ++column_;
        } else {
          drawBand(settings_.footer(), settings_.footerAlign(), footerTop_);
          ++pageNumber_;
          startPage();
        }
        rowTop_ = bodyTop_;
      }
      const int left = area_.left + column_ * columnStep_;
      if (settings_.lineNumber()) {
        std::string label = std::to_string(number) + ":";
        const int width = std::max(0, metrics_.textWidth(label));
        put(left + strip_ - width, rowTop_, std::move(label));
      }
      putExpandingTabs(left + strip_, row);
      rowTop_ += lineStep_;
    }
  }

  void finish() { drawBand(settings_.footer(), settings_.footerAlign(), footerTop_); }

 private:
  void startPage() {
    result_.pages.emplace_back();
    column_ = 0;
    rowTop_ = bodyTop_;
    drawBand(settings_.header(), settings_.headerAlign(), area_.top);
  }

  void drawBand(const std::string& pattern, TStringsPrinterHeaderAlign align, int y) {
    if (align == TStringsPrinterHeaderAlign::haNone || pattern.empty()) return;
    std::string text = expandPrintKeywords_(pattern, pageNumber_, settings_.fileName(), now_);
    const int width = std::max(0, metrics_.textWidth(text));
    int x = area_.left;
    if (align == TStringsPrinterHeaderAlign::haCenter)
      x = area_.left + (area_.right - area_.left - width) / 2;
    else if (align == TStringsPrinterHeaderAlign::haRight)
      x = area_.right - width;
    put(x, y, std::move(text));
  }

  // Tab stops every eight average characters from the row's start.
  void putExpandingTabs(int x0, std::string_view row) {
    const int stop = 8 * average_;
    int x = x0;
    std::size_t from = 0;
    while (true) {
      const std::size_t tab = row.find('\t', from);
      const std::string_view piece =
          row.substr(from, tab == std::string_view::npos ? row.npos : tab - from);
      if (!piece.empty()) {
        put(x, rowTop_, std::string(piece));
        x += std::max(0, metrics_.textWidth(piece));
      }
      if (tab == std::string_view::npos) break;
      x = x0 + ((x - x0) / stop + 1) * stop;
      from = tab + 1;
    }
  }

  void put(int x, int y, std::string text) {
    result_.pages.back().texts.push_back({x, y, std::move(text)});
  }

  const TStringsPrinter& settings_;
  const PrintMetrics& metrics_;
  LocalTime now_;
  PrintLayoutResult& result_;
  PrintTextArea area_;
  int lineHeight_ = 1, average_ = 1, lineStep_ = 1;
  int bodyTop_ = 0, footerTop_ = 0;
  int strip_ = 0, columnWidth_ = 0, columnStep_ = 0, textWidth_ = 0;
  int pageNumber_ = 1;
  int column_ = 0;
  int rowTop_ = 0;
};

}  // namespace

int mmToPixels_(int mm, int dpi) { return static_cast<int>(std::lround(mm * dpi / 25.4)); }

PrintTextArea printTextArea_(const TStringsPrinter& settings, const PrintPageGeometry& page) {
  const int dpi = page.dpi > 0 ? page.dpi : 96;
  const int pageWidth = page.pageWidth > 0 ? page.pageWidth : page.paperWidth;
  const int pageHeight = page.pageHeight > 0 ? page.pageHeight : page.paperHeight;
  int offLeft = 0, offTop = 0, offRight = 0, offBottom = 0;
  if (page.queried) {
    offLeft = std::max(0, (page.paperWidth - pageWidth) / 2);
    offTop = std::max(0, (page.paperHeight - pageHeight) / 2);
    offRight = std::max(0, page.paperWidth - pageWidth - offLeft);
    offBottom = std::max(0, page.paperHeight - pageHeight - offTop);
  }
  PrintTextArea area;
  area.left = std::max(0, mmToPixels_(settings.marginLeft(), dpi) - offLeft);
  area.top = std::max(0, mmToPixels_(settings.marginTop(), dpi) - offTop);
  area.right = std::min(pageWidth, pageWidth - mmToPixels_(settings.marginRight(), dpi) + offRight);
  area.bottom =
      std::min(pageHeight, pageHeight - mmToPixels_(settings.marginBottom(), dpi) + offBottom);
  return area;
}

int layoutFontSize_(int size, int screenDpi, int printerDpi) {
  if (screenDpi <= 0 || printerDpi <= 0) return size;
  return static_cast<int>(std::lround(size / (static_cast<double>(screenDpi) / printerDpi)));
}

std::string expandPrintKeywords_(std::string_view pattern, int page, std::string_view fileName,
                                 const LocalTime& now) {
  std::string out;
  for (std::size_t i = 0; i < pattern.size();) {
    const std::size_t n = charLengthAt(pattern, i);
    if (n == 1 && pattern[i] == '%' && i + 1 < pattern.size()) {
      const std::size_t m = charLengthAt(pattern, i + 1);
      switch (pattern[i + 1]) {
        case 'p':
          out += std::to_string(page);
          break;
        case 'f':
          out += fileName;
          break;
        case 'F':
          out += extractFileName_(fileName);
          break;
        case 'y':
          out += std::to_string(now.year);
          break;
        case 'm':
          out += std::to_string(now.month);
          break;
        case 'd':
          out += std::to_string(now.day);
          break;
        case 't': {
          const std::string minute = std::to_string(now.minute);
          out += std::to_string(now.hour) + ":" + (now.minute < 10 ? "0" : "") + minute;
          break;
        }
        default:
          out += pattern.substr(i + 1, m);
      }
      i += 1 + m;
      continue;
    }
    out += pattern.substr(i, n);
    i += n;
  }
  return out;
}

StringList wrapPrintLine_(std::string_view line, int width, const PrintMetrics& metrics) {
  if (line.empty()) return {std::string()};
  StringList rows;
  std::size_t from = 0;
  while (from < line.size()) {
    const std::string_view rest = line.substr(from);
    // A line too long to be measured is wrapped in leading chunks that can be.
    std::size_t end = rest.size();
    while (metrics.textWidth(rest.substr(0, end)) < 0) {
      const std::size_t shorter = boundaryBefore(rest, end / 2);
      if (shorter >= end) break;
      end = shorter;
    }
    StringList part = wrapMeasurable(rest.substr(0, end), width, metrics);
    // The last row of a chunk that stops inside the line may be cut short by
    // the chunk's end: the next chunk starts where that row began.
    if (end < rest.size() && part.size() > 1) part.pop_back();
    for (std::string& row : part) {
      from += row.size();
      rows.push_back(std::move(row));
    }
  }
  return rows;
}

bool layoutPages_(const TStringsPrinter& settings, const StringList& lines,
                  const PrintPageGeometry& page, const PrintMetrics& metrics, const LocalTime& now,
                  const PrintProgress& progress, PrintLayoutResult& result) {
  PageWriter writer(settings, page, metrics, now, lines.size(), result);
  int number = settings.firstLineNumber() - 1;
  const bool limited = settings.lineRangeOption() == TStringsPrinterRangeOption::roLimited;
  for (std::size_t j = 0; j < lines.size(); ++j) {
    const int percent =
        lines.size() == 1 ? 100 : static_cast<int>(std::lround(j * 100.0 / (lines.size() - 1)));
    if (progress && !progress(percent)) {
      result = PrintLayoutResult();
      return false;
    }
    const std::size_t index = j + 1;
    if (limited && (index < static_cast<std::size_t>(settings.startLine()) ||
                    index > static_cast<std::size_t>(settings.lastLine())))
      continue;
    ++number;
    writer.putLine(number, wrapPrintLine_(lines[j], writer.textWidth(), metrics));
  }
  writer.finish();
  return true;
}

std::vector<int> pagesToPrint_(const TStringsPrinter& settings, const PrintLayoutResult& layout) {
  std::vector<int> pages;
  const bool limited = settings.rangeOption() == TStringsPrinterRangeOption::roLimited;
  for (std::size_t i = 0; i < layout.pages.size(); ++i) {
    const long long number =
        static_cast<long long>(layout.firstPageNumber) + static_cast<long long>(i);
    const long long index = static_cast<long long>(i) + 1;
    if (limited && (index < settings.startPage() || index > settings.lastPage())) continue;
    if (number < 1) continue;
    if (settings.pageOption() == TStringsPrinterPageOption::poOdd && number % 2 == 0) continue;
    if (settings.pageOption() == TStringsPrinterPageOption::poEven && number % 2 != 0) continue;
    pages.push_back(static_cast<int>(i));
  }
  return pages;
}

}  // namespace vrk
