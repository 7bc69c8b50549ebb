#include "search/TFormScanNode.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextCursor>
#include <QVBoxLayout>

#include "model/MemoHolder.h"
#include "model/NameEdits.h"
#include "platform/qt/QtSjis.h"
#include "search/ScanSupport.h"
#include "shell/TFormMainBaseVRK.h"
#include "text/Basic.h"

namespace vrk {
namespace {

QString linesText(const StringList& lines) {
  QStringList list;
  for (const std::string& line : lines) list << sjisToQString(line);
  return list.join(QLatin1Char('\n'));
}

}  // namespace

TFormScanNode::TFormScanNode(TFormMainBaseVRK& form, QWidget* parent)
    : QDialog(parent),
      aForm(form),
      LabelName(new QLabel(this)),
      ComboBoxKeyWord(new QComboBox(this)),
      CheckBoxIgnore(new QCheckBox(QStringLiteral("Ignore"), this)),
      ListGrep(new QListWidget(this)),
      StatusBar(new ClickClearLabel(this)),
      aFind(new QDialog(this)),
      EditFind(new QLineEdit(aFind)),
      EditReplace(new QLineEdit(aFind)) {
  setObjectName(QStringLiteral("FormScanNode"));
  setModal(true);
  ComboBoxKeyWord->setEditable(true);
  ComboBoxKeyWord->setInsertPolicy(QComboBox::NoInsert);
  const auto button = [this](QBoxLayout* row, const QString& caption, auto action) {
    auto* b = new QPushButton(caption, this);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this,
            [this, action] { aForm.guard_("TFormScanNode", [&] { action(); }); });
    row->addWidget(b);
  };
  auto* pages = new QTabWidget(this);
  const QString names[] = {QStringLiteral("Memo"), QStringLiteral("Comment"),
                           QStringLiteral("Field")};
  for (int page = Memo; page <= Field; ++page) {
    auto* widget = new QWidget(this);
    auto* editor = new QPlainTextEdit(widget);
    auto* words = new QComboBox(widget);
    words->setEditable(true);
    words->setInsertPolicy(QComboBox::NoInsert);
    aEditors.push_back(editor);
    aReplaceWords.push_back(words);
    auto* row = new QHBoxLayout;
    const Page p = static_cast<Page>(page);
    button(row, QStringLiteral("Scan"), [this, p] { openFind_(p, false); });
    button(row, QStringLiteral("Replace"), [this, p] { openFind_(p, true); });
    row->addWidget(new QLabel(QStringLiteral("ReplaceWord"), widget));
    row->addWidget(words, 1);
    auto* layout = new QVBoxLayout(widget);
    layout->addLayout(row);
    layout->addWidget(editor, 1);
    pages->addTab(widget, names[page]);
  }
  pages->addTab(ListGrep, QStringLiteral("Grep"));
  auto* top = new QHBoxLayout;
  top->addWidget(LabelName);
  top->addWidget(ComboBoxKeyWord, 1);
  top->addWidget(CheckBoxIgnore);
  button(top, QStringLiteral("Grep"), [this, pages] {
    grep();
    pages->setCurrentWidget(ListGrep);
  });
  button(top, QStringLiteral("Update"), [this] { update_(aNode.get()); });
  button(top, QStringLiteral("New Node"), [this] { newNode(); });
  button(top, QStringLiteral("Clear"), [this] {
    aGrep.clear();
    ListGrep->clear();
  });
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(pages, 1);
  layout->addWidget(StatusBar);

  aFind->setObjectName(QStringLiteral("FindReplace"));
  aFind->setWindowTitle(QStringLiteral("Find / Replace"));
  auto* findLayout = new QVBoxLayout(aFind);
  findLayout->addWidget(EditFind);
  findLayout->addWidget(EditReplace);
  auto* findRow = new QHBoxLayout;
  const auto findButton = [this, findRow](const QString& caption, auto action) {
    auto* b = new QPushButton(caption, aFind);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, aFind,
            [this, action] { aForm.guard_("TFormScanNode", [&] { action(); }); });
    findRow->addWidget(b);
  };
  findButton(QStringLiteral("Find Next"), [this] { findNext_(aFindPage, EditFind->text()); });
  findButton(QStringLiteral("Replace"),
             [this] { replaceOne_(aFindPage, EditFind->text(), EditReplace->text()); });
  findButton(QStringLiteral("Replace All"),
             [this] { replaceAll_(aFindPage, EditFind->text(), EditReplace->text()); });
  findButton(QStringLiteral("Close"), [this] { aFind->hide(); });
  findLayout->addLayout(findRow);
  resize(640, 480);
}

std::string TFormScanNode::statusText() const {
  return qStringToSjis(StatusBar->text()).value_or("");
}

void TFormScanNode::status_(std::string_view text) { StatusBar->setText(sjisToQString(text)); }

