#pragma once
// Helpers of the view tests: holders made from a short description, and the
// node sequence as a line that shows the outline.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "shell/UnitMemoHolderUI.h"
#include "text/UnitStringEX.h"

namespace vrk::viewtest {

struct NodeSpec {
  const char* name;
  const char* uid = "";
  const char* parent = "";  // ParentNodeID
};

// The nodes in this order, in the model's list (no view yet).
inline std::unique_ptr<MemoHolderUI> holderOf(const std::vector<NodeSpec>& nodes) {
  auto holder = std::make_unique<MemoHolderUI>();
  for (const NodeSpec& spec : nodes) {
    std::unique_ptr<MemoNode> node = holder->createNode();
    if (*spec.uid) node->putField_("UID", quoted_(spec.uid));
    if (*spec.parent) node->putField_("ParentNodeID", quoted_(spec.parent));
    holder->addNode_(std::move(node), spec.name);
  }
  return holder;
}

// The holder's sequence, each name after one dot per tree level:
// "first .third second".
inline std::string outline(MemoHolder& holder) {
  std::string out;
  for (int i = 0; i < holder.countOfNodes(); ++i) {
    const MemoNode* node = holder.nodeAt_(i);
    if (i > 0) out += " ";
    out += std::string(static_cast<std::size_t>(std::max(0, node->getLevel())), '.');
    out += node->getName();
  }
  return out;
}

}  // namespace vrk::viewtest
