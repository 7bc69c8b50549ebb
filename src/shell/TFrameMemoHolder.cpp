#include "shell/TFrameMemoHolder.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTreeView>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <charconv>
#include <vector>

#include "model/MemoFile.h"
#include "model/NameEdits.h"
#include "platform/Path.h"
#include "platform/SJ.h"
#include "platform/qt/QtSjis.h"
#include "shell/MemoNodeUI.h"
#include "shell/NodeEditorFactory.h"
#include "shell/TFormMainBaseVRK.h"
#include "shell/TreeItemOps.h"
#include "text/Basic.h"
#include "text/CharEX.h"
#include "text/FileIO.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

constexpr char kWiredProperty[] = "vrkHolderFrameWired";
constexpr int kWheelNotch = 120;  // angle delta of one notch

// A whole decimal number (sign allowed); nullopt for anything else.
std::optional<int> decimalOf(std::string_view text) {
  int value = 0;
  const char* first = text.data();
  if (!text.empty() && text.front() == '+') ++first;
  const auto [end, error] = std::from_chars(first, text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool isMemoBox(const QWidget* widget) {
  return widget && (widget->inherits("QPlainTextEdit") || widget->inherits("QTextEdit"));
}

bool isWebView(const QWidget* widget) {
  for (const QWidget* up = widget; up; up = up->parentWidget())
    if (up->inherits("QWebEngineView")) return true;
  return false;
}

// The holder's view a watched widget belongs to (the view, its viewport, or
// one of the list's two item views).
QWidget* viewOf(QObject* watched) {
  for (QObject* up = watched; up; up = up->parent()) {
    if (auto* view = dynamic_cast<TNodesView*>(up)) return view->widget();
  }
  return nullptr;
}

// An item's text is being edited: the focus is on an editor inside the view.
bool isEditing(const QAbstractItemView& view) {
  const QWidget* focus = QApplication::focusWidget();
  return focus && focus != &view && focus != view.viewport() && view.isAncestorOf(focus);
}

MemoHolder* holderOf(const MemoNode& node) { return dynamic_cast<MemoHolder*>(node.getHolder()); }

}  // namespace

// --- the name rules

std::optional<std::string> cutFirstWord_(std::string_view name) {
  std::string rest = cutWord1_(trim_(name));
  if (rest.empty()) return std::nullopt;
  return rest;
}

std::optional<std::string> pastedName_(std::string_view text) {
  std::string name;
  name.reserve(text.size());
  for (char c : text)
    if (c != '\r' && c != '\n') name += c;  // neither is ever a trail byte
  if (isBlank_(name)) return std::nullopt;
  return name;
}

// --- the frame

TFrameMemoHolder::TFrameMemoHolder(TFormMainBaseVRK& form, QWidget* parent)
    : QWidget(parent),
      aForm(form),
      aSplitter(new QSplitter(Qt::Horizontal, this)),
      aViewPanel(new QWidget),
      aStatus(new QLabel) {
  auto* left = new QWidget(aSplitter);
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  leftLayout->setSpacing(0);
  aViewPanel->setParent(left);
  auto* viewLayout = new QVBoxLayout(aViewPanel);
  viewLayout->setContentsMargins(0, 0, 0, 0);
  leftLayout->addWidget(aViewPanel, 1);
  aStatus->setParent(left);
  aStatus->setAlignment(Qt::AlignCenter);
  aStatus->setFrameShape(QFrame::StyledPanel);
  aStatus->setTextFormat(Qt::PlainText);
  leftLayout->addWidget(aStatus);
  FrameMemoNode1 = createNodeEditor_(form, aSplitter);
  aSplitter->setStretchFactor(1, 1);  // the editor takes what the window gains
  aSplitter->setSizes({240, 660});
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(aSplitter);
  buildMenus_();
}

MemoHolderUI* TFrameMemoHolder::holder() const {
  return dynamic_cast<MemoHolderUI*>(aHolder.get());
}

void TFrameMemoHolder::installView_(QWidget* view) {
  if (!view) return;
  if (view->parentWidget() != aViewPanel) view->setParent(aViewPanel);
  if (aViewPanel->layout()->indexOf(view) < 0) aViewPanel->layout()->addWidget(view);
  view->hide();
  view->setEnabled(false);
  if (view->property(kWiredProperty).toBool()) return;
  view->setProperty(kWiredProperty, true);
  wireView_(view);
}

void TFrameMemoHolder::watch_(QWidget* view, QWidget* target) {
  target->installEventFilter(this);
  auto* items = qobject_cast<QAbstractItemView*>(target);
  if (!items) return;
  items->viewport()->installEventFilter(this);
  items->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(items, &QWidget::customContextMenuRequested, this, [this, view, items](const QPoint& at) {
    aForm.guard_("PopupMenu", [&] { popUp_(view, items, at); });
  });
}

void TFrameMemoHolder::wireView_(QWidget* view) {
  const auto report = [this](MemoNode* node) {
    aForm.guard_("selectNode_", [&] { selectNode_(node); });
  };
  if (auto* list = dynamic_cast<TCheckListBoxUI*>(view)) {
    list->setDragEnabled(true);
    list->setDragDropMode(QAbstractItemView::DragDrop);
    list->setAcceptDrops(true);
    watch_(view, list);
    // The keys move the selection as a click does: both choose the node.
    connect(list, &QListWidget::currentItemChanged, this, [report](QListWidgetItem* item) {
      if (item) report(static_cast<TCheckListItem*>(item)->node);
    });
    connect(list, &QListWidget::itemClicked, this, [report](QListWidgetItem* item) {
      if (item) report(static_cast<TCheckListItem*>(item)->node);
    });
    connect(list, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
      MemoNodeUI& node = *static_cast<TCheckListItem*>(item)->node;
      const bool checked = item->checkState() == Qt::Checked;
      if (checked == node.isMarked()) return;  // a change of something else
      aForm.guard_("checkNode_", [&] { checkNode_(node, checked); });
    });
    return;
  }
  if (auto* tree = dynamic_cast<TTreeViewUI*>(view)) {
    tree->setDragEnabled(true);
    tree->setDragDropMode(QAbstractItemView::DragDrop);
    tree->setAcceptDrops(true);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->setMouseTracking(true);  // the item under the mouse is highlighted
    // The selection stays visible when the tree loses the focus.
    QPalette palette = tree->palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
      palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    tree->setPalette(palette);
    watch_(view, tree);
    connect(tree, &QTreeWidget::currentItemChanged, this, [report](QTreeWidgetItem* item) {
      if (item) report(static_cast<TNodeTreeItem*>(item)->node);
    });
    connect(tree, &QTreeWidget::itemClicked, this, [report](QTreeWidgetItem* item) {
      if (item) report(static_cast<TNodeTreeItem*>(item)->node);
    });
    return;
  }
  if (auto* listView = dynamic_cast<TListViewUI*>(view)) {
    for (QAbstractItemView* items : {static_cast<QAbstractItemView*>(listView->report()),
                                     static_cast<QAbstractItemView*>(listView->icons())}) {
      watch_(view, items);
      connect(items, &QAbstractItemView::clicked, this,
              [report, listView] { report(listView->selectedNode()); });
    }
    connect(listView, &TListViewUI::nodeSelectionChanged, this,
            [report, listView] { report(listView->selectedNode()); });
  }
}

