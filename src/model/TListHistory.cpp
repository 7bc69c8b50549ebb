#include "model/TListHistory.h"

#include <algorithm>

#include "model/MemoNode.h"

namespace vrk {

int TListHistory::add_(MemoNode* node) {
  if (!node) return -1;
  index_ = 0;
  if (!entries_.empty() && entries_.front().get() == node) return -1;
  entries_.emplace_front(node);
  if (entries_.size() > kCapacity) entries_.resize(kCapacity);
  return 0;
}

MemoNode* TListHistory::step(int direction) {
  if (entries_.empty()) return nullptr;
  const int size = static_cast<int>(entries_.size());
  int j = index_ + direction;
  bool sawDead = false;
  for (; j >= 0 && j < size && !entries_[j].get(); j += direction) sawDead = true;
  MemoNode* found = j >= 0 && j < size ? entries_[j].get() : nullptr;
  if (sawDead) dropInvalid();
  if (found) {
    index_ = static_cast<int>(
        std::find_if(entries_.begin(), entries_.end(),
                     [found](const WeakRef<MemoNode>& e) { return e.get() == found; }) -
        entries_.begin());
    return found;
  }
  index_ = direction > 0 ? static_cast<int>(entries_.size()) - 1 : 0;
  return nullptr;
}

MemoNode* TListHistory::back() { return step(+1); }

MemoNode* TListHistory::forward() { return step(-1); }

int TListHistory::keepNewest() {
  if (entries_.size() <= 1) return 0;
  const int dropped = static_cast<int>(entries_.size()) - 1;
  entries_.resize(1);
  index_ = 0;
  return dropped;
}

int TListHistory::dropInvalid() {
  const auto before = entries_.size();
  entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                [](const WeakRef<MemoNode>& e) { return e.get() == nullptr; }),
                 entries_.end());
  index_ = std::min(index_, static_cast<int>(entries_.size()) - 1);
  return static_cast<int>(before - entries_.size());
}

void TListHistory::clear() {
  entries_.clear();
  index_ = -1;
}

}  // namespace vrk
