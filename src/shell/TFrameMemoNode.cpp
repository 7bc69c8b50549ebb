#include "shell/TFrameMemoNode.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTextBlock>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <deque>
#include <filesystem>

#include "dialogs/TFormName.h"
#include "model/ModelServices.h"
#include "model/NameEdits.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "model/TContent.h"
#include "platform/DesktopActions.h"
#include "platform/Path.h"
#include "platform/SjisBridge.h"
#include "platform/qt/QtSjis.h"
#include "shell/TFormMainBaseVRK.h"
#include "text/CharEX.h"
#include "text/Format.h"
#include "text/LineLists.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

constexpr std::string_view kEncoding = "Content-Transfer-Encoding";
constexpr int kPasteWordsLimit = 10;
constexpr const char* kStarLine = "**** **** **** **** **** **** **** **** **** **** **** ****";

QString boxText(const StringList& lines) {
  QStringList shown;
  shown.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines) shown << sjisToQString(line);
  return shown.join(QLatin1Char('\n'));
}

QStringList splitBox(const QString& text) {
  return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

std::string removeLineBreaks(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != '\r' && c != '\n') out += c;
  return out;
}

bool pathExists(const std::string& stored) {
  const std::optional<std::string> os = toOsPath_(stored);
  std::error_code ec;
  return os && std::filesystem::exists(*os, ec);
}

MemoHolder* holderOf(const MemoNode& node) { return dynamic_cast<MemoHolder*>(node.getHolder()); }

void markChanged(const MemoNode& node) {
  if (MemoHolder* holder = holderOf(node)) holder->flagChanged = true;
}

// The key, "=" and the raw value of a field line; the key is empty without "=".
std::pair<std::string, std::string> fieldParts(std::string_view line) {
  const std::size_t at = findCharOf_(line, "=");
  if (at == std::string_view::npos) return {std::string(), std::string()};
  return {std::string(line.substr(0, at)), std::string(line.substr(at + 1))};
}

}  // namespace

// --- the main window as owner

void TMainFormOwner::showMessage_(std::string_view text) { aForm.messageDoing_(text); }
AgentAPLAbs* TMainFormOwner::agent() { return aForm.getAgent(); }
QWidget* TMainFormOwner::ownerWindow() { return &aForm; }

// --- committing text

void ShownLines::fill_(const StringList& lines, const QString& boxText) {
  stored = lines;
  text = boxText;
  shown = splitBox(boxText);
  if (static_cast<std::size_t>(shown.size()) != stored.size()) {
    // The box joined or split lines: compare with each line on its own.
    shown.clear();
    for (const std::string& line : stored) shown << sjisToQString(line);
  }
}

std::optional<StringList> commitLines_(const ShownLines& before, const QString& text,
                                       QString* bad) {
  if (text == before.text) return before.stored;
  const QStringList lines = splitBox(text);
  const std::size_t count = static_cast<std::size_t>(lines.size());
  const std::size_t shownCount = static_cast<std::size_t>(before.shown.size());
  // Lines kept at the front and at the back keep their place; those in
  // between find their stored bytes by their text.
  std::size_t head = 0;
  while (head < count && head < shownCount && lines[head] == before.shown[head]) ++head;
  std::size_t tail = 0;
  while (tail < count - head && tail < shownCount - head &&
         lines[count - 1 - tail] == before.shown[shownCount - 1 - tail])
    ++tail;
  QHash<QString, std::deque<std::size_t>> unused;
  for (std::size_t i = head; i < shownCount - tail; ++i) unused[before.shown[i]].push_back(i);

  StringList out;
  out.reserve(count);
  for (std::size_t i = 0; i < head; ++i) out.push_back(before.stored[i]);
  for (std::size_t i = head; i < count - tail; ++i) {
    auto found = unused.find(lines[i]);
    if (found != unused.end() && !found->empty()) {
      out.push_back(before.stored[found->front()]);
      found->pop_front();
      continue;
    }
    std::optional<std::string> bytes = qStringToSjis(lines[i], bad);
    if (!bytes) return std::nullopt;
    out.push_back(std::move(*bytes));
  }
  for (std::size_t i = shownCount - tail; i < shownCount; ++i) out.push_back(before.stored[i]);
  return out;
}

