#pragma once
// The printer settings dialog (caption "TStringsPrinter"). It works on a copy:
// OK copies the edited settings back, Cancel changes nothing. Its own "Print"
// and "Preview" act on the lines it was opened with, with the edited settings.
// Page and line boxes hold 1..999999, a value below wraps to 999999 and one
// above to 1; double-clicking a start or first-number label sets 1, a last
// label 999999; roLimited enables the range boxes and keeps the first number
// at the start, roWhole disables them and sets it to 1.
#include <QDialog>
#include <memory>

#include "print/TStringsPrinter.h"
#include "print/TStringsPrinterInfo.h"
#include "text/LocalTime.h"
#include "text/StringList.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace vrk {

class Printers;

class TFormStringsPrint final : public QDialog {
  Q_OBJECT

 public:
  TFormStringsPrint(Printers& printers, QWidget* parent);
  ~TFormStringsPrint() override;

  // Opens the dialog modally on printer's settings; true after OK (the
  // settings copied back). No printer: nothing opens, false.
  static bool execute_(TStringsPrinter* printer, Printers& printers, const StringList& lines,
                       const LocalTime& now, QWidget* parent);

  void putSettings_(const TStringsPrinter& settings);
  TStringsPrinter settings() const;  // the controls' values
  void setLines_(StringList lines, LocalTime now);

  // The font names offered: the given families without those that begin with "@".
  static QStringList fontNames_(const QStringList& families);
  void refreshPrinterInfo_();

  QSpinBox *aMarginLeft, *aMarginRight, *aMarginTop, *aMarginBottom, *aMarginLine, *aColumnSpace;
  QButtonGroup *aColumns, *aHeaderAlign, *aFooterAlign, *aPageOption, *aRange, *aLineRange;
  QLineEdit *aHeader, *aFooter;
  QCheckBox* aLineNumber;
  QSpinBox *aStartPage, *aLastPage, *aFirstPageNumber, *aStartLine, *aLastLine, *aFirstLineNumber;
  QLabel *aStartPageLabel, *aLastPageLabel, *aFirstPageNumberLabel;
  QLabel *aStartLineLabel, *aLastLineLabel, *aFirstLineNumberLabel;
  QComboBox* aFontName;
  QSpinBox* aFontSize;
  QLabel *aPrinterName, *aPaperName, *aOrientation, *aKeywords;
  QPushButton *aPrinterSetting, *aPrint, *aPreview, *aOK, *aCancel, *aHelp;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void rangeChosen(bool limited, QSpinBox* start, QSpinBox* last, QSpinBox* first);
  void printNow();
  void previewNow();

  Printers& aPrinters;
  std::unique_ptr<QPrinter> aQPrinter;
  TStringsPrinter aSettings;  // what the controls do not show (file name, font colour)
  StringList aLines;
  LocalTime aNow;
  bool flagPutting = false;
};

}  // namespace vrk
