#pragma once
// The three views of a holder's nodes: the check list, the tree and the list.
// Items keep their node's name as Shift_JIS bytes (kNameRole) and derive the
// text they show; each item carries its node, and the node its item.
#include <QIcon>
#include <QListWidget>
#include <QListWidgetItem>
#include <QStackedWidget>
#include <QStandardItem>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/MemoHolder.h"
#include "text/StringList.h"
#include "text/Basic.h"

class QListView;
class QMimeData;
class QStandardItemModel;
class QTreeView;

namespace vrk {

class MemoNodeUI;

constexpr int kNameRole = Qt::UserRole;  // QByteArray of the Shift_JIS name

// The name a tree item keeps.
std::string nameOfItem_(const QTreeWidgetItem& item);

// A drag of a view's items carries the view it started from, so that a drop
// can tell that view's own items from anything else dropped on it. Only the
// address is kept: it is compared, never followed.
void markDragSource_(QMimeData& data, const QWidget& view);
bool isDraggedFrom_(const QMimeData& data, const QWidget& view);

// A node with its name as its item keeps it, in the order of a view.
struct SequenceEntry {
  QByteArray name;
  MemoNodeUI* node;
};
using NodeSequence = std::vector<SequenceEntry>;

// The index of the image an item shows for its node; -1 shows none.
using ImageOf = std::function<int(const MemoNodeUI&)>;

// The images of a view's items, by index. While it holds images, an item
// without one shows a blank of their size, so that the names line up.
class TImageList {
 public:
  void assign_(const std::vector<QIcon>& images);
  QVariant imageAt(int index) const;  // nothing without images
  bool empty() const { return images_.empty(); }

 private:
  std::vector<QIcon> images_;
  QIcon blank_;
};

// What a holder asks of the view of its mode. Positions count in the view's
// order (tree order for the tree); a node without an item answers -1 or "".
class TNodesView {
 public:
  virtual ~TNodesView() = default;

  virtual QWidget* widget() = 0;
  // Clears, then one item per entry, in this order. The items take the names.
  virtual void fill_(NodeSequence nodes, const ImageOf& imageOf) = 0;
  virtual void clearItems() = 0;
  virtual void listSequence_(NodeSequence& nodes) const = 0;  // appends, in order
  virtual int count() const = 0;
  virtual MemoNodeUI* nodeAt_(int index) const = 0;  // null outside
  virtual int indexOf_(const MemoNodeUI& node) const = 0;
  virtual std::string nameOf_(const MemoNodeUI& node) const = 0;
  virtual void rename_(MemoNodeUI& node, std::string_view name) = 0;
  // The first item in order whose name equals name.
  virtual MemoNodeUI* find_(std::string_view name, bool ignoreCase) const = 0;
  virtual void remove_(MemoNodeUI& node) = 0;
  // The node of the selected item; null when none is selected.
  virtual MemoNodeUI* selectedNode() const = 0;
  // Selects the node's item without telling the view's listeners.
  virtual void select_(MemoNodeUI& node) = 0;

  void setColour_(Colour colour);  // the background

  TImageList aImages;  // shown by the tree and the list
};

// --- the check list

// Name and check live in members rather than in the item's role list: a
// role list of its own for each of 100,000 items is what makes filling slow.
// The check starts as the node's mark, read when first asked for: a fill
// touches no node, whose memory lies scattered.
class TCheckListItem : public QListWidgetItem {
 public:
  TCheckListItem(MemoNodeUI& node, QByteArray name);
  ~TCheckListItem() override;  // leaves its list's index

  MemoNodeUI* const node;

  QVariant data(int role) const override;
  void setData(int role, const QVariant& value) override;
  // The model's sort order: names with single-byte letters lower-cased, then
  // the position, so that equal names keep their order.
  bool operator<(const QListWidgetItem& other) const override;

 private:
  QByteArray name_;
  mutable std::optional<Qt::CheckState> check_;
};

class TCheckListBoxUI : public QListWidget, public TNodesView {
 public:
  explicit TCheckListBoxUI(QWidget* parent = nullptr);

  QWidget* widget() override { return this; }
  void fill_(NodeSequence nodes, const ImageOf& imageOf) override;
  void clearItems() override;
  void listSequence_(NodeSequence& nodes) const override;
  int count() const override;
  MemoNodeUI* nodeAt_(int index) const override;
  int indexOf_(const MemoNodeUI& node) const override;
  std::string nameOf_(const MemoNodeUI& node) const override;
  void rename_(MemoNodeUI& node, std::string_view name) override;
  MemoNodeUI* find_(std::string_view name, bool ignoreCase) const override;
  void remove_(MemoNodeUI& node) override;
  MemoNodeUI* selectedNode() const override;
  void select_(MemoNodeUI& node) override;

  // Before index; an index outside the list appends. Checked when the node
  // is marked.
  void insert_(MemoNodeUI& node, std::string_view name, int index);
  int countOfChecked() const;
  void listChecked_(NodeList& list) const;  // appends, in order
  void setChecked_(const MemoNodeUI& node, bool flag);
  void sortByName_(bool ascending);                      // descending reverses the ascending order
  TCheckListItem* itemOf(const MemoNodeUI& node) const;  // null when not listed