void TFrameMemoHolder::serve_(MemoHolder* holder) { aHolder = holder; }

int TFrameMemoHolder::showNodeInList_(MemoNode* node) {
  MemoHolderUI* served = holder();
  const int index = served && node ? served->indexOfNode_(node) : -1;
  if (index < 0) {
    aStatus->clear();
    return index;
  }
  std::string text = std::to_string(index + 1) + " / " + std::to_string(served->countOfNodes());
  const auto* ui = dynamic_cast<MemoNodeUI*>(node);
  if (served->getMode() == NodesMode::TreeView && ui && ui->aUITN)
    text =
        std::string("[").append(outlineNumber_(ui->aUITN, 1, "", "")).append("]   ").append(text);
  aStatus->setText(sjisToQString(text));
  return index;
}

std::string TFrameMemoHolder::statusText() const {
  return qStringToSjis(aStatus->text()).value_or("?");
}

void TFrameMemoHolder::mouseCursor_(const QCursor& cursor) {
  setCursor(cursor);
  FrameMemoNode1->widget()->setCursor(cursor);
}

void TFrameMemoHolder::message_(std::string_view text) { aForm.messageDoing_(text); }

void TFrameMemoHolder::switchViewMode_(NodesMode mode) {
  MemoHolderUI* served = holder();
  if (!served || mode == NodesMode::Nodes) return;
  aForm.UI2Model();
  MemoNode* current = aForm.getCurMemoNode();
  served->hideView();  // the view shown so far, before the mode changes
  QWidget* view = served->buildView_(mode, aViewPanel);
  if (!view) return;
  if (mode == NodesMode::TreeView)
    aForm.setTreeView_(view);
  else if (mode == NodesMode::ListView)
    aForm.setListView_(view);
  else
    aForm.setCheckListBox_(view);
  served->showView();
  served->flagChanged = true;  // the mode is part of the holder file
  if (current && holderOf(*current) == served) served->putCurNode_(current);
  aForm.showCurMemoNodeInList();
  if (view->isVisible()) view->setFocus();
}

