#include "print/qt/TFormStrPProg.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace vrk {

TFormStrPProg::TFormStrPProg(const QString& caption, QWidget* parent)
    : QDialog(parent),
      aCaption(new QLabel(caption, this)),
      aBar(new QProgressBar(this)),
      aCancel(new QPushButton("Cancel", this)) {
  setObjectName("TFormStrPProg");
  setWindowTitle(caption);
  // Only Cancel takes input while the layout lets events run.
  setWindowModality(Qt::ApplicationModal);
  aBar->setRange(0, 100);
  aBar->setValue(0);
  auto* box = new QVBoxLayout(this);
  box->addWidget(aCaption);
  box->addWidget(aBar);
  box->addWidget(aCancel, 0, Qt::AlignHCenter);
  connect(aCancel, &QPushButton::clicked, this, [this] { flagCancel = true; });
  connect(this, &QDialog::rejected, this, [this] { flagCancel = true; });  // Esc, closed
}

bool TFormStrPProg::step_(int percent) {
  aBar->setValue(percent);
  QCoreApplication::processEvents();
  return !flagCancel;
}

}  // namespace vrk
