#pragma once
// The node the window shows: a memo node that knows its items in its holder's
// views and its own node window.
#include <QPointer>
#include <QWidget>
#include <memory>

#include "model/MemoNode.h"

namespace vrk {

class TNodeListItem;
class TNodeTreeItem;

class MemoNodeUI : public MemoNode {
 public:
  using MemoNode::MemoNode;

  // Set by the view that lists the node and cleared by the item when it goes,
  // so a link never outlives its item. (The check list keeps its own index.)
  TNodeTreeItem* aUITN = nullptr;    // in the holder's tree view
  TNodeListItem* aUIItem = nullptr;  // in the holder's list view
  QPointer<QWidget> aNodeForm;       // its own node window, while one is open

  // Clearing (inherited) empties the record only: the items keep their node,
  // so the node keeps its place in the view.
  std::unique_ptr<MemoNode> cloneNode() const override;
  // Refused (nothing changes) when parent is this node or lies below it. The
  // model's ParentNodeID, then the tree item moves to be the parent item's
  // last child when both have tree items.
  void setParentNode_(MemoNode* parent) override;
  // Depth of the tree item (0 at top level); -1 without one.
  int getLevel() const override;
  // The parent tree item's node; the model's answer without a tree item.
  MemoNode* getParentNode() const override;
  // Also ticks the node's item in its holder's check list.
  void putMarked_(bool flag) override;

  // FlagConfirmOverwrite, trimmed; empty counts as "true".
  bool isConfirmOverwrite() const;
};

}  // namespace vrk
