#pragma once
// What the result lists of the search windows keep: the text shown and a
// checked weak handle of the node, so that a node freed since is skipped
// rather than touched.
#include <string>
#include <vector>

#include "model/LiveRegistry.h"
#include "model/MemoNode.h"

namespace vrk {

class MemoHolder;

struct ScanEntry {
  std::string text;
  WeakRef<MemoNode> node;
};
using ScanEntries = std::vector<ScanEntry>;

// The holder of a node that is still alive; null otherwise.
MemoHolder* holderOfEntry_(const ScanEntry& entry);

// The live nodes of the entries, each once, in the order first listed: a
// bulk edit changes a node listed twice only once.
std::vector<MemoNode*> distinctNodes_(const ScanEntries& entries);

}  // namespace vrk
