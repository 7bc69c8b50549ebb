#pragma once
// The parent list: an owner that lists its children under names, in order.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/UnitTObjectNamed.h"

namespace vrk {

struct ChildEntry {
  std::string name;
  std::unique_ptr<TObjectNamed> object;
};

// Entries with a case-insensitive name index and an object index, so that name
// tests and getName cost the same in a list of 10 or of 100,000 children.
class ChildList {
 public:
  ChildList() = default;
  ~ChildList();
  ChildList(const ChildList&) = delete;
  ChildList& operator=(const ChildList&) = delete;

  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  const std::string& nameAt(std::size_t i) const { return entries_[i].name; }
  TObjectNamed* objectAt(std::size_t i) const { return entries_[i].object.get(); }
  std::vector<ChildEntry>::const_iterator begin() const { return entries_.begin(); }
  std::vector<ChildEntry>::const_iterator end() const { return entries_.end(); }

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

 private:
  void index(std::size_t i);
  void unindex(std::size_t i);

  std::vector<ChildEntry> entries_;
  std::unordered_map<std::string, std::vector<TObjectNamed*>> byName_;  // lower-cased name
  std::unordered_map<const TObjectNamed*, std::string> names_;
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
