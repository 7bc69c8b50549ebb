#include "shell/TFormMemoNode.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QToolBar>

#include "model/MemoNode.h"
#include "platform/qt/QtSjis.h"
#include "shell/MemoNodeUI.h"
#include "shell/TFormMainBaseVRK.h"

namespace vrk {

int AgentAPLMemoNode::sendMessage_(std::string_view text) {
  aForm.showMessage_(text);
  return 0;
}

std::string AgentAPLMemoNode::query_(std::string_view key) {
  if (key != "getUIInternet") return {};
  TFormMainBase0007* main = aForm.mainForm();
  return !main || main->isUIInternet() ? "true" : "false";
}

TFormMemoNode::TFormMemoNode(TFormMainBase0007* main, bool readOnly)
    : QMainWindow(main, Qt::Window), aMain(main) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(readOnly ? QStringLiteral("FormMemoNodeRO") : QStringLiteral("FormMemoNode"));
  setWindowTitle(QStringLiteral("MemoNode "));
  aFrame = new TFrameMemoNode(this, this);
  setCentralWidget(aFrame);

  auto* top = addToolBar(QStringLiteral("Top"));
  top->setMovable(false);
  connect(top->addAction(QStringLiteral("Close")), &QAction::triggered, this, [this] { close(); });
  connect(top->addAction(QStringLiteral("SaveAs")), &QAction::triggered, this,
          [this] { saveAs(); });
  CheckBoxUIReadOnly = new QCheckBox(QStringLiteral("UIReadOnly"), top);
  top->addWidget(CheckBoxUIReadOnly);
  connect(CheckBoxUIReadOnly, &QCheckBox::toggled, this,
          [this](bool checked) { aFrame->setReadOnly_(checked); });
  connect(top->addAction(QStringLiteral("Print")), &QAction::triggered, this, [this] { print(); });
  connect(top->addAction(QStringLiteral("HardCopy")), &QAction::triggered, this,
          [this] { hardCopy(); });
  QMenu* show = menuBar()->addMenu(QStringLiteral("Show"));
  ActionShowComment = show->addAction(QStringLiteral("Comment"));
  ActionShowField = show->addAction(QStringLiteral("Field"));
  for (QAction* action : {ActionShowComment, ActionShowField}) action->setCheckable(true);
  connect(ActionShowComment, &QAction::triggered, this, [this](bool on) { showComment_(on); });
  connect(ActionShowField, &QAction::triggered, this, [this](bool on) { showFields_(on); });
  connect(show, &QMenu::aboutToShow, this, [this] {
    ActionShowComment->setChecked(aFrame->isCommentExpanded());
    ActionShowField->setChecked(aFrame->isFieldsExpanded());
  });

  aStatus = new QLabel(this);
  aStatus->setObjectName(QStringLiteral("NodeWindowStatus"));
  aStatus->installEventFilter(this);
  statusBar()->addWidget(aStatus, 1);

  if (readOnly) {
    CheckBoxUIReadOnly->setChecked(true);
    CheckBoxUIReadOnly->setEnabled(false);
    CheckBoxUIReadOnly->setVisible(false);
    aFrame->setReadOnly_(true);
  }
  resize(640, 480);
}

TFormMemoNode::~TFormMemoNode() { detach_(); }

TFormMemoNode* TFormMemoNode::openFor_(TFormMainBase0007* main, MemoNode& node, bool readOnly) {
  auto* shown = dynamic_cast<MemoNodeUI*>(&node);
  TFormMemoNode* form = shown ? qobject_cast<TFormMemoNode*>(shown->aNodeForm.data()) : nullptr;
  if (!form) {
    form = readOnly ? new TFormMemoNodeRO(main) : new TFormMemoNode(main);
    form->showNode_(&node);
  }
  form->show();
  form->raise();
  return form;
}

void TFormMemoNode::showNode_(MemoNode* node) {
  if (auto* before = dynamic_cast<MemoNodeUI*>(getNode()); before && before->aNodeForm == this)
    before->aNodeForm = nullptr;
  if (auto* shown = dynamic_cast<MemoNodeUI*>(node)) shown->aNodeForm = this;
  aFrame->showNode_(node);
  if (node) setWindowTitle(QStringLiteral("MemoNode ") + sjisToQString(node->getName()));
}

void TFormMemoNode::showMessage_(std::string_view text) { aStatus->setText(sjisToQString(text)); }

std::string TFormMemoNode::statusText() const {
  return qStringToSjis(aStatus->text()).value_or("?");
}

bool TFormMemoNode::eventFilter(QObject* watched, QEvent* event) {
  if (watched == aStatus && event->type() == QEvent::MouseButtonPress) aStatus->clear();
  return QMainWindow::eventFilter(watched, event);
}

void TFormMemoNode::detach_() {
  auto* node = dynamic_cast<MemoNodeUI*>(getNode());
  if (node && node->aNodeForm == this) node->aNodeForm = nullptr;
}

void TFormMemoNode::closeEvent(QCloseEvent* event) {
  aFrame->UI2Model();
  MemoNode* node = getNode();
  detach_();
  aFrame->showNode_(nullptr);  // the node may go before this window does
  if (TFormMainBase0007* main = mainForm(); main && node && main->getCurMemoNode() == node)
    main->Model2UI();
  event->accept();
}

void TFormMemoNode::saveAs() {
  TFormMainBase0007* main = mainForm();
  MemoNode* node = getNode();
  if (!main) {
    showMessage_("SaveAs: there is no main window to ask for a file name.");
    return;
  }
  aFrame->UI2Model();
  const std::optional<std::string> path = main->services.prompter->saveFileName(
      "SaveAs", node ? node->getFilename() : std::string(), "All (*)");
  if (!path) return;
  int result = -1;
  if (node) {
    result = node->saveContent_(*path);
  } else {
    MemoBasic lines;
    lines.aMemo = {};
    for (const QString& line : aFrame->memoEditor()->toPlainText().split(QLatin1Char('\n')))
      lines.aMemo.push_back(qStringToSjis(line).value_or(std::string()));
    result = lines.saveContent_(*path);
  }
  showMessage_(result >= 0 ? "Done: SaveAs " + *path : "ERROR: SaveAs " + *path);
}

int TFormMemoNode::printPicture_() {
  auto* main = dynamic_cast<TFormMainBaseVRK*>(mainForm());
  if (!main) return -1;
  return main->printImage_(grab().toImage(), {}, false);
}

void TFormMemoNode::print() {
  TFormMainBase0007* main = mainForm();
  if (main && main->isBusy()) {
    showMessage_("ERROR: Now doing other work. ");
    return;
  }
  if (!main || !getNode()) {
    hardCopy();
    return;
  }
  // The node's text print belongs to the printing commands, not built yet.
  showMessage_("ERROR: Print of a MemoNode is not available yet.");
}

void TFormMemoNode::hardCopy() {
  showMessage_(printPicture_() == 0 ? "Done: HardCopy. Check Printer."
                                    : "ERROR: HardCopy. No printer can print.");
}

void TFormMemoNode::showComment_(bool shown) { aFrame->setCommentExpanded_(shown); }
void TFormMemoNode::showFields_(bool shown) { aFrame->setFieldsExpanded_(shown); }

}  // namespace vrk
