#include "model/TreeBuild.h"

#include <unordered_map>

namespace vrk {
namespace {

// Roots of the partial forest with path halving: a node gets its parent once,
// while it is still a root, so linking it under p makes a cycle exactly when
// p's root is the node itself.
int findRoot(std::vector<int>& root, int i) {
  while (root[i] != i) {
    root[i] = root[root[i]];
    i = root[i];
  }
  return i;
}

}  // namespace

std::vector<int> computeTreeParents_(const std::vector<TreeLink>& nodes) {
  const int count = static_cast<int>(nodes.size());
  std::unordered_map<std::string_view, int> byUID;
  byUID.reserve(nodes.size());
  for (int i = 0; i < count; ++i)
    if (!nodes[i].uid.empty()) byUID.emplace(nodes[i].uid, i);  // the first one wins

  std::vector<int> parent(nodes.size(), -1);
  std::vector<int> root(nodes.size());
  for (int i = 0; i < count; ++i) root[i] = i;
  for (int i = 0; i < count; ++i) {
    if (nodes[i].parentID.empty()) continue;
    const auto found = byUID.find(nodes[i].parentID);
    if (found == byUID.end()) continue;
    const int p = found->second;
    if (findRoot(root, p) == i) continue;  // p is i itself or below it
    parent[i] = p;
    root[i] = p;
  }
  return parent;
}

}  // namespace vrk