// --- the frame

TFrameMemoNode::TFrameMemoNode(TFrameOwner* owner, QWidget* parent)
    : QWidget(parent),
      aOwner(owner),
      aNameLine(new QLabel(this)),
      aSplitter(new QSplitter(Qt::Vertical, this)),
      aBodyArea(new QWidget(aSplitter)),
      aMemoPanel(new QWidget(aBodyArea)),
      aMemo(new QPlainTextEdit(aMemoPanel)),
      aMemoStatus(new QLabel(aMemoPanel)),
      aComment(new QPlainTextEdit(aSplitter)),
      aFields(new QPlainTextEdit(aSplitter)) {
  setObjectName(QStringLiteral("FrameMemoNode"));
  aNameLine->setObjectName(QStringLiteral("NameLine"));
  aNameLine->setTextFormat(Qt::PlainText);
  aNameLine->setFrameShape(QFrame::StyledPanel);
  aNameLine->setCursor(Qt::PointingHandCursor);
  aNameLine->setContextMenuPolicy(Qt::CustomContextMenu);
  aNameLine->installEventFilter(this);

  aMemo->setObjectName(QStringLiteral("MemoEditor"));
  aMemo->setStyleSheet(QStringLiteral("QPlainTextEdit { background: rgb(255, 239, 255); }"));
  aMemoStatus->setObjectName(QStringLiteral("MemoStatus"));
  aMemoStatus->setFrameShape(QFrame::StyledPanel);
  auto* memoLayout = new QVBoxLayout(aMemoPanel);
  memoLayout->setContentsMargins(0, 0, 0, 0);
  memoLayout->setSpacing(0);
  memoLayout->addWidget(aMemo, 1);
  memoLayout->addWidget(aMemoStatus);
  auto* bodyLayout = new QVBoxLayout(aBodyArea);
  bodyLayout->setContentsMargins(0, 0, 0, 0);
  bodyLayout->addWidget(aMemoPanel, 1);

  aComment->setObjectName(QStringLiteral("CommentEditor"));
  aFields->setObjectName(QStringLiteral("FieldsEditor"));
  for (QPlainTextEdit* box : {aMemo, aComment, aFields}) {
    box->setContextMenuPolicy(Qt::CustomContextMenu);
    box->installEventFilter(this);
    box->viewport()->installEventFilter(this);
  }
  for (QWidget* box : {static_cast<QWidget*>(aComment), static_cast<QWidget*>(aFields)})
    box->setMinimumHeight(1);  // collapsed to 1 pixel
  aSplitter->addWidget(aBodyArea);
  aSplitter->addWidget(aComment);
  aSplitter->addWidget(aFields);
  aSplitter->setChildrenCollapsible(false);
  aSplitter->setStretchFactor(0, 1);
  aSplitter->setSizes({400, 80, 80});

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  layout->addWidget(aNameLine);
  layout->addWidget(aSplitter, 1);

  connect(aMemo, &QPlainTextEdit::cursorPositionChanged, this, [this] { showCaret_(aMemo, true); });
  connect(aMemo, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { popupMenu_(buildMemoMenu_(this), aMemo, at); });
  connect(aComment, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { popupMenu_(buildCommentMenu_(this), aComment, at); });
  connect(aFields, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { popupMenu_(buildFieldsMenu_(this), aFields, at); });
  connect(aNameLine, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { popupMenu_(buildNameMenu_(this), aNameLine, at); });
  aNameLine->clear();
  aMemo->clear();
  aComment->clear();
  showCaret_(aMemo, true);
}

TFrameMemoNode::TFrameMemoNode(std::unique_ptr<TFrameOwner> owner, QWidget* parent)
    : TFrameMemoNode(owner.get(), parent) {
  aOwnedOwner = std::move(owner);
}

TFrameMemoNode::~TFrameMemoNode() = default;

void TFrameMemoNode::popupMenu_(QMenu* menu, QWidget* on, const QPoint& at) {
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(on->mapToGlobal(at));
}

// --- showing

