#pragma once
// The outline of a holder from its nodes' UID and ParentNodeID fields.
#include <string_view>
#include <vector>

namespace vrk {

struct TreeLink {
  std::string_view uid;       // unquoted; may be empty
  std::string_view parentID;  // unquoted ParentNodeID; empty for a top-level node
};

// The parent of each node as an index into `nodes`, -1 for top level. Nodes
// are visited in sequence (a snapshot, so a child listed before its parent
// still lands under it); a ParentNodeID names the first node with that UID; a
// link that would make a node its own ancestor is dropped, so cycles end up at
// top level. Children keep their sequence order under their parent.
std::vector<int> computeTreeParents_(const std::vector<TreeLink>& nodes);

}  // namespace vrk