// --- what the views report

void TFrameMemoHolder::selectNode_(MemoNode* node) {
  MemoHolderUI* served = holder();
  if (!served || !node || node == aForm.getCurMemoNode()) return;
  if (served != aForm.getCurHolder()) return;
  aForm.gotoMemoNode(node);
  served->flagChanged = true;  // the holder records its current node
}

void TFrameMemoHolder::checkNode_(MemoNodeUI& node, bool checked) {
  MemoHolderUI* served = holder();
  if (!served || holderOf(node) != served) return;
  // The editor shows this node: its edits go in first and it shows the node
  // again afterwards, so that neither overwrites the other.
  const bool shown = &node == aForm.getCurMemoNode();
  if (shown) aForm.UI2Model();
  node.putMarked_(checked);
  served->flagChanged = true;
  if (shown) aForm.Model2UI();
}

bool TFrameMemoHolder::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::ToolTip:
    case QEvent::MouseButtonPress:
      break;
    default:
      return false;  // most events: paint, layout, hover
  }
  QWidget* view = viewOf(watched);
  if (!view) return false;
  bool taken = false;
  aForm.guard_("TFrameMemoHolder", [&] {
    auto* tree = dynamic_cast<TTreeViewUI*>(view);
    switch (event->type()) {
      case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat() || (key->key() != Qt::Key_Left && key->key() != Qt::Key_Right))
          return;
        if (tree && isEditing(*tree)) return;
        switchHolder_(key->key() == Qt::Key_Left ? -1 : 1);
        taken = true;
        return;
      }
      case QEvent::DragEnter:
      case QEvent::DragMove:
      case QEvent::Drop:
        taken = handleDrag_(view, event);
        return;
      case QEvent::ToolTip:
        taken = tree != nullptr;
        return;
      case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!tree || mouse->button() != Qt::RightButton || !tree->hasFocus() ||
            watched != tree->viewport())
          return;
        // The item is chosen before its pop-up menu acts on it.
        if (QTreeWidgetItem* item = tree->itemAt(mouse->position().toPoint()))
          tree->setCurrentItem(item);
        return;
      }
      default:
        return;
    }
  });
  return taken;
}