void TFrameMemoNode::showNode_(MemoNode* node) {
  aNode = node;
  if (node) {
    Model2UI();
    return;
  }
  // Nothing of a node that may be gone stays on show.
  aShownNode = nullptr;
  hideBodies();
  putNameLine_("");
  fillBox_(aMemo, shownMemo, {});
  fillBox_(aComment, shownComment, {});
  fillBox_(aFields, shownFields, {});
  flagMemoShown = false;
  flagMemoOwn = false;
  applyReadOnly();
}

void TFrameMemoNode::Model2UI() {
  MemoNode* node = getNode();
  if (!node) return;
  showBody();
  fillBox_(aFields, shownFields, node->aFields);
  setFieldsExpanded_(!isBlank_(linesToBytes_(node->aFields)));
  fillBox_(aComment, shownComment, node->aComment.value_or(StringList()));
  setCommentExpanded_(node->aComment && !isBlank_(linesToBytes_(*node->aComment)));
  putNameLine_(node->getName());
  aNameShown = aNameText;
  applyReadOnly();
}

void TFrameMemoNode::fillBox_(QPlainTextEdit* box, ShownLines& shown, const StringList& lines) {
  box->setPlainText(boxText(lines));
  shown.fill_(lines, box->toPlainText());
}

void TFrameMemoNode::hideBodies() {
  aMemoPanel->hide();
  for (auto& [kind, body] : aBodies) body->widget()->hide();
  flagMemoShown = false;
  flagMemoOwn = false;
}

TNodeBody* TFrameMemoNode::bodyOf_(BodyKind kind) {
  auto found = aBodies.find(kind);
  if (found != aBodies.end()) return found->second;
  TNodeBody* body = makeNodeBody_(kind, *this, aBodyArea);
  aBodyArea->layout()->addWidget(body->widget());
  aBodies[kind] = body;
  return body;
}

TNodeBody* TFrameMemoNode::shownBody() const {
  for (const auto& [kind, body] : aBodies)
    if (!body->widget()->isHidden()) return body;
  return nullptr;
}

void TFrameMemoNode::showMemoText_(const StringList& lines, bool own) {
  fillBox_(aMemo, shownMemo, lines);
  aMemoPanel->show();
  flagMemoShown = true;
  flagMemoOwn = own;
}

void TFrameMemoNode::showBody() {
  hideBodies();
  flagBodyHidden = false;
  MemoNode* node = getNode();
  aShownNode = node;
  if (!aOwner || !node) return;
  MemoNode* shown = node;
  if (isShadow_(*node)) {
    shown = resolveShadow_(*node);
    if (!shown) {
      // Shown only: the shadow's own memo stays as it is.
      aShownNode = nullptr;
      showMemoText_({"** Not Found Filename=" + node->getFilename() + " **"}, false);
      return;
    }
    aShownNode = shown;
  }
  if (shown->getField_(kEncoding) != "\"URL\"" && shown->getField_("FlagLink") == "\"true\"" &&
      !shown->flagContentLoaded) {
    const std::string fileName = shown->getFilename();
    const auto notFound = [&](const std::string& path) {
      message_("FlagLink=\"true\" but not found Filename=" + quote_(path) +
               " name=" + shown->getName());
    };
    if (fileName.empty()) {
      notFound("");
    } else if (shown->loadLinkedContent() <= 0) {
      notFound(shown->getFilePath());
      flagBodyHidden = true;
      return;
    }
  }
  const BodyChoice choice = chooseBody_(*shown);
  BodyRequest request;
  request.node = shown;
  request.contentType = choice.contentType;
  request.readOnly = flagReadOnly || node->isReadOnlyInherited() || shown != node;
  switch (choice.show) {
    case BodyChoice::Show::Nothing:
      return;
    case BodyChoice::Show::Picture:
    case BodyChoice::Show::GifPage: {
      // A GIF page is made from the bytes in memory: no file is written.
      request.data = &*shown->aContent->aData;
      TNodeBody* body =
          bodyOf_(choice.show == BodyChoice::Show::Picture ? BodyKind::Picture : BodyKind::Web);
      body->show_(request);
      body->widget()->show();
      return;
    }
    case BodyChoice::Show::Web:
      showWeb_(*shown);
      return;
    case BodyChoice::Show::Tree: {
      request.poser = choice.poser;
      TNodeBody* body = bodyOf_(BodyKind::Tree);
      body->show_(request);
      body->clearEdited();
      body->setReadOnly_(request.readOnly);
      body->widget()->show();
      return;
    }
    case BodyChoice::Show::Memo:
      showMemoText_(shown->aMemo, shown == node);
      return;
  }
}

