#pragma once
// The page layout of the text printer. Pages are laid out once into a display
// list (text at positions, in printable-page pixels); the printer and the
// preview both replay it, so they show the same pages. Text is measured
// through an interface: the Qt side measures with the printer's font, tests
// with fixed widths.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "print/TStringsPrinter.h"
#include "text/LocalTime.h"
#include "text/StringList.h"

namespace vrk {

class PrintMetrics {
 public:
  virtual ~PrintMetrics() = default;
  // Width of Shift_JIS text in pixels on one line; negative when the text is
  // too long to be measured.
  virtual int textWidth(std::string_view sjis) const = 0;
  // Character height plus external leading.
  virtual int lineHeight() const = 0;
  virtual int averageCharWidth() const = 0;
  virtual bool italic() const { return false; }
};

// What the printer told about its page; `queried` false when it could not be
// asked (then the offsets are 0 and the paper is the page).
struct PrintPageGeometry {
  bool queried = false;
  int dpi = 96;                         // horizontal resolution, used for both directions
  int paperWidth = 0, paperHeight = 0;  // pixels, already turned for landscape
  int pageWidth = 0, pageHeight = 0;    // the printable page, pixels
};

struct PrintText {
  int x = 0, y = 0;  // top left
  std::string text;  // Shift_JIS, one line, no tabs
  bool operator==(const PrintText&) const = default;
};

struct PrintPage {
  std::vector<PrintText> texts;
};

struct PrintLayoutResult {
  int width = 0, height = 0;  // the printable page every image covers
  int firstPageNumber = 1;    // the number of page image 0
  std::vector<PrintPage> pages;
};

// The rectangle text goes into, from the margins and the unprintable offsets.
struct PrintTextArea {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// n millimetres in pixels at dpi, rounded.
int mmToPixels_(int mm, int dpi);
PrintTextArea printTextArea_(const TStringsPrinter& settings, const PrintPageGeometry& page);
// The point size on the page image: size / (screen dpi / printer dpi), rounded.
int layoutFontSize_(int size, int screenDpi, int printerDpi);

// Header and footer keywords: %p page, %f file name, %F file name without its
// path, %y %m %d the date without leading zeros, %t the time as H:mm; "%" and
// any other character gives that character.
std::string expandPrintKeywords_(std::string_view pattern, int page, std::string_view fileName,
                                 const LocalTime& now);

// One input line into rows no wider than width (where the text allows):
// rows never end inside a double-byte character, prefer to end after a space
// or a double-byte character, and each takes at least one character, so any
// width (even below one character, or negative) makes progress.
StringList wrapPrintLine_(std::string_view line, int width, const PrintMetrics& metrics);

// Called once per input line with the percentage done; false cancels.
using PrintProgress = std::function<bool(int percent)>;

// Lays out every page. false when progress cancelled (result then empty).
bool layoutPages_(const TStringsPrinter& settings, const StringList& lines,
                  const PrintPageGeometry& page, const PrintMetrics& metrics, const LocalTime& now,
                  const PrintProgress& progress, PrintLayoutResult& result);

// The page images to print, in order, after the page range, numbers below 1
// and the odd/even option.
std::vector<int> pagesToPrint_(const TStringsPrinter& settings, const PrintLayoutResult& layout);

}  // namespace vrk
