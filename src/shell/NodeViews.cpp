#include "shell/NodeViews.h"

#include <QItemSelectionModel>
#include <QListView>
#include <QMimeData>
#include <QPalette>
#include <QPixmap>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QTreeView>
#include <QTreeWidgetItemIterator>

#include "model/TreeBuild.h"
#include "platform/qt/QtSjis.h"
#include "shell/TreeItemOps.h"
#include "shell/MemoNodeUI.h"
#include "text/CharEX.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

QByteArray bytesOf(std::string_view text) {
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

std::string textOf(const QByteArray& bytes) {
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string textOf(const QVariant& bytes) { return textOf(bytes.toByteArray()); }

bool isTextRole(int role) { return role == Qt::DisplayRole || role == Qt::EditRole; }

// What an item shows is derived from the bytes it keeps.
QVariant shownText(const QByteArray& bytes) {
  return sjisToQString(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

bool sameName(std::string_view a, std::string_view b, bool ignoreCase) {
  return ignoreCase ? sameText_(a, b) : a == b;
}

// A field's value unquoted, as a view into its line: the tree snapshot reads
// two fields of every node.
std::string_view fieldValue(const MemoBasic& record, std::string_view key) {
  const int index = record.getIndexField_(key);
  if (index < 0) return {};
  return unquoteView_(
      std::string_view(record.aFields[static_cast<std::size_t>(index)]).substr(key.size() + 1));
}

QColor qColourOf(Colour colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

// Expands by model index: finding an item's index scans its siblings, which
// over every parent of a large flat outline adds up to a quadratic walk.
void expandParents(QTreeWidget& tree) {
  QAbstractItemModel& model = *tree.model();
  std::vector<std::pair<QTreeWidgetItem*, QModelIndex>> parents;
  const auto pushParents = [&](QTreeWidgetItem* item, const QModelIndex& index) {
    for (int row = 0; row < item->childCount(); ++row) {
      QTreeWidgetItem* child = item->child(row);
      if (child->childCount() > 0) parents.emplace_back(child, model.index(row, 0, index));
    }
  };
  pushParents(tree.invisibleRootItem(), QModelIndex());
  while (!parents.empty()) {
    const auto [item, index] = parents.back();
    parents.pop_back();
    if (static_cast<TNodeTreeItem*>(item)->node->getField_("FlagExpanded") != "\"false\"")
      tree.setExpanded(index, true);
    pushParents(item, index);
  }
}

}  // namespace

std::string nameOfItem_(const QTreeWidgetItem& item) { return textOf(item.data(0, kNameRole)); }

namespace {
constexpr char kDragSourceFormat[] = "application/x-vrk-drag-source";

QByteArray addressOf(const QWidget& view) {
  return QByteArray::number(reinterpret_cast<quintptr>(&view), 16);
}
}  // namespace

void markDragSource_(QMimeData& data, const QWidget& view) {
  data.setData(QString::fromLatin1(kDragSourceFormat), addressOf(view));
}

bool isDraggedFrom_(const QMimeData& data, const QWidget& view) {
  const QString format = QString::fromLatin1(kDragSourceFormat);
  return data.hasFormat(format) && data.data(format) == addressOf(view);
}

void TImageList::assign_(const std::vector<QIcon>& images) {
  images_ = images;
  blank_ = QIcon();
  if (images_.empty()) return;
  QPixmap blank(images_.front().availableSizes().value(0, QSize(16, 16)));
  blank.fill(Qt::transparent);
  blank_ = QIcon(blank);
}

QVariant TImageList::imageAt(int index) const {
  if (images_.empty()) return {};
  return index >= 0 && index < static_cast<int>(images_.size())
             ? images_[static_cast<std::size_t>(index)]
             : blank_;
}

void TNodesView::setColour_(Colour colour) {
  QPalette palette = widget()->palette();
  palette.setColor(QPalette::Base, qColourOf(colour));
  widget()->setPalette(palette);
}

// --- the check list

TCheckListItem::TCheckListItem(MemoNodeUI& n, QByteArray name) : node(&n), name_(std::move(name)) {}

TCheckListItem::~TCheckListItem() {
  // Emptying the list has cleared the index and the items' view already.
  if (auto* list = dynamic_cast<TCheckListBoxUI*>(listWidget())) list->aItems.erase(node);
}

QVariant TCheckListItem::data(int role) const {
  if (role == kNameRole) return name_;
  if (role == Qt::CheckStateRole) {
    if (!check_) check_ = node->isMarked() ? Qt::Checked : Qt::Unchecked;
    return *check_;
  }
  return isTextRole(role) ? shownText(name_) : QListWidgetItem::data(role);
}

void TCheckListItem::setData(int role, const QVariant& value) {
  if (role == kNameRole) name_ = value.toByteArray();
  if (role == Qt::CheckStateRole) check_ = static_cast<Qt::CheckState>(value.toInt());
  // The base has no other way to tell the model: it keeps a copy, unread.
  QListWidgetItem::setData(role, value);
}

bool TCheckListItem::operator<(const QListWidgetItem& other) const {
  const std::string mine = lowerCase_(textOf(name_));
  const std::string theirs = lowerCase_(textOf(other.data(kNameRole)));
  if (mine != theirs) return mine < theirs;
  return listWidget()->row(this) < other.listWidget()->row(&other);
}

TCheckListBoxUI::TCheckListBoxUI(QWidget* parent) : QListWidget(parent) {
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
}

QMimeData* TCheckListBoxUI::mimeData(const QList<QListWidgetItem*>& items) const {
  QMimeData* data = QListWidget::mimeData(items);
  if (data) markDragSource_(*data, *this);
  return data;
}

void TCheckListBoxUI::fill_(NodeSequence nodes, const ImageOf&) {
  const QSignalBlocker quiet(this);
  clearItems();  // the model's reset makes the view lay out all rows anew, later
  // Item by item the view would be told of each row: the model stays silent
  // while it fills.
  const QSignalBlocker silent(model());
  aItems.reserve(nodes.size());
  for (SequenceEntry& entry : nodes) {
    auto* item = new TCheckListItem(*entry.node, std::move(entry.name));
    aItems.emplace(entry.node, item);
    addItem(item);
  }
}

void TCheckListBoxUI::listSequence_(NodeSequence& nodes) const {
  for (int i = 0; i < count(); ++i) {
    const auto* entry = static_cast<const TCheckListItem*>(item(i));
    nodes.push_back({entry->data(kNameRole).toByteArray(), entry->node});
  }
}

void TCheckListBoxUI::clearItems() {
  const QSignalBlocker quiet(this);
  aItems.clear();
  clear();
}

TCheckListItem* TCheckListBoxUI::itemOf(const MemoNodeUI& node) const {
  const auto found = aItems.find(&node);
  return found == aItems.end() ? nullptr : found->second;
}

int TCheckListBoxUI::count() const { return QListWidget::count(); }

MemoNodeUI* TCheckListBoxUI::nodeAt_(int index) const {
  const auto* entry = static_cast<const TCheckListItem*>(item(index));
  return entry ? entry->node : nullptr;
}

int TCheckListBoxUI::indexOf_(const MemoNodeUI& node) const {
  const TCheckListItem* item = itemOf(node);
  return item ? row(item) : -1;
}

std::string TCheckListBoxUI::nameOf_(const MemoNodeUI& node) const {
  const TCheckListItem* item = itemOf(node);
  return item ? textOf(item->data(kNameRole)) : std::string();
}

void TCheckListBoxUI::rename_(MemoNodeUI& node, std::string_view name) {
  TCheckListItem* item = itemOf(node);
  if (!item) return;
  const QSignalBlocker quiet(this);
  item->setData(kNameRole, bytesOf(name));
}

MemoNodeUI* TCheckListBoxUI::find_(std::string_view name, bool ignoreCase) const {
  for (int i = 0; i < count(); ++i) {
    if (sameName(textOf(item(i)->data(kNameRole)), name, ignoreCase)) return nodeAt_(i);
  }
  return nullptr;
}

void TCheckListBoxUI::remove_(MemoNodeUI& node) {
  const QSignalBlocker quiet(this);
  delete itemOf(node);
}

MemoNodeUI* TCheckListBoxUI::selectedNode() const {
  const auto* entry = static_cast<const TCheckListItem*>(currentItem());
  return entry && entry->isSelected() ? entry->node : nullptr;
}

void TCheckListBoxUI::select_(MemoNodeUI& node) {
  TCheckListItem* item = itemOf(node);
  if (!item) return;
  const QSignalBlocker quiet(this);
  setCurrentItem(item);
  scrollToItem(item);
}

void TCheckListBoxUI::insert_(MemoNodeUI& node, std::string_view name, int index) {
  const QSignalBlocker quiet(this);
  auto* item = new TCheckListItem(node, bytesOf(name));
  aItems.emplace(&node, item);
  insertItem(index >= 0 && index < count() ? index : count(), item);
}

int TCheckListBoxUI::countOfChecked() const {
  int checked = 0;
  for (int i = 0; i < count(); ++i) checked += item(i)->checkState() == Qt::Checked ? 1 : 0;
  return checked;
}

void TCheckListBoxUI::listChecked_(NodeList& list) const {
  for (int i = 0; i < count(); ++i) {
    if (item(i)->checkState() == Qt::Checked)
      list.emplace_back(textOf(item(i)->data(kNameRole)), nodeAt_(i));
  }
}

void TCheckListBoxUI::setChecked_(const MemoNodeUI& node, bool flag) {
  TCheckListItem* item = itemOf(node);
  if (!item) return;
  const QSignalBlocker quiet(this);
  item->setCheckState(flag ? Qt::Checked : Qt::Unchecked);
}

void TCheckListBoxUI::sortByName_(bool ascending) {
  const QSignalBlocker quiet(this);
  sortItems(ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

// --- the tree

TNodeTreeItem::TNodeTreeItem(MemoNodeUI& n, QByteArray name, bool link)
    : QTreeWidgetItem(UserType), node(&n), name_(std::move(name)), linked_(link) {
  if (link) n.aUITN = this;
}

TNodeTreeItem::~TNodeTreeItem() {
  if (linked_ && node->aUITN == this) node->aUITN = nullptr;
}

QVariant TNodeTreeItem::data(int column, int role) const {
  if (column != 0) return QTreeWidgetItem::data(column, role);
  if (role == kNameRole) return name_;
  if (isTextRole(role)) return shownText(name_);
  if (role != Qt::DecorationRole) return QTreeWidgetItem::data(column, role);
  const auto* view = dynamic_cast<const TNodesView*>(treeWidget());
  return view ? view->aImages.imageAt(imageIndex) : QVariant();
}

void TNodeTreeItem::setImageIndex_(int index) {
  imageIndex = index;
  emitDataChanged();
}

void TNodeTreeItem::setData(int column, int role, const QVariant& value) {
  if (column != 0 || role != kNameRole) return QTreeWidgetItem::setData(column, role, value);
  name_ = value.toByteArray();
  emitDataChanged();
}

TTreeViewUI::TTreeViewUI(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(1);
  setHeaderHidden(true);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Whatever moves items, here or in a drag, makes the tree order stale.
  const auto stale = [this] { orderStale_ = true; };
  QAbstractItemModel* items = model();
  connect(items, &QAbstractItemModel::rowsInserted, this, stale);
  connect(items, &QAbstractItemModel::rowsRemoved, this, stale);
  connect(items, &QAbstractItemModel::rowsMoved, this, stale);
  connect(items, &QAbstractItemModel::layoutChanged, this, stale);
  connect(items, &QAbstractItemModel::modelReset, this, stale);
}

// The model goes after this part of the view, telling its listeners.
TTreeViewUI::~TTreeViewUI() { disconnect(model(), nullptr, this, nullptr); }

QMimeData* TTreeViewUI::mimeData(const QList<QTreeWidgetItem*>& items) const {
  QMimeData* data = QTreeWidget::mimeData(items);
  if (data) markDragSource_(*data, *this);
  return data;
}

void TTreeViewUI::fill_(NodeSequence nodes, const ImageOf& imageOf) {
  const QSignalBlocker quiet(this);
  clearItems();
  // The links are read from a snapshot of every node before any item moves,
  // so a child listed before its parent still lands under it.
  std::vector<TreeLink> links;
  links.reserve(nodes.size());
  for (const SequenceEntry& entry : nodes)
    links.push_back({fieldValue(*entry.node, "UID"), fieldValue(*entry.node, "ParentNodeID")});
  const std::vector<int> parents = computeTreeParents_(links);

  std::vector<TNodeTreeItem*> items;
  items.reserve(nodes.size());
  for (SequenceEntry& entry : nodes) {
    auto* item = new TNodeTreeItem(*entry.node, std::move(entry.name), true);
    item->imageIndex = imageOf(*entry.node);
    items.push_back(item);
  }
  // Children are attached before anything is in the tree: no view is told.
  QList<QTreeWidgetItem*> roots;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (parents[i] < 0)
      roots.push_back(items[i]);
    else
      items[static_cast<std::size_t>(parents[i])]->addChild(items[i]);
  }
  addTopLevelItems(roots);
  expandParents(*this);
}

void TTreeViewUI::clearItems() {
  const QSignalBlocker quiet(this);
  clear();
}

void TTreeViewUI::listSequence_(NodeSequence& nodes) const {
  for (const TNodeTreeItem* item : order())
    nodes.push_back({item->data(0, kNameRole).toByteArray(), item->node});
}

const std::vector<TNodeTreeItem*>& TTreeViewUI::order() const {
  if (!orderStale_) return order_;
  order_.clear();
  for (QTreeWidgetItemIterator it(const_cast<TTreeViewUI*>(this)); *it; ++it) {
    auto* item = static_cast<TNodeTreeItem*>(*it);
    item->position = static_cast<int>(order_.size());
    order_.push_back(item);
  }
  orderStale_ = false;
  return order_;
}

int TTreeViewUI::count() const { return static_cast<int>(order().size()); }

MemoNodeUI* TTreeViewUI::nodeAt_(int index) const {
  const std::vector<TNodeTreeItem*>& items = order();
  return index >= 0 && index < static_cast<int>(items.size()) ? items[index]->node : nullptr;
}

int TTreeViewUI::indexOf_(const MemoNodeUI& node) const {
  if (!node.aUITN || node.aUITN->treeWidget() != this) return -1;
  order();
  return node.aUITN->position;
}

std::string TTreeViewUI::nameOf_(const MemoNodeUI& node) const {
  return node.aUITN && node.aUITN->treeWidget() == this ? nameOfItem_(*node.aUITN) : std::string();
}

void TTreeViewUI::rename_(MemoNodeUI& node, std::string_view name) {
  if (!node.aUITN || node.aUITN->treeWidget() != this) return;
  const QSignalBlocker quiet(this);
  node.aUITN->setData(0, kNameRole, bytesOf(name));
}

MemoNodeUI* TTreeViewUI::find_(std::string_view name, bool ignoreCase) const {
  for (QTreeWidgetItemIterator it(const_cast<TTreeViewUI*>(this)); *it; ++it) {
    if (sameName(nameOfItem_(**it), name, ignoreCase))
      return static_cast<TNodeTreeItem*>(*it)->node;
  }
  return nullptr;
}

void TTreeViewUI::remove_(MemoNodeUI& node) {
  TNodeTreeItem* item = node.aUITN;
  if (!item || item->treeWidget() != this) return;
  const QSignalBlocker quiet(this);
  liftChildren_(item);
  delete item;
}

MemoNodeUI* TTreeViewUI::selectedNode() const {
  const auto* item = static_cast<const TNodeTreeItem*>(currentItem());
  return item && item->isSelected() ? item->node : nullptr;
}

void TTreeViewUI::select_(MemoNodeUI& node) {
  if (!node.aUITN || node.aUITN->treeWidget() != this) return;
  const QSignalBlocker quiet(this);
  setCurrentItem(node.aUITN);
  scrollToItem(node.aUITN);
}

TNodeTreeItem* TTreeViewUI::appendSibling_(MemoNodeUI& node, std::string_view name,
                                           QTreeWidgetItem* sibling) {
  auto* item = new TNodeTreeItem(node, bytesOf(name), true);
  QTreeWidgetItem* parent = sibling && sibling->parent() ? sibling->parent() : invisibleRootItem();
  const QSignalBlocker quiet(this);
  parent->addChild(item);
  return item;
}

TNodeTreeItem* TTreeViewUI::insertAfter_(MemoNodeUI& node, std::string_view name,
                                         QTreeWidgetItem* anchor) {
  if (!anchor || anchor->treeWidget() != this) return appendSibling_(node, name, nullptr);
  auto* item = new TNodeTreeItem(node, bytesOf(name), true);
  placeAfter_(item, anchor);
  return item;
}

// --- the list

TSjisItem::TSjisItem(QByteArray text) : text_(std::move(text)) {}

QVariant TSjisItem::data(int role) const {
  if (role == kNameRole) return text_;
  return isTextRole(role) ? shownText(text_) : QStandardItem::data(role);
}

void TSjisItem::setData(const QVariant& value, int role) {
  if (role != kNameRole) return QStandardItem::setData(value, role);
  text_ = value.toByteArray();
  emitDataChanged();
}

TNodeListItem::TNodeListItem(MemoNodeUI& n, QByteArray name)
    : TSjisItem(std::move(name)), node(&n) {
  n.aUIItem = this;
}

TNodeListItem::~TNodeListItem() {
  if (node->aUIItem == this) node->aUIItem = nullptr;
}

QVariant TNodeListItem::data(int role) const {
  if (role != Qt::DecorationRole) return TSjisItem::data(role);
  const auto* view = model() ? dynamic_cast<const TNodesView*>(model()->parent()) : nullptr;
  return view ? view->aImages.imageAt(imageIndex) : QVariant();
}

void TNodeListItem::setImageIndex_(int index) {
  imageIndex = index;
  emitDataChanged();
}

TListViewUI::TListViewUI(QWidget* parent)
    : QStackedWidget(parent),
      aModel(new QStandardItemModel(this)),
      aReport(new QTreeView(this)),
      aIcons(new QListView(this)) {
  aReport->setModel(aModel);
  aReport->setRootIsDecorated(false);
  aReport->setItemsExpandable(false);
  aReport->setUniformRowHeights(true);
  aIcons->setModel(aModel);
  aIcons->setSelectionModel(aReport->selectionModel());  // one selection for both styles
  aIcons->setUniformItemSizes(true);
  for (QAbstractItemView* view :
       {static_cast<QAbstractItemView*>(aReport), static_cast<QAbstractItemView*>(aIcons)}) {
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    addWidget(view);
  }
  aReport->setSelectionBehavior(QAbstractItemView::SelectRows);
  connect(aReport->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &TListViewUI::nodeSelectionChanged);
  setColumns_({{"name", 200}});
  setViewStyle_(ListStyle::Report);
}

void TListViewUI::fill_(NodeSequence nodes, const ImageOf& imageOf) {
  const QSignalBlocker quiet(this);
  clearItems();
  QList<QStandardItem*> rows;
  rows.reserve(static_cast<qsizetype>(nodes.size()));
  for (SequenceEntry& entry : nodes) {
    auto* item = new TNodeListItem(*entry.node, std::move(entry.name));
    item->imageIndex = imageOf(*entry.node);
    rows.push_back(item);
  }
  aModel->invisibleRootItem()->appendRows(rows);
}

void TListViewUI::clearItems() {
  const QSignalBlocker quiet(this);
  aModel->removeRows(0, aModel->rowCount());
}

void TListViewUI::listSequence_(NodeSequence& nodes) const {
  for (int i = 0; i < count(); ++i) {
    const auto* item = static_cast<const TNodeListItem*>(aModel->item(i, 0));
    nodes.push_back({item->data(kNameRole).toByteArray(), item->node});
  }
}

int TListViewUI::count() const { return aModel->rowCount(); }

MemoNodeUI* TListViewUI::nodeAt_(int index) const {
  const auto* item = static_cast<const TNodeListItem*>(aModel->item(index, 0));
  return item ? item->node : nullptr;
}

int TListViewUI::indexOf_(const MemoNodeUI& node) const {
  return node.aUIItem && node.aUIItem->model() == aModel ? node.aUIItem->row() : -1;
}

std::string TListViewUI::nameOf_(const MemoNodeUI& node) const {
  return indexOf_(node) >= 0 ? textOf(node.aUIItem->data(kNameRole)) : std::string();
}

void TListViewUI::rename_(MemoNodeUI& node, std::string_view name) {
  if (indexOf_(node) >= 0) node.aUIItem->setData(bytesOf(name), kNameRole);
}

MemoNodeUI* TListViewUI::find_(std::string_view name, bool ignoreCase) const {
  for (int i = 0; i < count(); ++i) {
    if (sameName(textOf(aModel->item(i, 0)->data(kNameRole)), name, ignoreCase)) return nodeAt_(i);
  }
  return nullptr;
}

void TListViewUI::remove_(MemoNodeUI& node) {
  const int row = indexOf_(node);
  if (row < 0) return;
  const QSignalBlocker quiet(this);
  aModel->removeRow(row);
}

MemoNodeUI* TListViewUI::selectedNode() const {
  const QModelIndexList selected = aReport->selectionModel()->selectedIndexes();
  return selected.isEmpty() ? nullptr : nodeAt_(selected.first().row());
}

void TListViewUI::select_(MemoNodeUI& node) {
  const int row = indexOf_(node);
  if (row < 0) return;
  const QSignalBlocker quiet(this);
  const QModelIndex index = aModel->index(row, 0);
  aReport->selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  static_cast<QAbstractItemView*>(currentWidget())->scrollTo(index);
}

void TListViewUI::insert_(MemoNodeUI& node, std::string_view name, int index) {
  const QSignalBlocker quiet(this);
  aModel->insertRow(index >= 0 && index < count() ? index : count(),
                    new TNodeListItem(node, bytesOf(name)));
}

void TListViewUI::setColumns_(const std::vector<std::pair<std::string, int>>& columns) {
  aModel->setColumnCount(static_cast<int>(columns.size()));
  for (std::size_t c = 0; c < columns.size(); ++c) {
    aModel->setHorizontalHeaderItem(static_cast<int>(c), new TSjisItem(bytesOf(columns[c].first)));
    aReport->setColumnWidth(static_cast<int>(c), columns[c].second);
  }
}

int TListViewUI::countOfColumns() const { return aModel->columnCount(); }

std::string TListViewUI::columnCaption(int column) const {
  const QStandardItem* header = aModel->horizontalHeaderItem(column);
  return header ? textOf(header->data(kNameRole)) : std::string();
}

void TListViewUI::setSubItems_(MemoNodeUI& node, const StringList& texts) {
  const int row = indexOf_(node);
  if (row < 0) return;
  for (std::size_t c = 0; c < texts.size(); ++c)
    aModel->setItem(row, static_cast<int>(c) + 1, new TSjisItem(bytesOf(texts[c])));
}

std::string TListViewUI::subItemText(int row, int column) const {
  const QStandardItem* item = aModel->item(row, column);
  return item ? textOf(item->data(kNameRole)) : std::string();
}

void TListViewUI::setViewStyle_(ListStyle style) {
  aStyle = style;
  if (style == ListStyle::Report) {
    if (countOfColumns() == 0) setColumns_({{"name", width()}});
    setCurrentWidget(aReport);
    return;
  }
  aIcons->setViewMode(style == ListStyle::Icon ? QListView::IconMode : QListView::ListMode);
  aIcons->setFlow(style == ListStyle::List ? QListView::TopToBottom : QListView::LeftToRight);
  aIcons->setWrapping(true);
  setCurrentWidget(aIcons);
}

ListStyle TListViewUI::viewStyle() const { return aStyle; }

}  // namespace vrk