void TFrameMemoNode::showWeb_(MemoNode& node) {
  BodyRequest request;
  request.node = &node;
  if (!node.getFilename().empty()) {
    const std::string address = node.getFilePath();
    const std::string head = lowerCase_(address.substr(0, 5));
    request.address = address;
    if (head == "http:" || head == "https") {
      AgentAPLAbs* agent = aOwner->agent();
      if (!agent || agent->query_("getUIInternet") != "true") {
        auto* form = dynamic_cast<TFormMainBaseVRK*>(aOwner->mainForm());
        request.address =
            (form ? form->aSettings.programDir : currentDirectory_()) + "Offinternet.html";
        message_("Disable Access Internet. " + node.getName());
      }
    }
  } else {
    request.caption = "*Memo*";
    if (node.aMemo.empty()) {
      request.html = "Memo=\"\".";
      message_(request.html);
    } else {
      request.html = linesToBytes_(node.aMemo);
    }
  }
  TNodeBody* body = bodyOf_(BodyKind::Web);
  body->show_(request);
  body->widget()->show();
}

void TFrameMemoNode::putNameLine_(std::string_view name) {
  aNameText = std::string(name);
  aNameLine->setText(sjisToQString(name));
}

void TFrameMemoNode::setReadOnly_(bool readOnly) {
  flagReadOnly = readOnly;
  applyReadOnly();
}

void TFrameMemoNode::applyReadOnly() {
  const MemoNode* node = getNode();
  const bool locked = flagReadOnly || (node && node->isReadOnlyInherited());
  aMemo->setReadOnly(locked || (flagMemoShown && !flagMemoOwn));
  aComment->setReadOnly(locked);
  aFields->setReadOnly(locked);
  for (auto& [kind, body] : aBodies) body->setReadOnly_(locked || aShownNode.get() != node);
}

void TFrameMemoNode::setCommentExpanded_(bool expanded) {
  if (expanded == !flagCommentCollapsed) return;
  QList<int> sizes = aSplitter->sizes();
  if (expanded) {
    const int height = savedCommentHeight > 1 ? savedCommentHeight : sizes[0] / 5;
    sizes[0] = std::max(1, sizes[0] + sizes[1] - height);
    sizes[1] = height;
  } else {
    if (sizes[1] > 1) savedCommentHeight = sizes[1];
    sizes[0] += sizes[1] - 1;
    sizes[1] = 1;
  }
  aSplitter->setSizes(sizes);
  flagCommentCollapsed = !expanded;
}

void TFrameMemoNode::setFieldsExpanded_(bool expanded) {
  if (expanded == !flagFieldsCollapsed) return;
  QList<int> sizes = aSplitter->sizes();
  if (expanded) {
    const int height = savedFieldsHeight > 1 ? savedFieldsHeight : sizes[0] / 5;
    sizes[0] = std::max(1, sizes[0] + sizes[2] - height);
    sizes[2] = height;
  } else {
    if (sizes[2] > 1) savedFieldsHeight = sizes[2];
    sizes[0] += sizes[2] - 1;
    sizes[2] = 1;
  }
  aSplitter->setSizes(sizes);
  flagFieldsCollapsed = !expanded;
}

// --- committing

void TFrameMemoNode::UI2Model() {
  MemoNode* node = getNode();
  if (!node || node->isReadOnlyInherited()) return;
  bool changed = commitMemo_(*node);
  changed = commitComment_(*node) || changed;
  changed = commitFields_(*node) || changed;
  changed = commitName_(*node) || changed;
  stamp_(*node, changed);
}

