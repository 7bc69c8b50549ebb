#include "shell/MemoNodeUI.h"

#include <unordered_set>

#include "shell/NodeViews.h"
#include "shell/TreeItemOps.h"
#include "shell/MemoHolderUI.h"
#include "text/CharEX.h"

namespace vrk {

std::unique_ptr<MemoNode> MemoNodeUI::cloneNode() const {
  auto copy = std::make_unique<MemoNodeUI>(aOwner);
  copy->assign_(*this);
  return copy;
}

void MemoNodeUI::setParentNode_(MemoNode* parent) {
  // This node on the parent's way up means the parent lies below it.
  std::unordered_set<const MemoNode*> seen;
  for (const MemoNode* up = parent; up && seen.insert(up).second; up = up->getParentNode())
    if (up == this) return;
  MemoNode::setParentNode_(parent);
  const auto* parentUI = dynamic_cast<const MemoNodeUI*>(parent);
  if (aUITN && parentUI && parentUI->aUITN) placeUnder_(aUITN, parentUI->aUITN);
}

int MemoNodeUI::getLevel() const { return aUITN ? levelOf_(aUITN) : -1; }

MemoNode* MemoNodeUI::getParentNode() const {
  if (!aUITN) return MemoNode::getParentNode();
  const auto* parent = static_cast<const TNodeTreeItem*>(aUITN->parent());
  return parent ? parent->node : nullptr;
}

void MemoNodeUI::putMarked_(bool flag) {
  MemoNode::putMarked_(flag);
  const auto* holder = dynamic_cast<const MemoHolderUI*>(aOwner);
  if (holder && holder->aUILB) holder->aUILB->setChecked_(*this, flag);
}

bool MemoNodeUI::isConfirmOverwrite() const {
  const std::string flag = trim_(getField_("FlagConfirmOverwrite"));
  return flag.empty() || flag == "\"true\"";
}

}  // namespace vrk