 protected:
  QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;

 private:
  friend class TCheckListItem;
  // The node's item, kept here rather than in the node.
  std::unordered_map<const MemoNodeUI*, TCheckListItem*> aItems;
};

// --- the tree

class TNodeTreeItem : public QTreeWidgetItem {
 public:
  // A linked item is its node's aUITN; copies of items are not.
  TNodeTreeItem(MemoNodeUI& node, QByteArray name, bool link);
  ~TNodeTreeItem() override;

  MemoNodeUI* const node;
  int position = -1;    // in tree order, kept by TTreeViewUI
  int imageIndex = -1;  // in its view's image list

  QVariant data(int column, int role) const override;
  void setData(int column, int role, const QVariant& value) override;
  void setImageIndex_(int index);

 private:
  QByteArray name_;
  bool linked_;
};

class TTreeViewUI : public QTreeWidget, public TNodesView {
 public:
  explicit TTreeViewUI(QWidget* parent = nullptr);
  ~TTreeViewUI() override;

  QWidget* widget() override { return this; }
  // The outline from each node's UID and ParentNodeID, children in sequence
  // order; parents are expanded unless their FlagExpanded is "false".
  void fill_(NodeSequence nodes, const ImageOf& imageOf) override;
  void clearItems() override;
  void listSequence_(NodeSequence& nodes) const override;
  int count() const override;
  MemoNodeUI* nodeAt_(int index) const override;
  int indexOf_(const MemoNodeUI& node) const override;
  std::string nameOf_(const MemoNodeUI& node) const override;
  void rename_(MemoNodeUI& node, std::string_view name) override;
  MemoNodeUI* find_(std::string_view name, bool ignoreCase) const override;
  // Its children take its place, so that no listed node loses its item.
  void remove_(MemoNodeUI& node) override;
  MemoNodeUI* selectedNode() const override;
  void select_(MemoNodeUI& node) override;

  // The last sibling of sibling's item; the last top-level item without one.
  TNodeTreeItem* appendSibling_(MemoNodeUI& node, std::string_view name, QTreeWidgetItem* sibling);
  // The next sibling of anchor (placeAfter_); the last top-level item without one.
  TNodeTreeItem* insertAfter_(MemoNodeUI& node, std::string_view name, QTreeWidgetItem* anchor);

 protected:
  QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;

 private:
  // Tree order, built on first need after any change of the model.
  const std::vector<TNodeTreeItem*>& order() const;

  mutable std::vector<TNodeTreeItem*> order_;
  mutable bool orderStale_ = true;
};

// --- the list: a report and an icon list over one item model

class TSjisItem : public QStandardItem {
 public:
  explicit TSjisItem(QByteArray text);
  QVariant data(int role) const override;
  void setData(const QVariant& value, int role) override;

 private:
  QByteArray text_;
};

class TNodeListItem : public TSjisItem {
 public:
  TNodeListItem(MemoNodeUI& node, QByteArray name);
  ~TNodeListItem() override;

  MemoNodeUI* const node;
  int imageIndex = -1;  // in its view's image list

  QVariant data(int role) const override;
  void setImageIndex_(int index);
};

enum class ListStyle { Icon, SmallIcon, List, Report };

class TListViewUI : public QStackedWidget, public TNodesView {
  Q_OBJECT

 public:
  explicit TListViewUI(QWidget* parent = nullptr);

  QWidget* widget() override { return this; }
  void fill_(NodeSequence nodes, const ImageOf& imageOf) override;
  void clearItems() override;
  void listSequence_(NodeSequence& nodes) const override;
  int count() const override;
  MemoNodeUI* nodeAt_(int index) const override;
  int indexOf_(const MemoNodeUI& node) const override;
  std::string nameOf_(const MemoNodeUI& node) const override;
  void rename_(MemoNodeUI& node, std::string_view name) override;
  MemoNodeUI* find_(std::string_view name, bool ignoreCase) const override;
  void remove_(MemoNodeUI& node) override;
  MemoNodeUI* selectedNode() const override;
  void select_(MemoNodeUI& node) override;

  void insert_(MemoNodeUI& node, std::string_view name, int index);  // outside: appends

  // Captions (Shift_JIS) and widths in pixels; the first column is the name.
  void setColumns_(const std::vector<std::pair<std::string, int>>& columns);
  int countOfColumns() const;
  std::string columnCaption(int column) const;
  // The texts of the columns after the first, for the node's row.
  void setSubItems_(MemoNodeUI& node, const StringList& texts);
  std::string subItemText(int row, int column) const;

  void setViewStyle_(ListStyle style);  // Report gets a "name" column when it has none
  ListStyle viewStyle() const;
  QTreeView* report() const { return aReport; }
  QListView* icons() const { return aIcons; }

 signals:
  // The user changed which item is selected.
  void nodeSelectionChanged();

 private:
  QStandardItemModel* aModel;
  QTreeView* aReport;
  QListView* aIcons;
  ListStyle aStyle = ListStyle::Report;
};

}  // namespace vrk
