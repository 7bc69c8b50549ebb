#include "shell/FramePlaceholder.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QVBoxLayout>

#include "model/UnitMemoHolder.h"
#include "model/UnitMemoNode.h"
#include "platform/qt/QtSjis.h"
#include "shell/NodeEditorFactory.h"
#include "shell/UnitTFormMainBase0007.h"

namespace vrk {
namespace {

QString memoText(const MemoNode& node) {
  QStringList lines;
  for (const std::string& line : node.aMemo) lines << sjisToQString(line);
  return lines.join(QLatin1Char('\n'));
}

// The inverse of memoText: every line break ends a line, empty lines kept.
StringList memoLines(const std::string& text) {
  StringList lines;
  if (text.empty()) return lines;
  std::size_t start = 0;
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', start)) {
    lines.push_back(text.substr(start, at - start));
    start = at + 1;
  }
  lines.push_back(text.substr(start));
  return lines;
}

}  // namespace

TNodeEditorPlaceholder::TNodeEditorPlaceholder(TFormMainBase0007& form, QWidget* parent)
    : QWidget(parent), aForm(form), aName(new QLabel(this)), aMemo(new QPlainTextEdit(this)) {
  aName->setTextFormat(Qt::PlainText);
  aMemo->setStyleSheet(QStringLiteral("QPlainTextEdit { background: rgb(255, 239, 255); }"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(aName);
  layout->addWidget(aMemo);
}

void TNodeEditorPlaceholder::showNode_(MemoNode* node) {
  aNode = node;
  aName->setText(node ? sjisToQString(node->getName()) : QString());
  aMemo->setPlainText(node ? memoText(*node) : QString());
}

void TNodeEditorPlaceholder::commitNode() {
  MemoNode* node = aNode.get();
  if (!node || node->isReadOnlyInherited() || aMemo->isReadOnly()) return;
  const QString text = aMemo->toPlainText();
  if (text == memoText(*node)) return;
  QString bad;
  const std::optional<std::string> stored = qStringToSjis(text, &bad);
  if (!stored) {
    aForm.messageDoing_("ERROR: This character cannot be stored: " +
                        qStringToSjis(bad).value_or("?"));
    return;
  }
  node->aMemo = memoLines(*stored);
  if (auto* holder = dynamic_cast<MemoHolder*>(node->getHolder())) holder->flagChanged = true;
}

void TNodeEditorPlaceholder::setReadOnly_(bool readOnly) { aMemo->setReadOnly(readOnly); }

THolderFramePlaceholder::THolderFramePlaceholder(TFormMainBase0007& form, QWidget* parent)
    : QWidget(parent), aViewPanel(new QWidget), aStatus(new QLabel) {
  auto* splitter = new QSplitter(Qt::Horizontal, this);
  auto* left = new QWidget(splitter);
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  aViewPanel->setParent(left);
  auto* viewLayout = new QVBoxLayout(aViewPanel);
  viewLayout->setContentsMargins(0, 0, 0, 0);
  leftLayout->addWidget(aViewPanel, 1);
  aStatus->setParent(left);
  aStatus->setAlignment(Qt::AlignCenter);
  aStatus->setFrameShape(QFrame::StyledPanel);
  leftLayout->addWidget(aStatus);
  aEditor = createNodeEditor_(form, splitter);
  splitter->setStretchFactor(1, 1);  // the editor takes what the window gains
  splitter->setSizes({240, 660});
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter);
}

void THolderFramePlaceholder::installView_(QWidget* view) {
  if (view->parentWidget() != aViewPanel) view->setParent(aViewPanel);
  if (aViewPanel->layout()->indexOf(view) < 0) aViewPanel->layout()->addWidget(view);
  view->hide();
  view->setEnabled(false);
}

void THolderFramePlaceholder::serve_(MemoHolder* holder) { aHolder = holder; }

int THolderFramePlaceholder::showNodeInList_(MemoNode* node) {
  MemoHolder* holder = aHolder.get();
  const int index = holder && node ? holder->indexOfNode_(node) : -1;
  aStatus->setText(holder && index >= 0
                       ? QStringLiteral("%1 / %2").arg(index + 1).arg(holder->countOfNodes())
                       : QString());
  return index;
}

}  // namespace vrk
