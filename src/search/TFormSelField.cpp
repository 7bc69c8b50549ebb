#include "search/TFormSelField.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "search/ScanSupport.h"

namespace vrk {

TFormSelField::TFormSelField(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("FormSelField"));
  setWindowTitle(QStringLiteral("FormSelField"));
  auto* row = new QHBoxLayout(this);
  for (const char* caption : {"Update", "Hide"}) {
    auto* button = new QPushButton(QString::fromLatin1(caption), this);
    aButtons.push_back(button);
    row->addWidget(button);
  }
  connect(button_("Hide"), &QPushButton::clicked, this, &QWidget::hide);
}

QPushButton* TFormSelField::button_(std::string_view caption) const {
  return findCaption_(aButtons, caption);
}

}  // namespace vrk
