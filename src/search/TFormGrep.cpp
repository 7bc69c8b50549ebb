#include "search/TFormGrep.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/NameEdits.h"
#include "platform/qt/QtSjis.h"
#include "search/ScanSupport.h"
#include "text/LineLists.h"

namespace vrk {

TFormGrep::TFormGrep(QWidget* parent)
    : QDialog(parent), ComboBoxKeyWord(new QComboBox(this)), ComboBoxOption(new QComboBox(this)) {
  setObjectName(QStringLiteral("FormGrep"));
  setWindowTitle(QStringLiteral("Grep"));
  setModal(true);
  ComboBoxKeyWord->setEditable(true);
  ComboBoxKeyWord->setInsertPolicy(QComboBox::NoInsert);
  ComboBoxOption->addItems(
      {QStringLiteral("Normal"), QStringLiteral("Head"), QStringLiteral("Tail")});
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("KeyWord"), this));
  top->addWidget(ComboBoxKeyWord, 1);
  auto* options = new QHBoxLayout;
  options->addWidget(new QLabel(QStringLiteral("Option"), this));
  options->addWidget(ComboBoxOption);
  for (const char* caption : {"NOT", "Number", "Ignore"}) {
    auto* box = new QCheckBox(QString::fromLatin1(caption), this);
    aChecks.push_back(box);
    options->addWidget(box);
  }
  check_("Ignore")->setChecked(true);
  auto* buttons = new QHBoxLayout;
  for (const char* caption : {"OK", "Cancel"}) {
    auto* button = new QPushButton(QString::fromLatin1(caption), this);
    button->setAutoDefault(false);
    aButtons.push_back(button);
    buttons->addWidget(button);
  }
  button_("OK")->setDefault(true);
  connect(button_("OK"), &QPushButton::clicked, this, &QDialog::accept);
  connect(button_("Cancel"), &QPushButton::clicked, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(options);
  layout->addLayout(buttons);
}

std::string TFormGrep::keyword() const {
  return qStringToSjis(ComboBoxKeyWord->currentText()).value_or("");
}

int TFormGrep::mode() const {
  switch (ComboBoxOption->currentIndex()) {
    case 1:
      return kMatchHead;
    case 2:
      return kMatchTail;
    default:
      return kMatchContains;
  }
}

bool TFormGrep::isNot() const { return check_("NOT")->isChecked(); }
bool TFormGrep::isNumbered() const { return check_("Number")->isChecked(); }
bool TFormGrep::isIgnore() const { return check_("Ignore")->isChecked(); }

void TFormGrep::rememberKeyword_(const std::string& keyword) {
  pushFrontUnique_(aHistory, keyword, true);
  fillHistory_(*ComboBoxKeyWord, aHistory, keyword);
}

QCheckBox* TFormGrep::check_(std::string_view caption) const {
  return findCaption_(aChecks, caption);
}

QPushButton* TFormGrep::button_(std::string_view caption) const {
  return findCaption_(aButtons, caption);
}

}  // namespace vrk