bool TFrameMemoNode::commitMemo_(MemoNode& node) {
  if (aShownNode.get() != &node) return false;  // a Shadow's target is only shown
  if (TNodeBody* tree = aBodies.count(BodyKind::Tree) ? aBodies[BodyKind::Tree] : nullptr;
      tree && !tree->widget()->isHidden() && tree->isEdited()) {
    StringList memo;
    tree->writeBack_(memo);
    tree->clearEdited();
    if (memo == node.aMemo) return false;
    node.aMemo = std::move(memo);
    return true;
  }
  if (!flagMemoShown || !flagMemoOwn || aMemo->toPlainText() == shownMemo.text) return false;
  QString bad;
  std::optional<StringList> lines = commitLines_(shownMemo, aMemo->toPlainText(), &bad);
  if (!lines) {
    message_("ERROR: This character cannot be stored: " + qStringToSjis(bad).value_or("?"));
    return false;
  }
  if (*lines == node.aMemo) return false;
  node.aMemo = std::move(*lines);
  shownMemo.fill_(node.aMemo, aMemo->toPlainText());
  if (node.getField_("FlagLink") == "\"true\"" && !isBlank_(node.getFilename()))
    message_("WARNING: FlagLink=\"true\": this memo is not saved with the MemoHolder. Filename=" +
             quote_(node.getFilename()));
  return true;
}

bool TFrameMemoNode::commitComment_(MemoNode& node) {
  const QString text = aComment->toPlainText();
  if (text == shownComment.text) return false;  // untouched: what is stored stays
  if (text.trimmed().isEmpty()) {
    if (!node.aComment || isBlank_(linesToBytes_(*node.aComment))) return false;
    node.aComment.reset();
    shownComment.fill_({}, text);
    return true;
  }
  QString bad;
  std::optional<StringList> lines = commitLines_(shownComment, text, &bad);
  if (!lines) {
    message_("ERROR: This character cannot be stored: " + qStringToSjis(bad).value_or("?"));
    return false;
  }
  if (node.aComment && *lines == *node.aComment) return false;
  node.aComment = std::move(*lines);
  shownComment.fill_(*node.aComment, text);
  return true;
}

bool TFrameMemoNode::commitFields_(MemoNode& node) {
  if (aFields->toPlainText() == shownFields.text) return false;
  QString bad;
  std::optional<StringList> lines = commitLines_(shownFields, aFields->toPlainText(), &bad);
  if (!lines) {
    message_("ERROR: This character cannot be stored: " + qStringToSjis(bad).value_or("?"));
    return false;
  }
  if (*lines == node.aFields) return false;
  node.aFields = std::move(*lines);
  shownFields.fill_(node.aFields, aFields->toPlainText());
  return true;
}

bool TFrameMemoNode::commitName_(MemoNode& node) {
  const std::string name = trim_(aNameText);
  if (name.empty()) {
    message_("Do not rename Empty characters.");
    putNameLine_(node.getName());
    aNameShown = aNameText;
    return false;
  }
  // Only a name the user gave: a rename made elsewhere since is not undone.
  if (aNameText == aNameShown || name == node.getName()) return false;
  putNameLine_(node.putName_(name));
  aNameShown = aNameText;
  return true;
}

void TFrameMemoNode::stamp_(MemoNode& node, bool changed) {
  bool stamped = false;
  const auto update = [&](std::string_view key, const std::string& value) {
    if (node.getIndexField_(key) < 0) return;
    node.putField_(key, value);
    stamped = true;
  };
  const std::string time = timeStamp_("YYYYMMDD hhmmsszzz");
  if (changed) {
    markChanged(node);
    update("Authors", authorText());
    update("LastModified", time);
  }
  update("LastAccessed", time);
  update("LastReader", authorText());
  if (!stamped) return;
  markChanged(node);
  // The box follows, or the next commit would take the old values back.
  const int caret = aFields->textCursor().position();
  fillBox_(aFields, shownFields, node.aFields);
  QTextCursor cursor = aFields->textCursor();
  cursor.setPosition(std::min(caret, static_cast<int>(aFields->toPlainText().size())));
  aFields->setTextCursor(cursor);
}

std::string TFrameMemoNode::authorText() const {
  TFormMainBase0007* form = aOwner ? aOwner->mainForm() : nullptr;
  return form ? quote_(form->userName) : "\"noname\"";
}

std::string TFrameMemoNode::timeStamp_(std::string_view pattern) const {
  TFormMainBase0007* form = aOwner ? aOwner->mainForm() : nullptr;
  const Clock& clock = form ? *form->services.clock : *modelServices().clock;
  return quote_(formatDateTime_(pattern, clock.now()));
}

