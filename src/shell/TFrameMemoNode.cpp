#include "shell/TFrameMemoNode.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>

#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "model/ModelServices.h"
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

std::string TFrameMemoNode::boxUtf8_(const QPlainTextEdit* box) {
  return box->toPlainText().toStdString();
}

void TFrameMemoNode::markChanged_(const MemoNode& node) {
  if (auto* holder = dynamic_cast<MemoHolder*>(node.getHolder())) holder->flagChanged = true;
}

// --- the main window as owner

void TMainFormOwner::showMessage_(std::string_view text) { aForm.messageDoing_(text); }
AgentAPLAbs* TMainFormOwner::agent() { return aForm.getAgent(); }
QWidget* TMainFormOwner::ownerWindow() { return &aForm; }

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
  aMemoShown = MemoShown::No;
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
  box->setPlainText(QString::fromStdString(boxText_(lines)));
  shown.fill_(lines, boxUtf8_(box));
}

void TFrameMemoNode::hideBodies() {
  aMemoPanel->hide();
  for (auto& [kind, body] : aBodies) body->widget()->hide();
  aMemoShown = MemoShown::No;
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

void TFrameMemoNode::showMemoText_(const StringList& lines, MemoShown whose) {
  fillBox_(aMemo, shownMemo, lines);
  aMemoPanel->show();
  aMemoShown = whose;
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
      showMemoText_({"** Not Found Filename=" + node->getFilename() + " **"}, MemoShown::Borrowed);
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
      showMemoText_(shown->aMemo, shown == node ? MemoShown::Own : MemoShown::Borrowed);
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
  aMemo->setReadOnly(locked || aMemoShown == MemoShown::Borrowed);
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
  if (aMemoShown != MemoShown::Own) return false;
  const std::string text = boxUtf8_(aMemo);
  if (text == shownMemo.text) return false;
  std::optional<StringList> lines = commitBox_(shownMemo, text);
  if (!lines || *lines == node.aMemo) return false;
  node.aMemo = std::move(*lines);
  shownMemo.fill_(node.aMemo, text);
  if (node.getField_("FlagLink") == "\"true\"" && !isBlank_(node.getFilename()))
    message_("WARNING: FlagLink=\"true\": this memo is not saved with the MemoHolder. Filename=" +
             quote_(node.getFilename()));
  return true;
}

bool TFrameMemoNode::commitComment_(MemoNode& node) {
  const QString boxText = aComment->toPlainText();
  const std::string text = boxText.toStdString();
  if (text == shownComment.text) return false;  // untouched: what is stored stays
  if (boxText.trimmed().isEmpty()) {
    if (!node.aComment || isBlank_(linesToBytes_(*node.aComment))) return false;
    node.aComment.reset();
    shownComment.fill_({}, text);
    return true;
  }
  std::optional<StringList> lines = commitBox_(shownComment, text);
  if (!lines || (node.aComment && *lines == *node.aComment)) return false;
  node.aComment = std::move(*lines);
  shownComment.fill_(*node.aComment, text);
  return true;
}

bool TFrameMemoNode::commitFields_(MemoNode& node) {
  const std::string text = boxUtf8_(aFields);
  if (text == shownFields.text) return false;
  std::optional<StringList> lines = commitBox_(shownFields, text);
  if (!lines || *lines == node.aFields) return false;
  node.aFields = std::move(*lines);
  shownFields.fill_(node.aFields, text);
  return true;
}

std::optional<StringList> TFrameMemoNode::commitBox_(const ShownLines& shown,
                                                     std::string_view text) {
  EncodeFailure refused;
  std::optional<StringList> lines = shown.commit_(text, &refused);
  if (!lines)
    message_("ERROR: This character cannot be stored: " +
             utf8ToSjis(refused.character).value_or("?"));
  return lines;
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
    markChanged_(node);
    update("Authors", authorText());
    update("LastModified", time);
  }
  update("LastAccessed", time);
  update("LastReader", authorText());
  if (!stamped) return;
  markChanged_(node);
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

// --- helpers

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

}  // namespace vrk