void TFormScanNode::update_(MemoNode* node) {
  aNode = node;
  aGrep.clear();
  ListGrep->clear();
  if (!node) return;
  LabelName->setText(sjisToQString(node->getName()));
  const bool binary = node->getField_("Content-Transfer-Encoding") == "\"binary\"";
  aEditors[Memo]->setPlainText(binary ? QString() : linesText(node->aMemo));
  aEditors[Comment]->setPlainText(node->aComment ? linesText(*node->aComment) : QString());
  aEditors[Field]->setPlainText(linesText(node->aFields));
}

int TFormScanNode::grep() {
  const std::string keyword = qStringToSjis(ComboBoxKeyWord->currentText()).value_or("");
  if (keyword.empty()) {
    status_("KeyWord is Empty.");
    aForm.services.prompter->ask(BoxKind::Warning, "KeyWord is Empty.", Buttons(Answer::Ok));
    return -1;
  }
  aGrep.clear();
  status_("*Grep* " + keyword);
  pushFrontUnique_(aHistory, keyword, true);
  fillHistory_(*ComboBoxKeyWord, aHistory, keyword);
  if (MemoNode* node = aNode.get()) {
    StringList lines;
    node->grepKeyword_(keyword, CheckBoxIgnore->isChecked(), lines, true, true, true, true);
    for (const std::string& line : lines)
      aGrep.push_back({":" + node->getName() + ":" + line, node});
  }
  fillEntries_(*ListGrep, aGrep);
  const int count = static_cast<int>(aGrep.size());
  if (count == 0) {
    const std::string text = "*Done Grep* No match KeyWord=" + keyword;
    status_(text);
    aForm.services.prompter->ask(BoxKind::Confirmation, text, Buttons(Answer::Ok));
  } else {
    status_("*Done Grep* count=" + std::to_string(count) + " KeyWord=" + keyword);
  }
  return count;
}

int TFormScanNode::newNode() {
  StringList lines;
  for (const ScanEntry& entry : aGrep) lines.push_back(entry.text);
  return putIntoNewNode_(aForm, lines);
}

void TFormScanNode::openFind_(Page page, bool replacing) {
  const std::string keyword = qStringToSjis(ComboBoxKeyWord->currentText()).value_or("");
  if (!keyword.empty()) {
    pushFrontUnique_(aHistory, keyword, true);
    fillHistory_(*ComboBoxKeyWord, aHistory, keyword);
  }
  aFindPage = page;
  EditFind->setText(ComboBoxKeyWord->currentText());
  const QString word = aReplaceWords[page]->currentText();
  if (replacing) {
    const std::string typed = qStringToSjis(word).value_or("");
    pushFrontUnique_(aReplaceHistories[page], typed, true);
    fillHistory_(*aReplaceWords[page], aReplaceHistories[page], typed);
  }
  EditReplace->setText(word);
  EditReplace->setVisible(replacing);
  aFind->show();
}

bool TFormScanNode::findNext_(Page page, const QString& find) {
  QPlainTextEdit* editor = aEditors[page];
  if (find.isEmpty()) return false;
  const QTextCursor cursor = editor->textCursor();
  const int from = cursor.hasSelection() ? cursor.selectionEnd() : 0;
  const int at = editor->toPlainText().indexOf(find, from, Qt::CaseSensitive);
  if (at < 0) return false;
  QTextCursor found(editor->document());
  found.setPosition(at);
  found.setPosition(at + static_cast<int>(find.size()), QTextCursor::KeepAnchor);
  editor->setTextCursor(found);
  editor->setFocus();
  return true;
}

bool TFormScanNode::replaceOne_(Page page, const QString& find, const QString& replacement) {
  QPlainTextEdit* editor = aEditors[page];
  const int at = find.isEmpty() ? -1 : editor->toPlainText().indexOf(find, 0, Qt::CaseSensitive);
  if (at < 0) {
    aForm.services.prompter->error("Could not find \"" + qStringToSjis(find).value_or("") +
                                   "\" in Memo1.");
    return false;
  }
  QTextCursor cursor(editor->document());
  cursor.setPosition(at);
  cursor.setPosition(at + static_cast<int>(find.size()), QTextCursor::KeepAnchor);
  cursor.insertText(replacement);
  editor->setTextCursor(cursor);
  return true;
}

int TFormScanNode::replaceAll_(Page page, const QString& find, const QString& replacement) {
  QPlainTextEdit* editor = aEditors[page];
  if (find.isEmpty()) return 0;
  const QString text = editor->toPlainText();
  const int count = static_cast<int>(text.count(find, Qt::CaseSensitive));
  if (count == 0) {
    aForm.services.prompter->error("Could not find \"" + qStringToSjis(find).value_or("") +
                                   "\" in Memo1.");
    return 0;
  }
  // One edit block, so that one undo takes back the whole replacement.
  QTextCursor cursor(editor->document());
  cursor.beginEditBlock();
  cursor.select(QTextCursor::Document);
  cursor.insertText(QString(text).replace(find, replacement, Qt::CaseSensitive));
  cursor.endEditBlock();
  return count;
}

}  // namespace vrk
