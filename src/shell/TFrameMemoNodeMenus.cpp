// The frame's four context menus (memo, comment, fields, name line), built
// anew each time they are shown, and the paste word list they offer.
#include <QMenu>
#include <QPlainTextEdit>

#include "model/NameEdits.h"
#include "platform/SjisBridge.h"
#include "platform/qt/QtSjis.h"
#include "shell/TFormMainBase0007.h"
#include "shell/TFrameMemoNode.h"
#include "text/Format.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

constexpr int kPasteWordsLimit = 10;

}  // namespace

// --- the paste word list: newest first, ten at most, shared by the frames of a main window

void TFrameMemoNode::addPasteWord_(std::string_view text) {
  if (!aOwner || !aOwner->isMainForm() || text.empty()) return;
  pushFrontUnique_(aOwner->mainForm()->aPasteWords, text, false, kPasteWordsLimit);
}

void TFrameMemoNode::pasteHistory_(int index) {
  if (!aOwner || !aOwner->mainForm()) return;
  StringList& words = aOwner->mainForm()->aPasteWords;
  if (index < 0 || static_cast<std::size_t>(index) >= words.size()) return;
  const std::string text = words[static_cast<std::size_t>(index)];
  QPlainTextEdit* editor = activeEditor();
  if (editor->isReadOnly()) return;
  insertText_(editor, sjisToQString(text));
  pushFrontUnique_(words, text, false, kPasteWordsLimit);
  message_("Paste Histroy " + text);
}

// --- the menus

void TFrameMemoNode::popupMenu_(QMenu* menu, QWidget* on, const QPoint& at) {
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(on->mapToGlobal(at));
}

QMenu* TFrameMemoNode::buildMemoMenu_(QWidget* parent) {
  auto* menu = new QMenu(parent);
  const bool locked = aMemo->isReadOnly();
  const auto item = [this](QMenu* on, const QString& caption, auto action) {
    QAction* a = on->addAction(caption);
    connect(a, &QAction::triggered, this, [this, action] {
      if (aOwner && aOwner->mainForm())
        aOwner->mainForm()->guard_("FrameMemoNode", action);
      else
        action();
    });
    return a;
  };
  item(menu, QStringLiteral("Copy(&C)"), [this] { copySelection_(false); });
  item(menu, QStringLiteral("Cut(&T)"), [this] { copySelection_(true); })->setEnabled(!locked);
  item(menu, QStringLiteral("Paste(&P)"), [this] { pasteClipboard(); })->setEnabled(!locked);
  item(menu, QStringLiteral("Undo(&U)"), [this] { activeEditor()->undo(); })->setEnabled(!locked);
  QMenu* all = menu->addMenu(QStringLiteral("SelectAll"));
  item(all, QStringLiteral("Normal"), [this] { selectAllThen_(AfterSelectAll::Nothing); });
  item(all, QStringLiteral("&Copy"), [this] { selectAllThen_(AfterSelectAll::Copy); });
  item(all, QStringLiteral("&Cut"), [this] { selectAllThen_(AfterSelectAll::Cut); });
  item(all, QStringLiteral("&Paste"), [this] { selectAllThen_(AfterSelectAll::Paste); });
  QMenu* plus = menu->addMenu(QStringLiteral("Paste+"));
  plus->setEnabled(!locked);
  item(plus, QStringLiteral("Name"), [this] { pasteName(); });
  item(plus, QStringLiteral("Date"), [this] { pasteDate(); });
  item(plus, QStringLiteral("Time"), [this] { pasteTime(); });
  item(plus, QStringLiteral("Buffer"), [this] { pasteBuffer(); });
  item(plus, QStringLiteral("Line"), [this] { pasteLine(); });
  QMenu* history = menu->addMenu(QStringLiteral("Paste History"));
  const StringList words =
      aOwner && aOwner->mainForm() ? aOwner->mainForm()->aPasteWords : StringList();
  if (words.empty()) {
    connect(history, &QMenu::aboutToShow, this,
            [this] { message_("Paste Word List is empty. " + unquote_(timeStamp_("hh:nn:ss"))); });
  }
  for (int i = 0; i < static_cast<int>(words.size()) && i < kPasteWordsLimit; ++i) {
    const std::string& word = words[static_cast<std::size_t>(i)];
    QString caption = sjisToQString(word);
    if (caption.size() > 40)
      caption = caption.left(40) + QStringLiteral("...") + QString::number(caption.size());
    item(history, caption, [this, i] { pasteHistory_(i); });
  }
  QMenu* copyPlus = menu->addMenu(QStringLiteral("Copy+"));
  item(copyPlus, QStringLiteral("Name+Memo"), [this] { copyParts_(CopyParts::NameMemo); });
  item(copyPlus, QStringLiteral("Name+Memo+Comment"),
       [this] { copyParts_(CopyParts::NameMemoComment); });
  item(copyPlus, QStringLiteral("Name+Memo+Comment+Fields"),
       [this] { copyParts_(CopyParts::NameMemoCommentFields); });
  QMenu* mark = menu->addMenu(QStringLiteral("Mark To Name"));
  item(mark, QStringLiteral("Replace"), [this] { markToName_(NameChange::Replace); });
  item(mark, QStringLiteral("Add"), [this] { markToName_(NameChange::Add); });
  item(mark, QStringLiteral("Add+"), [this] { markToName_(NameChange::AddAfterBlank); });
  item(menu, QStringLiteral("Explorer"), [this] { explorer(); });
  item(menu, QStringLiteral("Shell"), [this] { shellSelection(); });
  item(menu, QStringLiteral("Eval"), [this] { eval(); });
  item(menu, QStringLiteral("Memo>>Fiels"), [this] { memoToFields(); });
  item(menu, QStringLiteral("Memo<<Fields"), [this] { fieldsToMemo(); });
  item(menu, QStringLiteral("->Poser"), [this] { toEncoding_("\"Poser\""); });
  item(menu, QStringLiteral("->PoserLike"), [this] { toEncoding_("\"PoserLike\""); });
  return menu;
}