bool TFrameMemoHolder::handleDrag_(QWidget* view, QEvent* event) {
  auto* drop = static_cast<QDropEvent*>(event);  // enter and move events are drop events too
  auto* list = dynamic_cast<TCheckListBoxUI*>(view);
  auto* tree = dynamic_cast<TTreeViewUI*>(view);
  const QMimeData* data = drop->mimeData();
  // Only the view's own items, and never while the UI is read-only.
  if (!(list || tree) || !data || !isDraggedFrom_(*data, *view) || aForm.isUIReadOnly()) {
    drop->ignore();
    return true;
  }
  if (event->type() != QEvent::Drop) {
    drop->setDropAction(Qt::MoveAction);
    drop->accept();
    return true;
  }
  const QPoint at = drop->position().toPoint();
  const bool moved = list ? dropOnCheckList_(*list, at) : dropOnTree_(*tree, at);
  // The items are moved here already: as a move, the dragging view would
  // remove them once more.
  drop->setDropAction(Qt::CopyAction);
  drop->setAccepted(moved);
  return true;
}

bool TFrameMemoHolder::dropOnCheckList_(TCheckListBoxUI& list, const QPoint& at) {
  MemoHolderUI* served = holder();
  if (!served || served->aUILB.data() != &list || aForm.isUIReadOnly()) return false;
  QListWidgetItem* moving = list.currentItem();
  if (!moving || !moving->isSelected()) return false;
  int to = 0;  // above every item, or none at all
  if (QListWidgetItem* under = list.itemAt(at))
    to = list.row(under);
  else if (list.count() > 0 && at.y() > list.visualItemRect(list.item(list.count() - 1)).bottom())
    to = list.count() - 1;
  const int from = list.row(moving);
  if (from != to) {
    const QSignalBlocker quiet(&list);
    list.takeItem(from);
    list.insertItem(to, moving);
    list.setCurrentItem(moving);
    served->flagChanged = true;  // the order is the holder's
  }
  aForm.showCurMemoNodeInList();
  return from != to;
}

bool TFrameMemoHolder::dropOnTree_(TTreeViewUI& tree, const QPoint& at) {
  MemoHolderUI* served = holder();
  if (!served || served->aUITV.data() != &tree || aForm.isUIReadOnly()) return false;
  auto* target = static_cast<TNodeTreeItem*>(tree.itemAt(at));
  if (!target) return false;
  std::vector<TNodeTreeItem*> moving;  // in tree order, so that they keep it
  for (QTreeWidgetItemIterator it(&tree, QTreeWidgetItemIterator::Selected); *it; ++it)
    moving.push_back(static_cast<TNodeTreeItem*>(*it));
  if (moving.empty()) return false;
  // Onto one of the moved items or into one of their subtrees would hang an
  // item below itself.
  const bool intoItself = std::any_of(moving.begin(), moving.end(), [&](TNodeTreeItem* item) {
    return isSelfOrBelow_(target, item);
  });
  if (intoItself) {
    if (moving.size() > 1) message_("Don't Move.");
    return false;
  }
  const bool expanded = moving.size() == 1 && moving.front()->isExpanded();
  aForm.UI2Model();
  MemoNode* current = aForm.getCurMemoNode();
  bool showCurrent = false;
  for (TNodeTreeItem* item : moving) {
    placeBefore_(item, target);
    const auto* parent = static_cast<const TNodeTreeItem*>(item->parent());
    // The model's own step: the item is in place already.
    item->node->MemoNode::setParentNode_(parent ? parent->node : nullptr);
    showCurrent = showCurrent || item->node == current;
  }
  if (expanded) {
    moving.front()->setExpanded(true);
    expandChildren_(moving.front(), true);
  }
  {
    // Taking items out of the tree dropped their selection.
    const QSignalBlocker quiet(&tree);
    for (TNodeTreeItem* item : moving) item->setSelected(true);
    if (auto* ui = dynamic_cast<MemoNodeUI*>(current); ui && ui->aUITN) {
      tree.setCurrentItem(ui->aUITN, 0, QItemSelectionModel::NoUpdate);
    }
  }
  served->flagChanged = true;
  if (showCurrent) aForm.Model2UI();
  tree.viewport()->update();
  aForm.showCurMemoNodeInList();
  return true;
}

void TFrameMemoHolder::switchHolder_(int step) {
  MemoFileUI* file = aForm.getFile();
  MemoHolder* current = aForm.getCurHolder();
  if (!file || !current || aForm.isBusy()) return;
  const int index = file->indexOfHolder_(current) + step;
  if (index < 0 || index >= file->countOfHolders()) return;
  aForm._changeCurrentHolder_(file->holderAt_(index), true);
}

