#include "search/TFormGroupTree.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "search/ScanSupport.h"

namespace vrk {

TFormGroupTree::TFormGroupTree(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("FormGroupTree"));
  setWindowTitle(QStringLiteral("FormGroupTree"));
  auto* row = new QHBoxLayout(this);
  for (const char* caption : {"Group By", "Clear", "Hide"}) {
    auto* button = new QPushButton(QString::fromLatin1(caption), this);
    aButtons.push_back(button);
    row->addWidget(button);
  }
  connect(button_("Hide"), &QPushButton::clicked, this, &QWidget::hide);
}

QPushButton* TFormGroupTree::button_(std::string_view caption) const {
  return findCaption_(aButtons, caption);
}

}  // namespace vrk
