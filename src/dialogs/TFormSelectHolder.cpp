#include "dialogs/TFormSelectHolder.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/QtSjis.h"

namespace vrk {

TFormSelectHolder::TFormSelectHolder(QWidget* parent)
    : QDialog(parent),
      ListBoxHolders(new QListWidget(this)),
      ButtonOK(new QPushButton(QStringLiteral("OK"), this)),
      ButtonCancel(new QPushButton(QStringLiteral("CANCEL"), this)),
      ButtonNew(new QPushButton(QStringLiteral("New Holder"), this)),
      ButtonCurrent(new QPushButton(QStringLiteral("Current"), this)) {
  setObjectName(QStringLiteral("FormSelectHolder"));
  setWindowTitle(QStringLiteral("Select Holder"));
  setModal(true);
  ListBoxHolders->setObjectName(QStringLiteral("ListBoxHolders"));
  ListBoxHolders->setSelectionMode(QAbstractItemView::SingleSelection);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {ButtonOK, ButtonCancel, ButtonNew, ButtonCurrent}) {
    button->setAutoDefault(false);
    buttons->addWidget(button);
  }
  ButtonOK->setDefault(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ListBoxHolders);
  layout->addLayout(buttons);
  connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(ButtonNew, &QPushButton::clicked, this, [this] { newHolder(); });
  connect(ButtonCurrent, &QPushButton::clicked, this, [this] { selectCurrent(); });
  connect(ListBoxHolders, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

void TFormSelectHolder::putHolders_(const StringList& names, int current, bool currentEnabled) {
  ListBoxHolders->clear();
  for (const std::string& name : names) ListBoxHolders->addItem(sjisToQString(name));
  aCurrent = current >= 0 && current < ListBoxHolders->count() ? current : -1;
  ListBoxHolders->setCurrentRow(aCurrent);
  if (aCurrent < 0) ListBoxHolders->clearSelection();
  ButtonCurrent->setEnabled(currentEnabled && aCurrent >= 0);
}

int TFormSelectHolder::getSelectedIndex() const {
  const QList<QListWidgetItem*> selected = ListBoxHolders->selectedItems();
  return selected.isEmpty() ? -1 : ListBoxHolders->row(selected.front());
}

QPushButton* TFormSelectHolder::button_(std::string_view caption) const {
  for (QPushButton* button : {ButtonOK, ButtonCancel, ButtonNew, ButtonCurrent})
    if (button->text() == QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())))
      return button;
  return nullptr;
}

void TFormSelectHolder::newHolder() {
  ListBoxHolders->clearSelection();
  ListBoxHolders->setCurrentRow(-1);
  accept();
}

void TFormSelectHolder::selectCurrent() {
  ListBoxHolders->setCurrentRow(aCurrent);
  accept();
}

}  // namespace vrk
