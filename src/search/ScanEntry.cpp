#include "search/ScanEntry.h"

#include <unordered_set>

#include "model/MemoHolder.h"

namespace vrk {

MemoHolder* holderOfEntry_(const ScanEntry& entry) {
  MemoNode* node = entry.node.get();
  return node ? dynamic_cast<MemoHolder*>(node->getHolder()) : nullptr;
}

std::vector<MemoNode*> distinctNodes_(const ScanEntries& entries) {
  std::vector<MemoNode*> nodes;
  std::unordered_set<MemoNode*> seen;
  for (const ScanEntry& entry : entries) {
    if (!holderOfEntry_(entry)) continue;
    MemoNode* node = entry.node.get();
    if (seen.insert(node).second) nodes.push_back(node);
  }
  return nodes;
}

}  // namespace vrk
