// The frame's commands: what the items of its context menus do. They act on
// the active editor (the focused one of the frame's boxes, else the memo).
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTextBlock>
#include <algorithm>
#include <filesystem>

#include "dialogs/TFormName.h"
#include "model/MemoHolderBase.h"
#include "model/MemoNode.h"
#include "platform/DesktopActions.h"
#include "platform/Path.h"
#include "platform/qt/QtSjis.h"
#include "shell/TFormMainBase0007.h"
#include "shell/TFrameMemoNode.h"
#include "text/CharEX.h"
#include "text/LineLists.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

constexpr const char* kStarLine = "**** **** **** **** **** **** **** **** **** **** **** ****";

QStringList splitBox(const QString& text) {
  return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

std::string removeLineBreaks(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != '\r' && c != '\n') out += c;
  return out;
}

// The key, "=" and the raw value of a field line; the key is empty without "=".
std::pair<std::string, std::string> fieldParts(std::string_view line) {
  const std::size_t at = findCharOf_(line, "=");
  if (at == std::string_view::npos) return {std::string(), std::string()};
  return {std::string(line.substr(0, at)), std::string(line.substr(at + 1))};
}

}  // namespace

// --- helpers of the commands

void TFrameMemoNode::insertText_(QPlainTextEdit* editor, const QString& text) {
  QTextCursor cursor = editor->textCursor();
  QString selected = cursor.selectedText();
  selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  if (!selected.trimmed().isEmpty()) aUndoText = qStringToSjis(selected).value_or(aUndoText);
  const int start = cursor.selectionStart();
  cursor.insertText(text);
  cursor.setPosition(start);
  cursor.setPosition(start + static_cast<int>(text.size()), QTextCursor::KeepAnchor);
  editor->setTextCursor(cursor);
}

std::string TFrameMemoNode::clipboardText() const {
  return qStringToSjis(QApplication::clipboard()->text()).value_or(std::string());
}

void TFrameMemoNode::setClipboardText_(std::string_view text) {
  QApplication::clipboard()->setText(sjisToQString(text));
}

std::string TFrameMemoNode::selectedText_(QPlainTextEdit* editor) const {
  QString text = editor->textCursor().selectedText();
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  return qStringToSjis(text).value_or(std::string());
}

std::string TFrameMemoNode::editorText_(QPlainTextEdit* editor) const {
  const ShownLines& shown = editor == aMemo      ? shownMemo
                            : editor == aComment ? shownComment
                                                 : shownFields;
  const std::optional<StringList> lines = shown.commit_(boxUtf8_(editor));
  if (!lines) return {};
  std::string text;
  for (std::size_t i = 0; i < lines->size(); ++i) {
    if (i > 0) text += "\r\n";
    text += (*lines)[i];
  }
  return text;
}

std::string TFrameMemoNode::caretLine_(QPlainTextEdit* editor) const {
  return qStringToSjis(editor->textCursor().block().text()).value_or(std::string());
}

void TFrameMemoNode::replaceCaretLine_(QPlainTextEdit* editor, std::string_view line, bool remove) {
  QTextCursor cursor = editor->textCursor();
  cursor.movePosition(QTextCursor::StartOfBlock);
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  if (remove) {
    // The line and its line break go.
    if (!cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor)) {
      cursor.movePosition(QTextCursor::StartOfBlock);
      cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
      if (cursor.block().previous().isValid()) {
        cursor.movePosition(QTextCursor::StartOfBlock);
        cursor.movePosition(QTextCursor::PreviousCharacter);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
      }
    }
    cursor.removeSelectedText();
  } else {
    cursor.insertText(sjisToQString(line));
  }
  editor->setTextCursor(cursor);
}

// --- renaming

bool TFrameMemoNode::refuseRename_() {
  const MemoNode* node = getNode();
  if (!node) return true;
  if (!flagReadOnly && !node->isReadOnlyInherited()) return false;
  message_("Read Only Mode! Can not Change Node name.");
  return true;
}

void TFrameMemoNode::renameNode_(std::string_view name) {
  MemoNode* node = getNode();
  if (!node) return;
  putNameLine_(node->putName_(name));
  aNameShown = aNameText;
  markChanged_(*node);
}

