#include "print/qt/TFormStringsPrint.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QWhatsThis>

#include "platform/SJ.h"
#include "platform/qt/QtPrinters.h"
#include "platform/qt/QtSjis.h"
#include "print/qt/PrintDevice.h"
#include "print/qt/StringsPrinting.h"

namespace vrk {
namespace {

QSpinBox* millimetres(QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setRange(0, 100);
  box->setSuffix(" mm");
  return box;
}

// 1..999999; typing past either end wraps to the other.
QSpinBox* numberBox(QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setRange(0, kPrintNumberMax + 1);
  QObject::connect(box, &QSpinBox::valueChanged, box, [box](int v) {
    if (v < 1)
      box->setValue(kPrintNumberMax);
    else if (v > kPrintNumberMax)
      box->setValue(1);
  });
  return box;
}

QGroupBox* radios(const QString& title, const QStringList& names, QButtonGroup*& group,
                  QWidget* parent) {
  auto* box = new QGroupBox(title, parent);
  auto* row = new QHBoxLayout(box);
  group = new QButtonGroup(box);
  for (int i = 0; i < names.size(); ++i) {
    auto* radio = new QRadioButton(names[i], box);
    group->addButton(radio, i);
    row->addWidget(radio);
  }
  return box;
}

void check(QButtonGroup* group, int id) {
  if (QAbstractButton* b = group->button(id)) b->setChecked(true);
}

}  // namespace

TFormStringsPrint::TFormStringsPrint(Printers& printers, QWidget* parent)
    : QDialog(parent), aPrinters(printers), aQPrinter(printers.printer()) {
  setObjectName("TFormStringsPrint");
  setWindowTitle("TStringsPrinter");
  aMarginLeft = millimetres(this);
  aMarginRight = millimetres(this);
  aMarginTop = millimetres(this);
  aMarginBottom = millimetres(this);
  aMarginLine = millimetres(this);
  aColumnSpace = millimetres(this);
  auto* margins = new QFormLayout;
  margins->addRow("Left margin:", aMarginLeft);
  margins->addRow("Right margin:", aMarginRight);
  margins->addRow("Top margin:", aMarginTop);
  margins->addRow("Bottom margin:", aMarginBottom);
  margins->addRow("Line margin:", aMarginLine);
  margins->addRow("Column space:", aColumnSpace);

  const QStringList aligns{"None", "Left", "Center", "Right"};
  QGroupBox* columns = radios(" Columns ", {"1", "2", "3"}, aColumns, this);
  QGroupBox* header = radios(" Header ", aligns, aHeaderAlign, this);
  QGroupBox* footer = radios(" Footer ", aligns, aFooterAlign, this);
  aHeader = new QLineEdit(this);
  aFooter = new QLineEdit(this);
  auto* strings = new QFormLayout;
  strings->addRow("Header string:", aHeader);
  strings->addRow("Footer string:", aFooter);
  aLineNumber = new QCheckBox("LineNumber", this);
  QGroupBox* pageOption = radios(" PageOption ", {"poBoth", "poOdd", "poEven"}, aPageOption, this);

  QGroupBox* range = radios(" RangeOption ", {"roWhole", "roLimited"}, aRange, this);
  QGroupBox* lineRange = radios(" LineRangeOption ", {"roWhole", "roLimited"}, aLineRange, this);
  aStartPage = numberBox(this);
  aLastPage = numberBox(this);
  aFirstPageNumber = numberBox(this);
  aStartLine = numberBox(this);
  aLastLine = numberBox(this);
  aFirstLineNumber = numberBox(this);
  aStartPageLabel = new QLabel("StartPage:", this);
  aLastPageLabel = new QLabel("LastPage:", this);
  aFirstPageNumberLabel = new QLabel("FirstPageNumber:", this);
  aStartLineLabel = new QLabel("StartLine:", this);
  aLastLineLabel = new QLabel("LastLine:", this);
  aFirstLineNumberLabel = new QLabel("FirstLineNumber:", this);
  auto* numbers = new QGridLayout;
  const std::pair<QLabel*, QSpinBox*> cells[] = {{aStartPageLabel, aStartPage},
                                                 {aLastPageLabel, aLastPage},
                                                 {aFirstPageNumberLabel, aFirstPageNumber},
                                                 {aStartLineLabel, aStartLine},
                                                 {aLastLineLabel, aLastLine},
                                                 {aFirstLineNumberLabel, aFirstLineNumber}};
  for (int i = 0; i < 6; ++i) {
    numbers->addWidget(cells[i].first, i % 3, (i / 3) * 2);
    numbers->addWidget(cells[i].second, i % 3, (i / 3) * 2 + 1);
    cells[i].first->installEventFilter(this);
  }
  numbers->addWidget(range, 3, 0, 1, 2);
  numbers->addWidget(lineRange, 3, 2, 1, 2);

  aFontName = new QComboBox(this);
  aFontName->addItems(fontNames_(QFontDatabase::families()));
  aFontSize = new QSpinBox(this);
  aFontSize->setRange(6, 30);
  auto* font = new QFormLayout;
  font->addRow("Font name:", aFontName);
  font->addRow("Font size:", aFontSize);

  aPrinterName = new QLabel(this);
  aPaperName = new QLabel(this);
  aOrientation = new QLabel(this);
  aKeywords = new QLabel(
      sjisToQString(
          SJ("Header, Footer に利用出来るキーワードは以下の通りです。\r\n\r\n%p  ページ番号\r\n%f  "
             "ファイル名パス付き\r\n%F  ファイル名パス無し\r\n%y  年\r\n%m  月\r\n%d  日\r\n%t  "
             "時間")),
      this);
  auto* printer = new QVBoxLayout;
  printer->addWidget(aPrinterName);
  printer->addWidget(aPaperName);
  printer->addWidget(aOrientation);

  aPrinterSetting = new QPushButton("Printer setting", this);
  aPrint = new QPushButton("Print", this);
  aPreview = new QPushButton("Preview", this);
  aOK = new QPushButton("OK", this);
  aCancel = new QPushButton("Cancel", this);
  aHelp = new QPushButton("Help", this);
  aOK->setDefault(true);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {aPrinterSetting, aPrint, aPreview}) buttons->addWidget(b);
  buttons->addStretch();
  for (QPushButton* b : {aOK, aCancel, aHelp}) buttons->addWidget(b);

