#pragma once
// The holder the window shows. Once its first view is built, the order of its
// nodes lives in the view of its mode (ModeNodesMngr): every node-collection
// operation answers from that view, while the nodes themselves stay owned by
// the model's list (aNodes), which keeps their names but no longer their order.
// Only the view of the current mode holds items.
#include <QCursor>
#include <QIcon>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/MemoHolder.h"
#include "shell/MemoNodeUI.h"
#include "shell/NodeViews.h"
#include "text/LocalTime.h"

namespace vrk {

enum class NodesMode { Nodes, CheckListBox, TreeView, ListView };

// The mode of an unquoted ModeNodesMngr value; anything unknown is Nodes.
NodesMode nodesModeOf_(std::string_view mode);
std::string nodesModeName_(NodesMode mode);

class MemoHolderUI : public MemoHolder {
 public:
  using MemoHolder::MemoHolder;
  ~MemoHolderUI() override;

  // Set by the first view built: from then on the view of the mode keeps the order.
  bool flagViewsActive = false;
  // Made on first use, owned by the holder (parented on the panel that shows them).
  QPointer<TTreeViewUI> aUITV;
  QPointer<TCheckListBoxUI> aUILB;
  QPointer<TListViewUI> aUILV;
  // From the icon nodes: the images, and one "key=index" line per icon node.
  // Images are used only when there is one per icon node.
  std::vector<QIcon> aIconImages;
  StringList aIconKeys;

  // --- overrides of MemoHolder
  // The views and icons go, then the model's clear.
  int clear() override;
  std::string getNameChild_(const TObjectNamed* child) const override;
  // In a view: the name as given (not empty), the check list re-sorted when
  // the holder keeps its nodes sorted.
  std::string putNameChild_as_(TObjectNamed* child, std::string_view name) override;
  std::unique_ptr<TObjectNamed> deepCopy() const override;
  std::unique_ptr<MemoNode> createNode() override;
  std::unique_ptr<MemoNode> removeNode_(MemoNode* node) override;
  // The model's check; in tree mode every child's ParentNodeID then follows
  // its parent item's UID ("ParentNodeID:" + name logged for each repair).
  void checkUID_(StringList* log) override;
  // Unique among the check list's names; unchanged in the tree and the list.
  std::string uniqueNodeName_(std::string_view name) const override;
  int countOfNodes() const override;
  // The check list counts its ticks, the other views their nodes' marks.
  int countOfMarked() const override;
  void listMarked_(NodeList& list) const override;
  void setNodeList_(NodeList& list) const override;
  int indexOfNode_(const MemoNode* node) const override;
  MemoNode* nodeAt_(int index) const override;
  // The check list ignores letter case; the tree and the list compare exactly.
  MemoNode* findNode_(std::string_view name) override;
  // Tree: the last sibling of the current node's item (top level without
  // one), selected, its ParentNodeID following its parent item. Check list
  // and list: appended. Tree and list show the node's icon.
  int addNode_(std::unique_ptr<MemoNode> node, std::string_view name) override;
  // Tree: the next sibling of the current node's item, as addNode_ otherwise
  // (index unused). Check list and list: before index.
  int insertNode_(std::unique_ptr<MemoNode> node, std::string_view name, int index) override;
  // The node of the selected item; the recorded current node when none is.
  MemoNode* getCurNode() const override;
  int putCurNode_(MemoNode* node) override;  // also selects its item
  void putColor_(Colour colour) override;    // also the view's background

  // --- views
  NodesMode getMode() const;  // ModeNodesMngr, unquoted
  // Makes the view of mode (on panel, on first use) and fills it from the
  // current sequence: the model's list before any view, else the view of the
  // current mode. The mode becomes mode; null for Nodes. When the view of the
  // current mode is gone, the view is answered as it is.
  QWidget* buildView_(NodesMode mode, QWidget* panel);
  QWidget* getView() const;  // of the current mode; null for Nodes
  void showView();           // shown and enabled
  void hideView();           // hidden and disabled
  void mouseCursor_(const QCursor& cursor);

  // The index a node's icon field names: a number, or a key of aIconKeys;
  // -1 for anything else.
  int iconIndexOf_(const MemoNode& node) const;

  // Appends a title line, then one line per node name, or in list mode the
  // column header and each row's columns after the name. Answers the lines
  // after the title (stamped with the clock's time); -1 for an unknown mode.
  int exportList_(StringList& lines, const Clock& clock) const;
  // A deep copy of source under its name at the current node's place (at the
  // end without one), with a fresh UID; the holder counts as changed.
  MemoNode* cloneInHolder_(const MemoNode& source);
  // Closes every node's own window; answers the number of nodes.
  int closeNodeWindows();

 private:
  TNodesView* existingView(NodesMode mode) const;      // null for Nodes and before it is made
  TNodesView* currentView() const;                     // while views are active; null when gone
  TNodesView* viewOf(NodesMode mode, QWidget* panel);  // made on first use
  void destroyViews();
  void rebuildIcons(const NodeSequence& nodes);
  void showIcon(MemoNodeUI& node);
  // Lists node in aNodes under the name as given; the view places it.
  MemoNodeUI& adopt(std::unique_ptr<MemoNode> node, std::string_view name);
  // Into the view of the mode: appended without index, else inserted there.
  void placeNode(MemoNodeUI& node, std::string_view name, std::optional<int> index);

  NodesMode aViewMode = NodesMode::Nodes;  // of the view that keeps the order
};

}  // namespace vrk