void TFrameMemoHolder::wheelEvent(QWheelEvent* event) {
  event->accept();
  aForm.guard_("wheel", [&] {
    aWheelDelta += event->angleDelta().y();
    for (; aWheelDelta >= kWheelNotch; aWheelDelta -= kWheelNotch) wheelStep_(false);
    for (; aWheelDelta <= -kWheelNotch; aWheelDelta += kWheelNotch) wheelStep_(true);
  });
}

void TFrameMemoHolder::wheelStep_(bool down) {
  const QWidget* focus = QApplication::focusWidget();
  if (isMemoBox(focus) || (!down && isWebView(focus))) return;
  MemoNode* node = aForm.getCurMemoNode();
  MemoHolder* current = aForm.getCurHolder();
  if (!node || !current) return;
  // A web page scrolls with the wheel unless its node asks to be walked past.
  if (node->getField_("Content-Transfer-Encoding") == "\"URL\"" &&
      node->getField_("FlagWheel") != "\"true\"")
    return;
  if (MemoNode* next = down ? current->nextNode_(node) : current->prevNode_(node))
    aForm.gotoMemoNode(next);
}

// --- menu commands

MemoNodeUI* TFrameMemoHolder::currentNode() const {
  MemoHolderUI* served = holder();
  auto* node = dynamic_cast<MemoNodeUI*>(aForm.getCurMemoNode());
  return served && node && holderOf(*node) == served ? node : nullptr;
}

void TFrameMemoHolder::nameCommand_(NameCommand command) {
  if (command != NameCommand::ExtractFilename && aForm.isBusy()) return;
  MemoNodeUI* node = currentNode();
  if (!node) return;
  const std::string name = node->getName();
  if (command == NameCommand::Copy) {
    QGuiApplication::clipboard()->setText(sjisToQString(name));
    return;
  }
  if (aForm.checkUIReadOnly() || aForm.checkHolderReadOnly() || node->isReadOnlyInherited()) return;
  std::string renamed;
  switch (command) {
    case NameCommand::MarkCircle:
      renamed = putMark1_(name, SJ("●"));
      break;
    case NameCommand::MarkStar:
      renamed = putMark1_(name, SJ("★"));
      break;
    case NameCommand::Cut1: {
      const std::optional<std::string> cut = cutFirstWord_(name);
      if (!cut) return message_("Do not rename empty characters.");
      renamed = *cut;
      break;
    }
    case NameCommand::Inc1:
    case NameCommand::Dec1:
      renamed = countWord1_(name, command == NameCommand::Inc1);
      break;
    case NameCommand::ExtractFilename:
      renamed = extractFileName_(name);
      if (renamed.empty()) return;
      break;
    case NameCommand::Paste: {
      QString bad;
      const std::optional<std::string> text =
          qStringToSjis(QGuiApplication::clipboard()->text(), &bad);
      if (!text)
        return message_("ERROR: This character cannot be stored: " +
                        qStringToSjis(bad).value_or("?"));
      const std::optional<std::string> pasted = pastedName_(*text);
      if (!pasted) return message_("Do not rename empty characters.");
      renamed = *pasted;
      break;
    }
    case NameCommand::Copy:
      return;
  }
  afterRename_(*node, renamed);
}

void TFrameMemoHolder::afterRename_(MemoNodeUI& node, const std::string& name) {
  MemoHolderUI* served = holder();
  if (!served || name == node.getName()) return;
  aForm.UI2Model();  // showing the node again reads the model: the edits go in first
  served->putNameChild_as_(&node, name);
  served->flagChanged = true;
  if (&node == aForm.getCurMemoNode()) aForm.Model2UI();
  aForm.showCurMemoNodeInList();
}