void TFrameMemoNode::renameByDialog() {
  if (refuseRename_()) return;
  MemoNode* node = getNode();
  TFormMainBase0007* form = aOwner ? aOwner->mainForm() : nullptr;
  QWidget* window = form ? static_cast<QWidget*>(form) : this->window();
  TFormName& dialog = TFormName::instanceFor_(window);
  if (dialog.isVisible()) dialog.reject();
  dialog.setOwner_(form);
  dialog.putObject_(node);
  if (dialog.exec() != QDialog::Accepted || !getNode()) return;
  const std::optional<std::string> text = dialog.getNameText();
  if (!text) {
    message_("ERROR: This character cannot be stored in a name.");
    return;
  }
  const std::string name = trim_(*text);
  if (name.empty()) {
    message_("Do not rename Empty characters.");
    return;
  }
  if (name != getNode()->getName()) renameNode_(name);
}

// --- commands: the memo menu

void TFrameMemoNode::copySelection_(bool cut) {
  QPlainTextEdit* editor = activeEditor();
  const std::string text = selectedText_(editor);
  if (cut && !editor->isReadOnly())
    editor->cut();
  else
    editor->copy();
  addPasteWord_(text);
  message_((cut ? "Cut " : "Copy ") + std::to_string(text.size()));
}

void TFrameMemoNode::pasteClipboard() {
  TFormMainBase0007* form = aOwner ? aOwner->mainForm() : nullptr;
  if (form && form->isBusy()) return;
  QPlainTextEdit* editor = activeEditor();
  if (editor->isReadOnly()) return;
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (data && data->hasImage() && !data->hasText()) {
    message_("Not Text: a picture is pasted into a picture node.");
    return;
  }
  const std::string text = clipboardText();
  if (text.empty()) {
    message_("no text");
    return;
  }
  addPasteWord_(text);
  if (editor == aMemo)
    insertText_(editor, QApplication::clipboard()->text());
  else
    editor->paste();
}

void TFrameMemoNode::selectAllThen_(AfterSelectAll then) {
  QPlainTextEdit* editor = activeEditor();
  editor->selectAll();
  if (then == AfterSelectAll::Copy) copySelection_(false);
  if (then == AfterSelectAll::Cut) copySelection_(true);
  if (then == AfterSelectAll::Paste) pasteClipboard();
}

void TFrameMemoNode::pasteName() {
  QPlainTextEdit* editor = activeEditor();
  if (editor->isReadOnly()) return;
  insertText_(editor, sjisToQString(aNameText));
  message_("Paste Name " + aNameText);
}

void TFrameMemoNode::pasteDate() {
  QPlainTextEdit* editor = activeEditor();
  if (editor->isReadOnly()) return;
  TFormMainBase0007* form = aOwner ? aOwner->mainForm() : nullptr;
  std::string pattern = form ? unquote_(form->getCurFormatDate()) : std::string();
  if (pattern.empty()) pattern = "yyyymmdd";
  const std::string date = unquote_(timeStamp_(pattern));
  insertText_(editor, sjisToQString(date));
  message_("Paste Date " + date);
}

void TFrameMemoNode::pasteTime() {
  QPlainTextEdit* editor = activeEditor();
  if (editor->isReadOnly()) return;
  const std::string time = unquote_(timeStamp_("hh:nn:ss"));
  insertText_(editor, sjisToQString(time));
  message_("Paste Time " + time);
}

void TFrameMemoNode::pasteBuffer() {
  QPlainTextEdit* editor = activeEditor();
  if (!editor->isReadOnly()) insertText_(editor, sjisToQString(aUndoText));
}

void TFrameMemoNode::pasteLine() {
  QPlainTextEdit* editor = activeEditor();
  if (!editor->isReadOnly()) insertText_(editor, QString::fromLatin1(kStarLine));
}

void TFrameMemoNode::pasteMemoIntoComment() {
  if (aComment->isReadOnly()) return;
  const QString memo = aMemo->toPlainText();
  insertText_(aComment, memo);
  message_("Paste Memo  size=" + std::to_string(qStringToSjis(memo).value_or("").size()));
}

