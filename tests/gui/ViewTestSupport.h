#pragma once
// Helpers of the view tests: holders made from a short description, and the
// node sequence as a line that shows the outline.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "shell/MemoHolderUI.h"
#include "text/StringEX.h"

namespace vrk::viewtest {

struct NodeDef {
  const char* name;
  const char* uid = "";
  const char* parent = "";  // ParentNodeID
};

// The nodes in this order, in the model's list (no view yet).
inline std::unique_ptr<MemoHolderUI> holderOf(const std::vector<NodeDef>& nodes) {
  auto holder = std::make_unique<MemoHolderUI>();
  for (const NodeDef& def : nodes) {
    std::unique_ptr<MemoNode> node = holder->createNode();
    if (*def.uid) node->putField_("UID", quoted_(def.uid));
    if (*def.parent) node->putField_("ParentNodeID", quoted_(def.parent));
    holder->addNode_(std::move(node), def.name);
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