  auto* left = new QVBoxLayout;
  left->addLayout(margins);
  left->addWidget(columns);
  left->addLayout(font);
  left->addLayout(printer);
  auto* right = new QVBoxLayout;
  right->addWidget(header);
  right->addWidget(footer);
  right->addLayout(strings);
  right->addWidget(aLineNumber);
  right->addWidget(pageOption);
  right->addLayout(numbers);
  auto* top = new QHBoxLayout;
  top->addLayout(left);
  top->addLayout(right);
  top->addWidget(aKeywords, 0, Qt::AlignTop);
  auto* box = new QVBoxLayout(this);
  box->addLayout(top);
  box->addLayout(buttons);

  connect(aRange, &QButtonGroup::idToggled, this, [this](int id, bool on) {
    if (on) rangeChosen(id == 1, aStartPage, aLastPage, aFirstPageNumber);
  });
  connect(aLineRange, &QButtonGroup::idToggled, this, [this](int id, bool on) {
    if (on) rangeChosen(id == 1, aStartLine, aLastLine, aFirstLineNumber);
  });
  connect(aStartPage, &QSpinBox::valueChanged, this, [this](int v) {
    if (!flagPutting && aRange->checkedId() == 1) aFirstPageNumber->setValue(v);
  });
  connect(aStartLine, &QSpinBox::valueChanged, this, [this](int v) {
    if (!flagPutting && aLineRange->checkedId() == 1) aFirstLineNumber->setValue(v);
  });
  connect(aPrinterSetting, &QPushButton::clicked, this, [this] {
    if (!aQPrinter) return;
    QPageSetupDialog setup(aQPrinter.get(), this);
    if (setup.exec() == QDialog::Accepted) aPrinters.keepSetup_(*aQPrinter);
    refreshPrinterInfo_();
  });
  aPrinterSetting->setEnabled(aQPrinter != nullptr);
  connect(aPrint, &QPushButton::clicked, this, &TFormStringsPrint::printNow);
  connect(aPreview, &QPushButton::clicked, this, &TFormStringsPrint::previewNow);
  connect(aOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(aCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(aHelp, &QPushButton::clicked, this, [this] {
    QWhatsThis::showText(aHelp->mapToGlobal(QPoint(0, 0)), aKeywords->text(), aHelp);
  });
  refreshPrinterInfo_();
  putSettings_(aSettings);
}

TFormStringsPrint::~TFormStringsPrint() = default;

QStringList TFormStringsPrint::fontNames_(const QStringList& families) {
  QStringList names;
  for (const QString& f : families)
    if (!f.startsWith('@')) names << f;
  return names;
}

void TFormStringsPrint::refreshPrinterInfo_() {
  const TStringsPrinterInfo info = printerInfoOf_(aQPrinter.get());
  aPrinterName->setText(sjisToQString(info.printerName));
  aPaperName->setText(sjisToQString(info.paperName) +
                      QString(" (%1 x %2 mm)").arg(info.paperWidth).arg(info.paperHeight));
  aOrientation->setText(QString::fromStdString(info.orientationText()));
}

void TFormStringsPrint::rangeChosen(bool limited, QSpinBox* start, QSpinBox* last,
                                    QSpinBox* first) {
  start->setEnabled(limited);
  last->setEnabled(limited);
  if (flagPutting) return;
  first->setValue(limited ? start->value() : 1);
}

void TFormStringsPrint::putSettings_(const TStringsPrinter& s) {
  flagPutting = true;
  aSettings = s;
  aMarginLeft->setValue(s.marginLeft());
  aMarginRight->setValue(s.marginRight());
  aMarginTop->setValue(s.marginTop());
  aMarginBottom->setValue(s.marginBottom());
  aMarginLine->setValue(s.marginLine());
  aColumnSpace->setValue(s.columnSpace());
  check(aColumns, s.columnCount() - 1);
  check(aHeaderAlign, static_cast<int>(s.headerAlign()));
  check(aFooterAlign, static_cast<int>(s.footerAlign()));
  aHeader->setText(sjisToQString(s.header()));
  aFooter->setText(sjisToQString(s.footer()));
  aLineNumber->setChecked(s.lineNumber());
  check(aPageOption, static_cast<int>(s.pageOption()));
  aStartPage->setValue(s.startPage());
  aLastPage->setValue(s.lastPage());
  aFirstPageNumber->setValue(s.firstPageNumber());
  aStartLine->setValue(s.startLine());
  aLastLine->setValue(s.lastLine());
  aFirstLineNumber->setValue(s.firstLineNumber());
  check(aRange, static_cast<int>(s.rangeOption()));
  check(aLineRange, static_cast<int>(s.lineRangeOption()));
  rangeChosen(s.rangeOption() == TStringsPrinterRangeOption::roLimited, aStartPage, aLastPage,
              aFirstPageNumber);
  rangeChosen(s.lineRangeOption() == TStringsPrinterRangeOption::roLimited, aStartLine, aLastLine,
              aFirstLineNumber);
  const QString family = sjisToQString(s.font().name);
  if (!family.isEmpty() && aFontName->findText(family) < 0) aFontName->addItem(family);
  aFontName->setCurrentIndex(family.isEmpty() ? -1 : aFontName->findText(family));
  aFontSize->setValue(s.font().size);
  flagPutting = false;
}

TStringsPrinter TFormStringsPrint::settings() const {
  TStringsPrinter s = aSettings;
  s.setMarginLeft_(aMarginLeft->value());
  s.setMarginRight_(aMarginRight->value());
  s.setMarginTop_(aMarginTop->value());
  s.setMarginBottom_(aMarginBottom->value());
  s.setMarginLine_(aMarginLine->value());
  s.setColumnSpace_(aColumnSpace->value());
  s.setColumnCount_(aColumns->checkedId() + 1);
  s.setHeaderAlign_(
      static_cast<TStringsPrinterHeaderAlign>(std::max(0, aHeaderAlign->checkedId())));
  s.setFooterAlign_(
      static_cast<TStringsPrinterHeaderAlign>(std::max(0, aFooterAlign->checkedId())));
  // A character Shift_JIS cannot hold keeps the stored text.
  s.setHeader_(qStringToSjis(aHeader->text()).value_or(s.header()));
  s.setFooter_(qStringToSjis(aFooter->text()).value_or(s.footer()));
  s.setLineNumber_(aLineNumber->isChecked());
  s.setPageOption_(static_cast<TStringsPrinterPageOption>(std::max(0, aPageOption->checkedId())));
  s.setRangeOption_(static_cast<TStringsPrinterRangeOption>(std::max(0, aRange->checkedId())));
  s.setLineRangeOption_(
      static_cast<TStringsPrinterRangeOption>(std::max(0, aLineRange->checkedId())));
  s.setStartPage_(aStartPage->value());
  s.setLastPage_(aLastPage->value());
  s.setFirstPageNumber_(aFirstPageNumber->value());
  s.setStartLine_(aStartLine->value());
  s.setLastLine_(aLastLine->value());
  s.setFirstLineNumber_(aFirstLineNumber->value());
  TStringsPrinterFont font = s.font();
  if (aFontName->currentIndex() >= 0)
    font.name = qStringToSjis(aFontName->currentText()).value_or(font.name);
  font.size = aFontSize->value();
  s.setFont_(font);
  return s;
}

void TFormStringsPrint::setLines_(StringList lines, LocalTime now) {
  aLines = std::move(lines);
  aNow = now;
}

bool TFormStringsPrint::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    const std::pair<QLabel*, std::pair<QSpinBox*, int>> targets[] = {
        {aStartPageLabel, {aStartPage, 1}},
        {aFirstPageNumberLabel, {aFirstPageNumber, 1}},
        {aStartLineLabel, {aStartLine, 1}},
        {aFirstLineNumberLabel, {aFirstLineNumber, 1}},
        {aLastPageLabel, {aLastPage, kPrintNumberMax}},
        {aLastLineLabel, {aLastLine, kPrintNumberMax}}};
    for (const auto& [label, target] : targets) {
      if (watched != label) continue;
      target.first->setValue(target.second);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TFormStringsPrint::printNow() {
  printStrings_(settings(), aPrinters, aSettings.fileName(), aLines, aNow, this);
}

void TFormStringsPrint::previewNow() { previewStrings_(settings(), aPrinters, aLines, aNow, this); }

bool TFormStringsPrint::execute_(TStringsPrinter* printer, Printers& printers,
                                 const StringList& lines, const LocalTime& now, QWidget* parent) {
  if (!printer) return false;
  TFormStringsPrint dialog(printers, parent);
  dialog.putSettings_(*printer);
  dialog.setLines_(lines, now);
  if (dialog.exec() != QDialog::Accepted) return false;
  *printer = dialog.settings();
  return true;
}

}  // namespace vrk
