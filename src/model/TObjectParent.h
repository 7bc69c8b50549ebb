#pragma once
// The parent list: an owner that lists its children under names, in order.
#include <cstddef>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/TObjectNamed.h"

namespace vrk {

struct ChildEntry {
  std::string name;
  std::unique_ptr<TObjectNamed> object;
};

// Entries with a case-insensitive name index and an object index, so that name
// tests and getName cost the same in a list of 10 or of 100,000 children.
// The entries keep a gap at the place of the last insertion or removal:
// inserting there again, as a user adding nodes at one place does, moves
// nothing; elsewhere the gap first travels to the place.
class ChildList {
 public:
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = ChildEntry;
    using difference_type = std::ptrdiff_t;
    using pointer = const ChildEntry*;
    using reference = const ChildEntry&;
    const_iterator() = default;
    const_iterator(const ChildList* list, std::size_t i) : list_(list), i_(i) {}
    reference operator*() const { return list_->at(i_); }
    pointer operator->() const { return &list_->at(i_); }
    const_iterator& operator++() {
      ++i_;
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator before = *this;
      ++i_;
      return before;
    }
    bool operator==(const const_iterator& other) const { return i_ == other.i_; }

   private:
    const ChildList* list_ = nullptr;
    std::size_t i_ = 0;
  };

  ChildList() = default;
  ~ChildList();
  ChildList(const ChildList&) = delete;
  ChildList& operator=(const ChildList&) = delete;

  std::size_t size() const { return slots_.size() - (gapEnd_ - gapBegin_); }
  bool empty() const { return size() == 0; }
  const std::string& nameAt(std::size_t i) const { return at(i).name; }
  // Also makes i the hint, so that asking for the name or index next is cheap.
  TObjectNamed* objectAt(std::size_t i) const {
    hint_ = i;
    return at(i).object.get();
  }
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

  int indexOf(const TObjectNamed* child) const;                // -1 when not listed
  const std::string* nameOf(const TObjectNamed* child) const;  // null when not listed
  bool hasName(std::string_view name) const;                   // letter case ignored
  TObjectNamed* findFirst(std::string_view name) const;        // first in list order

  // index at or past the end appends.
  void insert(std::size_t index, std::unique_ptr<TObjectNamed> child, std::string name);
  std::unique_ptr<TObjectNamed> take(std::size_t index);  // unlisted, not freed
  void rename(std::size_t index, std::string name);
  void move(std::size_t from, std::size_t to);
  void sortByName(bool ascending);  // letter case ignored
  void clear();                     // frees the children
  // Room for count entries, so that adding many at once grows the list once.
  void reserve(std::size_t count);

 private:
  const ChildEntry& at(std::size_t i) const {
    return slots_[i < gapBegin_ ? i : i + (gapEnd_ - gapBegin_)];
  }
  ChildEntry& at(std::size_t i) { return slots_[i < gapBegin_ ? i : i + (gapEnd_ - gapBegin_)]; }
  // The gap starts before entry i; with room for one entry when `room`.
  void moveGap(std::size_t i, bool room);
  void index(std::size_t i);
  void unindex(std::size_t i);
  // Position of child at or next to the last one found; npos otherwise.
  std::size_t nearHint(const TObjectNamed* child) const;

  std::vector<ChildEntry> slots_;  // the entries, with moved-from slots in the gap
  std::size_t gapBegin_ = 0;
  std::size_t gapEnd_ = 0;
  std::unordered_multimap<std::string, TObjectNamed*> byName_;  // lower-cased name
  std::unordered_map<const TObjectNamed*, std::string> names_;
  // The position found last: walks in list order, and repeated inserts before
  // one child, find their child here without hashing or scanning.
  mutable std::size_t hint_ = 0;
};

class TObjectParent : public TObjectNamed {
 public:
  using TObjectNamed::TObjectNamed;

  ChildList aChildren;  // owns the children

  int clear() override;
  std::string getNameChild_(const TObjectNamed* child) const override;
  std::string putNameChild_as_(TObjectNamed* child, std::string_view name) override;
  std::unique_ptr<TObjectNamed> deepCopy() const override;
  void assign_(const TObjectNamed& source) override;
  // Under uniqueChildName_(name); answer the name used.
  virtual std::string insertChild_(std::size_t index, std::unique_ptr<TObjectNamed> child,
                                   std::string_view name);
  virtual std::string addChild_(std::unique_ptr<TObjectNamed> child, std::string_view name);

  std::string uniqueChildName_(std::string_view name) const;
  TObjectNamed* findChild_(std::string_view name) const;
  TObjectNamed* findChildTrim_(std::string_view name) const;
  // Under the name as given.
  void insertChildSame_(std::size_t index, std::unique_ptr<TObjectNamed> child,
                        std::string_view name);
  void addChildSame_(std::unique_ptr<TObjectNamed> child, std::string_view name);
  int moveChildUp_(const TObjectNamed* child);
  int moveChildDown_(const TObjectNamed* child);
  // Takes the child out of the list without freeing it; null when not listed.
  std::unique_ptr<TObjectNamed> removeChild_(const TObjectNamed* child);
};

}  // namespace vrk