void TFrameMemoNode::copyParts_(CopyParts parts) {
  std::string text = aNameText;
  const auto add = [&](const char* separator, QPlainTextEdit* box) {
    if (separator) text += std::string("\r\n") + separator;
    const std::string lines = editorText_(box);
    if (!lines.empty()) text += "\r\n" + lines;
  };
  add("**** **** **** **** **** Memo **** **** **** **** **** ****", aMemo);
  if (parts == CopyParts::NameMemo) add(nullptr, aComment);
  if (parts != CopyParts::NameMemo)
    add("**** **** **** **** **** Comment * **** **** **** **** ****", aComment);
  if (parts == CopyParts::NameMemoCommentFields)
    add("**** **** **** **** **** Fields ** **** **** **** **** ****", aFields);
  setClipboardText_(text);
}

void TFrameMemoNode::markToName_(NameChange how) {
  const std::string text = removeLineBreaks(selectedText_(activeEditor()));
  if (refuseRename_()) return;
  if (how == NameChange::Replace) {
    if (trim_(text).empty()) {
      message_("Cancel: Repalce Name : New name is empty!");
      return;
    }
    renameNode_(text);
    message_("Repalce Name " + aNameText);
  } else if (how == NameChange::Add) {
    renameNode_(aNameText + text);
    message_("Add Name " + text);
  } else {
    renameNode_(aNameText + " " + text);
    message_("Add Name +  " + text);
  }
}

void TFrameMemoNode::explorer() {
  TFormMainBase0007* form = aOwner ? aOwner->mainForm() : nullptr;
  const std::string target = trim_(selectedText_(activeEditor()));
  if (!form) return;
  if (target.empty()) {
    form->services.prompter->ask(BoxKind::Warning, "Not selected", Buttons(Answer::Ok));
    return;
  }
  openDocument_(target, *form->services.desktop, *form->services.prompter);
}

void TFrameMemoNode::shellSelection() {
  TFormMainBase0007* form = aOwner ? aOwner->mainForm() : nullptr;
  const std::string target = trim_(selectedText_(aMemo));
  if (!form || target.empty()) return;
  DesktopShell& desktop = *form->services.desktop;
  const std::string head = lowerCase_(target.substr(0, 5));
  const std::string dir = currentDirectory_();
  if (head == "http:" || head == "https" || head == "file:") {
    desktop.openDocument(target, dir);
  } else if (endsWith_(target, "\\") || endsWith_(target, "/")) {
    if (pathExists_(target))
      desktop.explore(target);
    else
      message_(target + " not exists");
  } else if (!pathExists_(target)) {
    message_(target + " not exists");
  } else {
    const std::string ext = lowerCase_(extractFileExt_(target));
    if (ext == ".exe" || ext == ".bat" || ext == ".com")
      desktop.startDetached(target, {}, extractFilePath_(target));
    else
      desktop.openDocument(target, dir);
  }
}

void TFrameMemoNode::eval() { message_("Still Not Implimented"); }

void TFrameMemoNode::memoToFields() {
  if (!aFields->isReadOnly()) aFields->appendPlainText(aMemo->toPlainText());
}

void TFrameMemoNode::fieldsToMemo() {
  if (!aMemo->isReadOnly()) aMemo->appendPlainText(aFields->toPlainText());
}

void TFrameMemoNode::toEncoding_(std::string_view quotedEncoding) {
  MemoNode* node = getNode();
  if (!node || flagReadOnly || node->isReadOnlyInherited()) return;
  UI2Model();
  node->putField_(kEncoding, quotedEncoding);
  markChanged_(*node);
  Model2UI();
}

// --- commands: the name line menu

void TFrameMemoNode::copyName() {
  setClipboardText_(aNameText);
  addPasteWord_(aNameText);
  message_("Copy Name " + aNameText);
}

