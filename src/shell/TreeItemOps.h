#pragma once
// Operations on tree items that the holder frame, the node editor and the node
// commands share. Walks are iterative: an outline may be deep.
#include <QTreeWidgetItem>
#include <functional>
#include <string>
#include <string_view>

#include "model/MemoHolder.h"

namespace vrk {

// Depth below the top level (0 there).
int levelOf_(const QTreeWidgetItem* item);
// True when item is top itself or lies in top's subtree.
bool isSelfOrBelow_(const QTreeWidgetItem* item, const QTreeWidgetItem* top);

// Moves item to follow anchor as its next sibling (a new item is placed
// there). Nothing happens when anchor is item or lies below it. Expanded
// items of the moved subtree are expanded again.
void placeAfter_(QTreeWidgetItem* item, QTreeWidgetItem* anchor);
// Moves item to precede anchor as its previous sibling, under the same rule.
void placeBefore_(QTreeWidgetItem* item, QTreeWidgetItem* anchor);
// Moves item to be the last child of parent, keeping expansion as placeAfter_.
void placeUnder_(QTreeWidgetItem* item, QTreeWidgetItem* parent);
// Moves item's children, in order and with their expansion, to follow item.
void liftChildren_(QTreeWidgetItem* item);

// Expands (collapses) each child that has children and is collapsed
// (expanded); with recurse, the whole subtree. Answers how many changed.
int expandChildren_(QTreeWidgetItem* item, bool recurse);
int collapseChildren_(QTreeWidgetItem* item, bool recurse);

// Copies of the items below from (name and node, not linked to the node) as
// children of to, in order; with selectedOnly only the selected children of
// from and their subtrees. Every 500 ms pending events run and progress gets
// a line. Answers the number of items copied.
using TreeProgress = std::function<void(const std::string& line)>;
int copySubtree_(QTreeWidgetItem* from, QTreeWidgetItem* to, bool selectedOnly,
                 const TreeProgress& progress);

// Appends name and node of every item after item in tree order up to the next
// item that is not deeper than it: its subtree.
void descendants_(QTreeWidgetItem* item, NodeList& list);

// The nearest item before (after) item in tree order at item's level.
QTreeWidgetItem* prevAtLevel_(QTreeWidgetItem* item);
QTreeWidgetItem* nextAtLevel_(QTreeWidgetItem* item);

void reverseChildren_(QTreeWidgetItem* item);

// The positions of item and its ancestors, each plus base, formatted by
// format (decimal when empty), joined with "/" from the top; then a blank and
// suffix when suffix is not empty. A format the checked formatter refuses
// gives "*EConvertError*" in place of each number.
std::string outlineNumber_(QTreeWidgetItem* item, int base, std::string_view format,
                           std::string_view suffix);

}  // namespace vrk