QMenu* TFrameMemoNode::buildCommentMenu_(QWidget* parent) {
  auto* menu = new QMenu(parent);
  const auto item = [this](QMenu* on, const QString& caption, auto action) {
    connect(on->addAction(caption), &QAction::triggered, this, action);
  };
  item(menu, QStringLiteral("Copy"), [this] { copySelection_(false); });
  item(menu, QStringLiteral("Cut"), [this] { copySelection_(true); });
  item(menu, QStringLiteral("Paste"), [this] { pasteClipboard(); });
  item(menu, QStringLiteral("Undo"), [this] { activeEditor()->undo(); });
  item(menu, QStringLiteral("SelectAll"), [this] { selectAllThen_(AfterSelectAll::Nothing); });
  QMenu* plus = menu->addMenu(QStringLiteral("Paste+"));
  item(plus, QStringLiteral("Name"), [this] { pasteName(); });
  item(plus, QStringLiteral("Memo"), [this] { pasteMemoIntoComment(); });
  item(plus, QStringLiteral("Date"), [this] { pasteDate(); });
  item(plus, QStringLiteral("Time"), [this] { pasteTime(); });
  item(menu, QStringLiteral("Explorer"), [this] { explorer(); });
  QMenu* mark = menu->addMenu(QStringLiteral("Mark To Name"));
  item(mark, QStringLiteral("Replace"), [this] { markToName_(NameChange::Replace); });
  item(mark, QStringLiteral("Add"), [this] { markToName_(NameChange::Add); });
  item(mark, QStringLiteral("Add+"), [this] { markToName_(NameChange::AddAfterBlank); });
  return menu;
}

QMenu* TFrameMemoNode::buildFieldsMenu_(QWidget* parent) {
  auto* menu = new QMenu(parent);
  const auto item = [this](QMenu* on, const QString& caption, auto action) {
    connect(on->addAction(caption), &QAction::triggered, this, action);
  };
  QMenu* copy = menu->addMenu(QStringLiteral("Copy+"));
  item(copy, QStringLiteral("name"), [this] { copyFieldPart_(FieldPart::Key); });
  item(copy, QStringLiteral("Value"), [this] { copyFieldPart_(FieldPart::Value); });
  item(copy, QStringLiteral("\"Value\""), [this] { copyFieldPart_(FieldPart::QuotedValue); });
  item(copy, QStringLiteral("ExtractFilename"),
       [this] { copyFieldPart_(FieldPart::ValueFileName); });
  QMenu* cut = menu->addMenu(QStringLiteral("Cut+"));
  item(cut, QStringLiteral("Line"), [this] { cutFieldLine(); });
  item(cut, QStringLiteral("Value"), [this] { cutFieldValue(); });
  item(menu, QStringLiteral("Paste++"), [this] { pastePlusPlus(); });
  QMenu* plus = menu->addMenu(QStringLiteral("Paste+"));
  for (const char* text :
       {"Content-Transfer-Encoding=\"URL\"", "Content-Transfer-Encoding=\"binary\"",
        "Content-Transfer-Encoding=\"Shadow\"", "Filename=\"\"", "Link=\"\"", "FlagLink=\"true\"",
        "FlagWheel=\"true\"", "FlagExpanded=\"false\""}) {
    const std::string line = text;
    item(plus, QString::fromLatin1(text), [this, line] { pasteFieldItem_(line); });
  }
  item(plus, QStringLiteral("UID"), [this] { pasteFieldUID(); });
  item(plus, QStringLiteral("Created"), [this] { pasteFieldTime_("Created"); });
  item(plus, QStringLiteral("LastModified"), [this] { pasteFieldTime_("LastModified"); });
  item(menu, QStringLiteral("Sort"), [this] { sortLines(); });
  return menu;
}

QMenu* TFrameMemoNode::buildNameMenu_(QWidget* parent) {
  auto* menu = new QMenu(parent);
  const auto add = [this, menu](const QString& caption, auto action) {
    connect(menu->addAction(caption), &QAction::triggered, this, action);
  };
  add(QStringLiteral("Copy(&C)"), [this] { copyName(); });
  add(QStringLiteral("Replace(&R)"), [this] { clipboardToName_(NameChange::Replace); });
  add(QStringLiteral("Add(&A)"), [this] { clipboardToName_(NameChange::Add); });
  add(QStringLiteral("Add+"), [this] { clipboardToName_(NameChange::AddAfterBlank); });
  add(QStringLiteral("Rename"), [this] { renameByDialog(); });
  add(QStringLiteral("ExtractFilename"), [this] { extractFilenameOfName(); });
  for (const char* mark : {"●", "★"}) {
    const std::string bytes = utf8LiteralToSjis(mark);
    add(QString::fromUtf8(mark), [this, bytes] { markName_(bytes); });
  }
  return menu;
}

}  // namespace vrk
