#pragma once
// Paper kinds by the platform's paper codes (1..68), for a printer that does
// not report the size of its paper itself. Code 9 (A4) stands for a paper
// that cannot be read at all.
#include <string>

namespace vrk {

constexpr int kPaperCodeA4 = 9;

struct PaperKind {
  const char* name = "";      // "DMPAPER_A4"
  int width = 0, height = 0;  // millimetres; 0 x 0 for a code outside 1..68
};

PaperKind paperOfCode_(int code);

// What the settings dialog shows of the printer.
struct TStringsPrinterInfo {
  std::string printerName;  // Shift_JIS; "不明" when it cannot be read
  std::string paperName;
  int paperCode = kPaperCodeA4;
  int paperWidth = 0, paperHeight = 0;  // millimetres
  bool landscape = false;
  std::string orientationText() const { return landscape ? "poLandscape" : "poPortrait"; }
};

}  // namespace vrk
