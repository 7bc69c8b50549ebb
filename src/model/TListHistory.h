#pragma once
// The nodes the user visited, newest first, for Return and Forward. Entries are
// weak handles: a node freed under the history (a reloaded holder) is skipped.
#include <cstddef>
#include <deque>

#include "model/LiveRegistry.h"

namespace vrk {

class MemoNode;

class TListHistory {
 public:
  static constexpr std::size_t kCapacity = 100;

  // -1 for no node or when the node is already the newest; else 0.
  int add_(MemoNode* node);
  // The next older entry, null at the oldest (which stays current).
  MemoNode* back();
  // The next newer entry, null at the newest.
  MemoNode* forward();
  // Drops every entry but the newest; answers how many went.
  int keepNewest();
  // Removes the entries whose node no longer exists; answers how many went.
  int dropInvalid();
  void clear();

  std::size_t count() const { return entries_.size(); }
  int aIndex() const { return index_; }
  MemoNode* at(std::size_t i) const { return entries_[i].get(); }

 private:
  // Moves one live entry older (+1) or newer (-1); dead entries on the way
  // are passed over and then removed.
  MemoNode* step(int direction);

  std::deque<WeakRef<MemoNode>> entries_;
  int index_ = -1;
};

}  // namespace vrk