// --- helpers of the commands

void TFrameMemoNode::message_(std::string_view text) {
  if (aOwner) aOwner->showMessage_(text);
}

void TFrameMemoNode::setCursor_(const QCursor& cursor) {
  for (QWidget* w : {static_cast<QWidget*>(aMemo), static_cast<QWidget*>(aComment),
                     static_cast<QWidget*>(aFields), static_cast<QWidget*>(aNameLine)})
    w->setCursor(cursor);
  for (auto& [kind, body] : aBodies) body->widget()->setCursor(cursor);
}

QPlainTextEdit* TFrameMemoNode::activeEditor() const {
  QWidget* window = aOwner ? aOwner->ownerWindow() : const_cast<TFrameMemoNode*>(this);
  QWidget* focused = window ? window->focusWidget() : nullptr;
  for (QPlainTextEdit* box : {aMemo, aComment, aFields})
    if (focused == box) return box;
  return aMemo;
}

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

void TFrameMemoNode::addPasteWord_(std::string_view text) {
  if (!aOwner || !aOwner->isMainForm() || text.empty()) return;
  pushFrontUnique_(aOwner->mainForm()->aPasteWords, text, false, kPasteWordsLimit);
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
  QString bad;
  const std::optional<StringList> lines = commitLines_(shown, editor->toPlainText(), &bad);
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

void TFrameMemoNode::showCaret_(QPlainTextEdit* editor, bool toStatus) {
  const QTextCursor cursor = editor->textCursor();
  const QString text =
      QString::asprintf("%9d:%4d", cursor.blockNumber() + 1, cursor.positionInBlock() + 1);
  if (toStatus)
    aMemoStatus->setText(text);
  else if (aOwner && aOwner->isMainForm())
    message_(text.toStdString());
}

bool TFrameMemoNode::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched == aNameLine && type == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    if (aOwner && aOwner->mainForm())
      aOwner->mainForm()->guard_("Rename", [this] { renameByDialog(); });
    else
      renameByDialog();
    return true;
  }
  if (type == QEvent::KeyRelease || type == QEvent::MouseButtonPress) {
    for (QPlainTextEdit* box : {aComment, aFields})
      if (watched == box || watched == box->viewport()) showCaret_(box, false);
  }
  return QWidget::eventFilter(watched, event);
}

