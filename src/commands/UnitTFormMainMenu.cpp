#include "commands/UnitTFormMainMenu.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>

#include "model/UnitMemoHolder.h"
#include "platform/qt/QtColour.h"
#include "platform/qt/QtSjis.h"
#include "shell/FrameSlots.h"
#include "text/UnitStringEX.h"

namespace vrk {

void TFormMainMenu::formCreate() {
  TFormMainScript::formCreate();
  buildTopPanel_();
  buildMenus_();
  buildStatusBar_();
}

void TFormMainMenu::buildTopPanel_() {
  TopPanel = addToolBar(QStringLiteral("Top"));
  TopPanel->setMovable(false);
  TopPanel->setAutoFillBackground(true);
  CheckBoxReadOnly = new QCheckBox(QStringLiteral("ReadOnly"), TopPanel);
  CheckBoxInternet = new QCheckBox(QStringLiteral("Internet"), TopPanel);
  TopPanel->addWidget(CheckBoxReadOnly);
  TopPanel->addWidget(CheckBoxInternet);
  connect(CheckBoxReadOnly, &QCheckBox::toggled, this, [this](bool readOnly) {
    guard_("ReadOnly", [&] { getFrameMemoHolder()->nodeEditor().setReadOnly_(readOnly); });
  });
  const auto button = [this](const char* caption, auto action) {
    auto* b = new QPushButton(QString::fromLatin1(caption), TopPanel);
    TopPanel->addWidget(b);
    connect(b, &QPushButton::clicked, this, [this, caption, action] { guard_(caption, action); });
  };
  button("Break", [this] { breakDoing(); });
  button("Done", [this] { endDoing_(); });
  button("Exit", [this] { terminateAsk_(); });
}

void TFormMainMenu::buildMenus_() {
  const auto item = [this](QMenu* menu, const char* caption, auto action) {
    connect(menu->addAction(QString::fromLatin1(caption)), &QAction::triggered, this,
            [this, caption, action] { guard_(caption, action); });
  };
  MenuFile = menuBar()->addMenu(QStringLiteral("&File"));
  item(MenuFile, "&Exit", [this] { closeNormal(); });
  item(MenuFile, "Exit(All Yes)", [this] { closeAllYes(); });
  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  item(help, "Log", [this] { showFormLog(); });
  item(help, "Version", [this] { showVersion(); });
}

void TFormMainMenu::buildStatusBar_() {
  statusBar()->setToolTip(QStringLiteral("ReadOnly :  Count of Holders : Message"));
  for (QLabel*& panel : StatusPanels) panel = new QLabel(statusBar());
  StatusPanels[0]->setMinimumWidth(30);
  StatusPanels[1]->setMinimumWidth(40);
  StatusPanels[2]->setTextFormat(Qt::PlainText);
  statusBar()->addWidget(StatusPanels[0]);
  statusBar()->addWidget(StatusPanels[1]);
  statusBar()->addWidget(StatusPanels[2], 1);
}

Qt::CursorShape TFormMainMenu::cursorShape_(int cursor) {
  return cursor == -11 ? Qt::WaitCursor : Qt::ArrowCursor;
}

void TFormMainMenu::mouseCursor(int cursor) {
  const QCursor shape(cursorShape_(cursor));
  setCursor(shape);
  TopPanel->setCursor(shape);
  statusBar()->setCursor(shape);
}

void TFormMainMenu::messageDoing_(std::string_view text) {
  StatusPanels[2]->setText(sjisToQString(text));
  StatusPanels[2]->repaint();
}

void TFormMainMenu::applyFileColor() {
  const std::string colour = unquote_(aFile->getField_("Color"));
  if (colour.empty()) return;
  QPalette palette = TopPanel->palette();
  palette.setColor(QPalette::Window, toQColor_(textToColour_(colour)));
  TopPanel->setPalette(palette);
}

Colour TFormMainMenu::getTopPanelColour() const {
  return fromQColor_(TopPanel->palette().color(QPalette::Window));
}

void TFormMainMenu::showReadOnlyMark() {
  MemoNode* node = getCurMemoNode();
  StatusPanels[0]->setText(node && node->isReadOnlyInherited() ? QStringLiteral("RO") : QString());
}

QPlainTextEdit* TFormMainMenu::getMemoEditor() {
  return getFrameMemoHolder()->nodeEditor().memoEditor();
}

bool TFormMainMenu::isUIReadOnly() { return CheckBoxReadOnly->isChecked(); }

bool TFormMainMenu::isUIInternet() { return CheckBoxInternet->isChecked(); }

void TFormMainMenu::showHolderCount() {
  StatusPanels[1]->setText(QString::number(aFile->countOfHolders()));
}

}  // namespace vrk
