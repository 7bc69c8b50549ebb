#pragma once
// The settings of the text printer: margins, columns, header and footer,
// line numbers and ranges, and the font. Lengths are millimetres. Every
// setter clamps into its range, so a value read from a file or typed into the
// dialog can never make the layout divide by zero or print nothing.
#include <string>

namespace vrk {

enum class TStringsPrinterHeaderAlign { haNone, haLeft, haCenter, haRight };
enum class TStringsPrinterPageOption { poBoth, poOdd, poEven };
enum class TStringsPrinterRangeOption { roWhole, roLimited };

// The font as the settings keep it; the name is Shift_JIS.
struct TStringsPrinterFont {
  std::string name;
  int size = 10;  // points
  bool bold = false, italic = false, underline = false, strikeOut = false;
  int charset = 1;        // the platform's "default" character set
  int color = -16777208;  // the window-text system colour
  bool operator==(const TStringsPrinterFont&) const = default;
};

constexpr int kPrintNumberMax = 999999;

class TStringsPrinter {
 public:
  int columnCount() const { return columnCount_; }
  int columnSpace() const { return columnSpace_; }
  const std::string& fileName() const { return fileName_; }
  int firstLineNumber() const { return firstLineNumber_; }
  int firstPageNumber() const { return firstPageNumber_; }
  const TStringsPrinterFont& font() const { return font_; }
  const std::string& footer() const { return footer_; }
  TStringsPrinterHeaderAlign footerAlign() const { return footerAlign_; }
  const std::string& header() const { return header_; }
  TStringsPrinterHeaderAlign headerAlign() const { return headerAlign_; }
  int lastLine() const { return lastLine_; }
  int lastPage() const { return lastPage_; }
  bool lineNumber() const { return lineNumber_; }
  TStringsPrinterRangeOption lineRangeOption() const { return lineRangeOption_; }
  int marginBottom() const { return marginBottom_; }
  int marginLeft() const { return marginLeft_; }
  int marginLine() const { return marginLine_; }
  int marginRight() const { return marginRight_; }
  int marginTop() const { return marginTop_; }
  TStringsPrinterPageOption pageOption() const { return pageOption_; }
  TStringsPrinterRangeOption rangeOption() const { return rangeOption_; }
  int startLine() const { return startLine_; }
  int startPage() const { return startPage_; }

  void setColumnCount_(int v);  // 1..3
  void setColumnSpace_(int v);  // 0..100
  void setFileName_(std::string v) { fileName_ = std::move(v); }
  void setFirstLineNumber_(int v);  // 1..999999, and the others below alike
  void setFirstPageNumber_(int v);
  void setFont_(const TStringsPrinterFont& v) { font_ = v; }
  void setFooter_(std::string v) { footer_ = std::move(v); }
  void setFooterAlign_(TStringsPrinterHeaderAlign v) { footerAlign_ = v; }
  void setHeader_(std::string v) { header_ = std::move(v); }
  void setHeaderAlign_(TStringsPrinterHeaderAlign v) { headerAlign_ = v; }
  void setLastLine_(int v);
  void setLastPage_(int v);
  void setLineNumber_(bool v) { lineNumber_ = v; }
  void setLineRangeOption_(TStringsPrinterRangeOption v) { lineRangeOption_ = v; }
  void setMarginBottom_(int v);  // 0..100, the other margins alike
  void setMarginLeft_(int v);
  void setMarginLine_(int v);
  void setMarginRight_(int v);
  void setMarginTop_(int v);
  void setPageOption_(TStringsPrinterPageOption v) { pageOption_ = v; }
  void setRangeOption_(TStringsPrinterRangeOption v) { rangeOption_ = v; }
  void setStartLine_(int v);
  void setStartPage_(int v);

  bool operator==(const TStringsPrinter&) const = default;

 private:
  int columnCount_ = 1;
  int columnSpace_ = 4;
  std::string fileName_;
  // Numbering and ranges start at 1 and end at the maximum: a 0 here would
  // skip page 1 (numbers below 1 are never printed) and an empty limited
  // range would print nothing.
  int firstLineNumber_ = 1;
  int firstPageNumber_ = 1;
  TStringsPrinterFont font_;
  std::string footer_;
  TStringsPrinterHeaderAlign footerAlign_ = TStringsPrinterHeaderAlign::haNone;
  std::string header_;
  TStringsPrinterHeaderAlign headerAlign_ = TStringsPrinterHeaderAlign::haNone;
  int lastLine_ = kPrintNumberMax;
  int lastPage_ = kPrintNumberMax;
  bool lineNumber_ = false;
  TStringsPrinterRangeOption lineRangeOption_ = TStringsPrinterRangeOption::roWhole;
  int marginBottom_ = 0;
  int marginLeft_ = 0;
  int marginLine_ = 0;
  int marginRight_ = 0;
  int marginTop_ = 0;
  TStringsPrinterPageOption pageOption_ = TStringsPrinterPageOption::poBoth;
  TStringsPrinterRangeOption rangeOption_ = TStringsPrinterRangeOption::roWhole;
  int startLine_ = 1;
  int startPage_ = 1;
};

}  // namespace vrk