void TFrameMemoNode::clipboardToName_(NameChange how) {
  if (refuseRename_()) return;
  const std::string text = trim_(removeLineBreaks(clipboardText()));
  if (how == NameChange::Replace) {
    if (text.empty()) {
      message_("Do not rename Empty characters.");
      return;
    }
    renameNode_(text);
    message_("Replace Name " + text);
  } else if (how == NameChange::Add) {
    renameNode_(aNameText + text);
    message_("Add Name " + text);
  } else {
    renameNode_(aNameText + " " + text);
    message_("Add+ Name " + text);
  }
  addPasteWord_(text);
}

void TFrameMemoNode::extractFilenameOfName() {
  if (refuseRename_()) return;
  const std::string old = aNameText;
  const std::string name = extractFileName_(old);
  if (trim_(name).empty()) {
    message_("Do not rename Empty characters.");
    return;
  }
  renameNode_(name);
  message_("ExtractFilename " + old);
}

void TFrameMemoNode::markName_(std::string_view mark) {
  if (refuseRename_()) return;
  renameNode_(std::string(mark) + " " + aNameText);
  addPasteWord_(aNameText);
  message_("Change Name " + aNameText);
}

// --- commands: the fields menu

void TFrameMemoNode::copyFieldPart_(FieldPart part) {
  const auto [key, raw] = fieldParts(caretLine_(activeEditor()));
  std::string text;
  const char* what = "Copy Value ";
  switch (part) {
    case FieldPart::Key:
      text = key;
      what = "Copy Name ";
      break;
    case FieldPart::Value:
      text = unquote_(raw);
      break;
    case FieldPart::QuotedValue:
      text = raw;
      break;
    case FieldPart::ValueFileName:
      text = extractFileName_(unquote_(raw));
      what = "Copy ExtractFilename ";
      break;
  }
  setClipboardText_(text);
  addPasteWord_(text);
  message_(what + text);
}

void TFrameMemoNode::cutFieldLine() {
  QPlainTextEdit* editor = activeEditor();
  if (editor->isReadOnly()) return;
  const std::string line = caretLine_(editor);
  setClipboardText_(line);
  replaceCaretLine_(editor, {}, true);
  message_("Cut Line " + line);
}

void TFrameMemoNode::cutFieldValue() {
  QPlainTextEdit* editor = activeEditor();
  if (editor->isReadOnly()) return;
  const auto [key, raw] = fieldParts(caretLine_(editor));
  const std::string value = unquote_(raw);
  setClipboardText_(value);
  replaceCaretLine_(editor, key + "=\"\"", false);
  message_("Cut Value " + value);
}

void TFrameMemoNode::pastePlusPlus() {
  QPlainTextEdit* editor = activeEditor();
  if (editor->isReadOnly()) return;
  std::string previous = clipboardText();
  // At most 249 characters of it, never half a double-byte one.
  std::size_t end = 0;
  for (int count = 0; end < previous.size() && count < 249; ++count)
    end += charLengthAt(previous, end);
  previous.resize(end);
  const auto [key, raw] = fieldParts(caretLine_(editor));
  setClipboardText_(unquote_(raw));
  replaceCaretLine_(editor, key + "=" + quote_(previous), false);
  message_("Paste++ " + previous);
}

void TFrameMemoNode::pasteFieldItem_(std::string_view text) {
  QPlainTextEdit* editor = activeEditor();
  if (!editor->isReadOnly()) insertText_(editor, sjisToQString(text));
}

void TFrameMemoNode::pasteFieldUID() {
  MemoNode* node = getNode();
  MemoHolderBase* holder = node ? node->getHolderBase() : nullptr;
  if (holder) pasteFieldItem_("UID=" + quote_(holder->genUniqUID()));
}

void TFrameMemoNode::pasteFieldTime_(std::string_view key) {
  pasteFieldItem_(std::string(key) + "=" + timeStamp_("yyyymmdd hhnnsszzz"));
}

void TFrameMemoNode::sortLines() {
  QPlainTextEdit* editor = activeEditor();
  if (editor->isReadOnly()) return;
  QStringList lines = splitBox(editor->toPlainText());
  std::stable_sort(lines.begin(), lines.end(), [](const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
  });
  editor->setPlainText(lines.join(QLatin1Char('\n')));
  message_("Sort Fields Area");
}

}  // namespace vrk