void TFrameMemoNode::wheelEvent(QWheelEvent* event) {
  event->accept();  // never walks the holder's nodes
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
  markChanged(*node);
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

void TFrameMemoNode::selectAllThen_(int then) {
  QPlainTextEdit* editor = activeEditor();
  editor->selectAll();
  if (then == 1) copySelection_(false);
  if (then == 2) copySelection_(true);
  if (then == 3) pasteClipboard();
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

void TFrameMemoNode::copyParts_(int parts) {
  std::string text = aNameText;
  const auto add = [&](const char* separator, QPlainTextEdit* box) {
    if (separator) text += std::string("\r\n") + separator;
    const std::string lines = editorText_(box);
    if (!lines.empty()) text += "\r\n" + lines;
  };
  add("**** **** **** **** **** Memo **** **** **** **** **** ****", aMemo);
  if (parts == 1) add(nullptr, aComment);
  if (parts >= 2) add("**** **** **** **** **** Comment * **** **** **** **** ****", aComment);
  if (parts >= 3) add("**** **** **** **** **** Fields ** **** **** **** **** ****", aFields);
  setClipboardText_(text);
}

void TFrameMemoNode::markToName_(int how) {
  const std::string text = removeLineBreaks(selectedText_(activeEditor()));
  if (refuseRename_()) return;
  if (how == 0) {
    if (trim_(text).empty()) {
      message_("Cancel: Repalce Name : New name is empty!");
      return;
    }
    renameNode_(text);
    message_("Repalce Name " + aNameText);
  } else if (how == 1) {
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
    if (pathExists(target))
      desktop.explore(target);
    else
      message_(target + " not exists");
  } else if (!pathExists(target)) {
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
  markChanged(*node);
  Model2UI();
}

// --- commands: the name line menu

void TFrameMemoNode::copyName() {
  setClipboardText_(aNameText);
  addPasteWord_(aNameText);
  message_("Copy Name " + aNameText);
}

void TFrameMemoNode::clipboardToName_(int how) {
  if (refuseRename_()) return;
  const std::string text = trim_(removeLineBreaks(clipboardText()));
  if (how == 0) {
    if (text.empty()) {
      message_("Do not rename Empty characters.");
      return;
    }
    renameNode_(text);
    message_("Replace Name " + text);
  } else if (how == 1) {
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

void TFrameMemoNode::copyFieldPart_(int part) {
  const auto [key, raw] = fieldParts(caretLine_(activeEditor()));
  std::string text;
  const char* what = "Copy Value ";
  switch (part) {
    case 0:
      text = key;
      what = "Copy Name ";
      break;
    case 1:
      text = unquote_(raw);
      break;
    case 2:
      text = raw;
      break;
    default:
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

// --- the menus

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
  item(all, QStringLiteral("Normal"), [this] { selectAllThen_(0); });
  item(all, QStringLiteral("&Copy"), [this] { selectAllThen_(1); });
  item(all, QStringLiteral("&Cut"), [this] { selectAllThen_(2); });
  item(all, QStringLiteral("&Paste"), [this] { selectAllThen_(3); });
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
  item(copyPlus, QStringLiteral("Name+Memo"), [this] { copyParts_(1); });
  item(copyPlus, QStringLiteral("Name+Memo+Comment"), [this] { copyParts_(2); });
  item(copyPlus, QStringLiteral("Name+Memo+Comment+Fields"), [this] { copyParts_(3); });
  QMenu* mark = menu->addMenu(QStringLiteral("Mark To Name"));
  item(mark, QStringLiteral("Replace"), [this] { markToName_(0); });
  item(mark, QStringLiteral("Add"), [this] { markToName_(1); });
  item(mark, QStringLiteral("Add+"), [this] { markToName_(2); });
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
  item(menu, QStringLiteral("SelectAll"), [this] { selectAllThen_(0); });
  QMenu* plus = menu->addMenu(QStringLiteral("Paste+"));
  item(plus, QStringLiteral("Name"), [this] { pasteName(); });
  item(plus, QStringLiteral("Memo"), [this] { pasteMemoIntoComment(); });
  item(plus, QStringLiteral("Date"), [this] { pasteDate(); });
  item(plus, QStringLiteral("Time"), [this] { pasteTime(); });
  item(menu, QStringLiteral("Explorer"), [this] { explorer(); });
  QMenu* mark = menu->addMenu(QStringLiteral("Mark To Name"));
  item(mark, QStringLiteral("Replace"), [this] { markToName_(0); });
  item(mark, QStringLiteral("Add"), [this] { markToName_(1); });
  item(mark, QStringLiteral("Add+"), [this] { markToName_(2); });
  return menu;
}

QMenu* TFrameMemoNode::buildFieldsMenu_(QWidget* parent) {
  auto* menu = new QMenu(parent);
  const auto item = [this](QMenu* on, const QString& caption, auto action) {
    connect(on->addAction(caption), &QAction::triggered, this, action);
  };
  QMenu* copy = menu->addMenu(QStringLiteral("Copy+"));
  item(copy, QStringLiteral("name"), [this] { copyFieldPart_(0); });
  item(copy, QStringLiteral("Value"), [this] { copyFieldPart_(1); });
  item(copy, QStringLiteral("\"Value\""), [this] { copyFieldPart_(2); });
  item(copy, QStringLiteral("ExtractFilename"), [this] { copyFieldPart_(3); });
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
  add(QStringLiteral("Replace(&R)"), [this] { clipboardToName_(0); });
  add(QStringLiteral("Add(&A)"), [this] { clipboardToName_(1); });
  add(QStringLiteral("Add+"), [this] { clipboardToName_(2); });
  add(QStringLiteral("Rename"), [this] { renameByDialog(); });
  add(QStringLiteral("ExtractFilename"), [this] { extractFilenameOfName(); });
  for (const char* mark : {"●", "★"}) {
    const std::string bytes = utf8LiteralToSjis(mark);
    add(QString::fromUtf8(mark), [this, bytes] { markName_(bytes); });
  }
  return menu;
}

}  // namespace vrk
