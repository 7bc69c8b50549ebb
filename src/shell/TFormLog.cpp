#include "shell/TFormLog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/QtSjis.h"
#include "shell/TFormMainBase0007.h"

namespace vrk {

TFormLog::TFormLog(TFormMainBase0007& form)
    : QWidget(&form, Qt::Window | Qt::WindowStaysOnTopHint),
      aForm(form),
      aMemo(new QPlainTextEdit(this)),
      aPanel(new QWidget(this)),
      aFront(new QCheckBox(QStringLiteral("Front"), aPanel)) {
  setWindowTitle(QStringLiteral("Log"));
  setAttribute(Qt::WA_DeleteOnClose, false);  // closing only hides it
  aMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
  aMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  aMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  aPanel->setAutoFillBackground(true);

  auto* buttons = new QHBoxLayout(aPanel);
  const auto button = [&](const char* caption, auto action) {
    auto* b = new QPushButton(QString::fromLatin1(caption), aPanel);
    buttons->addWidget(b);
    connect(b, &QPushButton::clicked, this, [this, action] { aForm.guard_("TFormLog", action); });
  };
  button("Hide", [this] { hide(); });
  button("CopyAll", [this] { copyAll(); });
  button("Clear", [this] { aMemo->clear(); });
  button("NewNode", [this] { newNode(); });
  buttons->addWidget(aFront);
  buttons->addStretch();
  connect(aFront, &QCheckBox::clicked, this,
          [this](bool front) { aForm.guard_("Front", [&] { setFront_(front); }); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(aPanel);
  layout->addWidget(aMemo);
  resize(640, 360);
}

void TFormLog::addLine_(const std::string& line) { aMemo->appendPlainText(sjisToQString(line)); }

void TFormLog::showEvent(QShowEvent* event) {
  aFront->setChecked(windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  QWidget::showEvent(event);
}

void TFormLog::copyAll() {
  aMemo->selectAll();
  aMemo->copy();
}

void TFormLog::newNode() {
  if (aForm.newMemoNode_() != 0) return;
  if (QPlainTextEdit* editor = aForm.getMemoEditor()) {
    editor->setPlainText(aMemo->toPlainText());
    aForm.UI2Model();
  }
}

void TFormLog::setFront_(bool front) {
  const bool shown = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, front);
  if (shown) show();  // changing the flags hides a window
}

}  // namespace vrk