int TFrameMemoHolder::cloneX() {
  if (aForm.isBusy()) return 0;
  const std::optional<std::string> answer =
      aForm.services.prompter->inputText("Input Number", "", cloneCountText);
  if (!answer) return 0;
  const std::string text = trim_(*answer);
  if (text.empty()) return 0;
  cloneCountText = text;
  const std::optional<int> count = decimalOf(text);
  if (!count) {
    message_("ERROR: Not a number: " + text);
    return 0;
  }
  return aForm.cloneMemoNode_(std::max(1, *count));
}

void TFrameMemoHolder::newChildGrepAny() {
  // The dialog and the command live with the upper levels of the window.
  aForm.runCommandNamed_("UINewChildGrepAny");
}

int TFrameMemoHolder::showQuery() {
  if (aForm.isBusy()) return -1;
  MemoHolderUI* served = holder();
  TListViewUI* list =
      served && served->getMode() == NodesMode::ListView ? served->aUILV.data() : nullptr;
  if (!list) return -1;
  aForm.UI2Model();
  std::vector<std::pair<std::string, int>> columns{{"name", list->width()}};
  const std::string queryName = unquote_(served->getField_("QueryNode"));
  const MemoNode* query = queryName.empty() ? nullptr : served->findNode_(queryName);
  if (query) {
    for (const std::string& line : query->aMemo) {
      const std::string trimmed = trim_(line);
      if (trimmed.empty() || trimmed.front() == '#') continue;
      const auto [caption, rest] = splitWord_(trimmed);
      const int width = decimalOf(splitWord_(rest).first).value_or(0);
      columns.emplace_back(caption, width > 0 ? width : 10 * static_cast<int>(caption.size()));
    }
  }
  // The name column stays: its items are the nodes'.
  list->setColumns_(columns);
  const int count = list->count();
  for (int row = 0; row < count; ++row) {
    MemoNodeUI* node = list->nodeAt_(row);
    StringList texts;
    for (std::size_t c = 1; c < columns.size(); ++c)
      texts.push_back(node->getField_(columns[c].first));
    list->setSubItems_(*node, texts);
    message_(std::to_string(row + 1) + " / " + std::to_string(count));
  }
  list->setViewStyle_(ListStyle::Report);
  message_("Done");
  return 0;
}

void TFrameMemoHolder::setListStyle_(ListStyle style) {
  MemoHolderUI* served = holder();
  if (TListViewUI* list = served ? served->aUILV.data() : nullptr) list->setViewStyle_(style);
}

int TFrameMemoHolder::saveAsCSV() {
  if (aForm.isBusy()) return -1;
  MemoHolderUI* served = holder();
  if (!served || served->getMode() != NodesMode::ListView || !served->aUILV) return -1;
  const std::optional<std::string> path = aForm.services.prompter->saveFileName(
      "Save As CSV", changeFileExt_(served->getFileName(), ".csv"), "CSV (*.csv);;All (*)");
  if (!path) return -1;
  TaskScope task(aForm, "Save As CSV");
  if (!task.began()) return -1;
  StringList lines;
  served->exportList_(lines, *aForm.services.clock);
  const std::optional<std::string> osPath = toOsPath_(*path);
  std::string why = "the name cannot be converted";
  if (!osPath || writeFileAtomic_(*osPath, linesToBytes_(lines), &why) != 0) {
    task.end_("Failure: Save As CSV " + *path + " " + why);
    return -1;
  }
  task.end_();
  return 0;
}

QMenu* TFrameMemoHolder::menu(MenuKind kind) const {
  switch (kind) {
    case MenuKind::LB:
      return aMenuLB;
    case MenuKind::TV:
      return aMenuTV;
    case MenuKind::LV:
      return aMenuLV;
  }
  return nullptr;
}

void TFrameMemoHolder::popUp_(QWidget* view, QAbstractItemView* at, const QPoint& pos) {
  QMenu* shown = dynamic_cast<TTreeViewUI*>(view)   ? aMenuTV
                 : dynamic_cast<TListViewUI*>(view) ? aMenuLV
                                                    : aMenuLB;
  shown->popup(at->viewport()->mapToGlobal(pos));
}

}  // namespace vrk
