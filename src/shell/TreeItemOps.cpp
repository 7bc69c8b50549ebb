#include "shell/TreeItemOps.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <algorithm>
#include <vector>

#include "shell/NodeViews.h"
#include "shell/MemoNodeUI.h"
#include "text/Format.h"

namespace vrk {
namespace {

constexpr qint64 kProgressMs = 500;

// Top-level items have no parent item: their list is the tree's root item.
QTreeWidgetItem* parentOrRoot(QTreeWidgetItem* item) {
  if (item->parent()) return item->parent();
  return item->treeWidget() ? item->treeWidget()->invisibleRootItem() : nullptr;
}

bool isSelfOrBelow(const QTreeWidgetItem* item, const QTreeWidgetItem* top) {
  for (; item; item = item->parent())
    if (item == top) return true;
  return false;
}

void detach(QTreeWidgetItem* item) {
  if (QTreeWidgetItem* parent = parentOrRoot(item)) parent->takeChild(parent->indexOfChild(item));
}

// Taking items out of a tree forgets which of them were expanded: moves run
// through here, silently, and expand those items again afterwards.
template <class Move>
void moveKeepingExpansion(QTreeWidget* tree, std::vector<QTreeWidgetItem*> moved, Move&& move) {
  const QSignalBlocker quiet(tree);
  std::vector<QTreeWidgetItem*> expanded;
  while (!moved.empty()) {
    QTreeWidgetItem* item = moved.back();
    moved.pop_back();
    if (item->isExpanded()) expanded.push_back(item);
    for (int i = 0; i < item->childCount(); ++i) moved.push_back(item->child(i));
  }
  move();
  for (QTreeWidgetItem* item : expanded) item->setExpanded(true);
}

int setChildrenExpanded(QTreeWidgetItem* item, bool recurse, bool expand) {
  int changed = 0;
  std::vector<QTreeWidgetItem*> parents{item};
  while (!parents.empty()) {
    QTreeWidgetItem* parent = parents.back();
    parents.pop_back();
    for (int i = 0; i < parent->childCount(); ++i) {
      QTreeWidgetItem* child = parent->child(i);
      if (child->childCount() == 0) continue;
      if (child->isExpanded() != expand) {
        child->setExpanded(expand);
        ++changed;
      }
      if (recurse) parents.push_back(child);
    }
  }
  return changed;
}

std::string progressLine(QTreeWidgetItem* item, const QTreeWidgetItem* from) {
  const std::string name = nameOfItem_(*item);
  if (item->parent() == from) return outlineNumber_(item, 1, "", name);
  return "Level=" + std::to_string(levelOf_(item)) + "-" +
         std::to_string(item->parent()->indexOfChild(item)) + " " + name;
}

QTreeWidgetItem* atSameLevel(QTreeWidgetItem* item, bool forward) {
  if (!item || !item->treeWidget()) return nullptr;
  const int level = levelOf_(item);
  QTreeWidgetItemIterator it(item);
  const auto step = [&] {
    if (forward)
      ++it;
    else
      --it;
  };
  for (step(); *it; step())
    if (levelOf_(*it) == level) return *it;
  return nullptr;
}

// Beside anchor, offset 0 before it, 1 after it.
void placeBeside(QTreeWidgetItem* item, QTreeWidgetItem* anchor, int offset) {
  if (!item || !anchor || !anchor->treeWidget() || isSelfOrBelow(anchor, item)) return;
  moveKeepingExpansion(anchor->treeWidget(), {item}, [&] {
    detach(item);
    QTreeWidgetItem* parent = parentOrRoot(anchor);
    parent->insertChild(parent->indexOfChild(anchor) + offset, item);
  });
}

}  // namespace

void placeAfter_(QTreeWidgetItem* item, QTreeWidgetItem* anchor) { placeBeside(item, anchor, 1); }

void placeBefore_(QTreeWidgetItem* item, QTreeWidgetItem* anchor) { placeBeside(item, anchor, 0); }

int levelOf_(const QTreeWidgetItem* item) {
  int level = 0;
  for (const QTreeWidgetItem* up = item->parent(); up; up = up->parent()) ++level;
  return level;
}

bool isSelfOrBelow_(const QTreeWidgetItem* item, const QTreeWidgetItem* top) {
  return isSelfOrBelow(item, top);
}

void placeUnder_(QTreeWidgetItem* item, QTreeWidgetItem* parent) {
  if (!item || !parent || isSelfOrBelow(parent, item)) return;
  if (item->parent() == parent && parent->indexOfChild(item) == parent->childCount() - 1) return;
  moveKeepingExpansion(parent->treeWidget(), {item}, [&] {
    detach(item);
    parent->addChild(item);
  });
}

void liftChildren_(QTreeWidgetItem* item) {
  QTreeWidgetItem* parent = parentOrRoot(item);
  if (!parent || item->childCount() == 0) return;
  std::vector<QTreeWidgetItem*> children;
  for (int i = 0; i < item->childCount(); ++i) children.push_back(item->child(i));
  moveKeepingExpansion(item->treeWidget(), children, [&] {
    const QList<QTreeWidgetItem*> taken = item->takeChildren();
    parent->insertChildren(parent->indexOfChild(item) + 1, taken);
  });
}

int expandChildren_(QTreeWidgetItem* item, bool recurse) {
  return setChildrenExpanded(item, recurse, true);
}

int collapseChildren_(QTreeWidgetItem* item, bool recurse) {
  return setChildrenExpanded(item, recurse, false);
}

int copySubtree_(QTreeWidgetItem* from, QTreeWidgetItem* to, bool selectedOnly,
                 const TreeProgress& progress) {
  if (!from || !to || isSelfOrBelow(to, from)) return 0;  // it would copy its own copies
  QElapsedTimer sinceProgress;
  sinceProgress.start();
  int copied = 0;
  std::vector<std::pair<QTreeWidgetItem*, QTreeWidgetItem*>> parents{{from, to}};
  while (!parents.empty()) {
    const auto [source, target] = parents.back();
    parents.pop_back();
    for (int i = 0; i < source->childCount(); ++i) {
      auto* child = static_cast<TNodeTreeItem*>(source->child(i));
      if (selectedOnly && source == from && !child->isSelected()) continue;
      auto* copy = new TNodeTreeItem(*child->node, child->data(0, kNameRole).toByteArray(), false);
      target->addChild(copy);
      parents.emplace_back(child, copy);
      ++copied;
      if (sinceProgress.elapsed() >= kProgressMs) {
        QCoreApplication::processEvents();
        if (progress) progress(progressLine(child, from));
        sinceProgress.restart();
      }
    }
  }
  return copied;
}

void descendants_(QTreeWidgetItem* item, NodeList& list) {
  std::vector<QTreeWidgetItem*> pending;
  const auto pushChildren = [&](QTreeWidgetItem* parent) {
    for (int i = parent->childCount() - 1; i >= 0; --i) pending.push_back(parent->child(i));
  };
  pushChildren(item);
  while (!pending.empty()) {
    QTreeWidgetItem* next = pending.back();
    pending.pop_back();
    list.emplace_back(nameOfItem_(*next), static_cast<TNodeTreeItem*>(next)->node);
    pushChildren(next);
  }
}

QTreeWidgetItem* prevAtLevel_(QTreeWidgetItem* item) { return atSameLevel(item, false); }

QTreeWidgetItem* nextAtLevel_(QTreeWidgetItem* item) { return atSameLevel(item, true); }

void reverseChildren_(QTreeWidgetItem* item) {
  std::vector<QTreeWidgetItem*> children;
  for (int i = 0; i < item->childCount(); ++i) children.push_back(item->child(i));
  moveKeepingExpansion(item->treeWidget(), children, [&] {
    QList<QTreeWidgetItem*> taken = item->takeChildren();
    std::reverse(taken.begin(), taken.end());
    item->insertChildren(0, taken);
  });
}

std::string outlineNumber_(QTreeWidgetItem* item, int base, std::string_view format,
                           std::string_view suffix) {
  std::vector<int> positions;
  for (QTreeWidgetItem* up = item; up; up = up->parent()) {
    QTreeWidgetItem* parent = parentOrRoot(up);
    positions.push_back(parent ? parent->indexOfChild(up) : 0);
  }
  std::string out;
  for (auto position = positions.rbegin(); position != positions.rend(); ++position) {
    if (position != positions.rbegin()) out += "/";
    const int number = *position + base;
    out += format.empty() ? std::to_string(number)
                          : formatInteger_(format, number).value_or("*EConvertError*");
  }
  if (!suffix.empty()) out.append(" ").append(suffix);
  return out;
}

}  // namespace vrk
