#include "model/UnitTObjectParent.h"

#include <algorithm>

#include "text/UnitCharEX.h"
#include "text/UnitStringEX.h"

namespace vrk {
namespace {

// "%.2d" of a non-negative number.
std::string twoDigits(std::size_t n) { return (n < 10 ? "0" : "") + std::to_string(n); }

// Odometer steps tried on a taken name before numbered forms take over.
constexpr std::size_t kOdometerSteps = 100;

}  // namespace

// --- ChildList

ChildList::~ChildList() { clear(); }

void ChildList::index(std::size_t i) {
  TObjectNamed* object = entries_[i].object.get();
  byName_[lowerCase_(entries_[i].name)].push_back(object);
  names_.emplace(object, entries_[i].name);
}

void ChildList::unindex(std::size_t i) {
  TObjectNamed* object = entries_[i].object.get();
  const auto bucket = byName_.find(lowerCase_(entries_[i].name));
  auto& objects = bucket->second;
  objects.erase(std::find(objects.begin(), objects.end(), object));
  if (objects.empty()) byName_.erase(bucket);
  names_.erase(object);
}

int ChildList::indexOf(const TObjectNamed* child) const {
  if (!names_.contains(child)) return -1;
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].object.get() == child) return static_cast<int>(i);
  return -1;
}

const std::string* ChildList::nameOf(const TObjectNamed* child) const {
  const auto it = names_.find(child);
  return it == names_.end() ? nullptr : &it->second;
}

bool ChildList::hasName(std::string_view name) const { return byName_.contains(lowerCase_(name)); }

TObjectNamed* ChildList::findFirst(std::string_view name) const {
  const auto bucket = byName_.find(lowerCase_(name));
  if (bucket == byName_.end()) return nullptr;
  if (bucket->second.size() == 1) return bucket->second.front();
  for (const ChildEntry& entry : entries_)  // equal names: the first in list order
    if (sameText_(entry.name, name)) return entry.object.get();
  return nullptr;
}

void ChildList::insert(std::size_t index, std::unique_ptr<TObjectNamed> child, std::string name) {
  index = std::min(index, entries_.size());
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(index),
                  ChildEntry{std::move(name), std::move(child)});
  this->index(index);
}

std::unique_ptr<TObjectNamed> ChildList::take(std::size_t index) {
  unindex(index);
  std::unique_ptr<TObjectNamed> child = std::move(entries_[index].object);
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
  return child;
}

void ChildList::rename(std::size_t index, std::string name) {
  unindex(index);
  entries_[index].name = std::move(name);
  this->index(index);
}

void ChildList::move(std::size_t from, std::size_t to) {
  const auto at = [this](std::size_t i) {
    return entries_.begin() + static_cast<std::ptrdiff_t>(i);
  };
  if (from < to)
    std::rotate(at(from), at(from + 1), at(to + 1));
  else
    std::rotate(at(to), at(from), at(from + 1));
}

void ChildList::sortByName(bool ascending) {
  std::vector<std::pair<std::string, ChildEntry>> keyed;
  keyed.reserve(entries_.size());
  for (ChildEntry& entry : entries_) keyed.emplace_back(lowerCase_(entry.name), std::move(entry));
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 0; i < keyed.size(); ++i) entries_[i] = std::move(keyed[i].second);
  if (!ascending) std::reverse(entries_.begin(), entries_.end());
}

void ChildList::clear() {
  byName_.clear();
  names_.clear();
  std::vector<ChildEntry> doomed = std::move(entries_);
  entries_.clear();
}

// --- TObjectParent

int TObjectParent::clear() {
  aChildren.clear();
  return 0;
}

std::string TObjectParent::getNameChild_(const TObjectNamed* child) const {
  const std::string* name = aChildren.nameOf(child);
  return name ? *name : std::string();
}

std::string TObjectParent::putNameChild_as_(TObjectNamed* child, std::string_view name) {
  const int index = aChildren.indexOf(child);
  if (name.empty() || index < 0 || sameText_(aChildren.nameAt(index), name)) return {};
  std::string newName = aChildren.hasName(name) ? uniqueChildName_(name) : std::string(name);
  aChildren.rename(index, newName);
  return newName;
}

std::unique_ptr<TObjectNamed> TObjectParent::deepCopy() const {
  auto copy = std::make_unique<TObjectParent>(aOwner);
  copy->assign_(*this);
  return copy;
}

void TObjectParent::assign_(const TObjectNamed& source) {
  if (&source == this) return;
  TObjectNamed::assign_(source);
  aChildren.clear();
  const auto* parent = dynamic_cast<const TObjectParent*>(&source);
  if (!parent) return;
  for (const ChildEntry& entry : parent->aChildren) {
    std::unique_ptr<TObjectNamed> copy = entry.object->deepCopy();
    copy->aOwner = this;
    addChildSame_(std::move(copy), entry.name);
  }
}

std::string TObjectParent::insertChild_(std::size_t index, std::unique_ptr<TObjectNamed> child,
                                        std::string_view name) {
  std::string unique = uniqueChildName_(name);
  insertChildSame_(index, std::move(child), unique);
  return unique;
}

std::string TObjectParent::addChild_(std::unique_ptr<TObjectNamed> child, std::string_view name) {
  return insertChild_(aChildren.size(), std::move(child), name);
}

std::string TObjectParent::uniqueChildName_(std::string_view name) const {
  if (!aChildren.hasName(name)) return std::string(name);
  std::string candidate =
      hasDigit_(name)
          ? incDigits_(name)
          : std::string(name) + "_" +
                twoDigits(static_cast<std::size_t>(aChildren.indexOf(aChildren.findFirst(name))));
  // The odometer alone can cycle through taken names (a9, a0, ... a8); the
  // numbered forms that follow end, since the list is finite.
  for (std::size_t counter = 0; aChildren.hasName(candidate);) {
    ++counter;
    candidate = counter < kOdometerSteps ? incDigits_(candidate)
                                         : std::string(name) + "_" + twoDigits(counter);
  }
  return candidate;
}

TObjectNamed* TObjectParent::findChild_(std::string_view name) const {
  return aChildren.findFirst(name);
}

TObjectNamed* TObjectParent::findChildTrim_(std::string_view name) const {
  const std::string wanted = trim_(name);
  for (const ChildEntry& entry : aChildren)
    if (sameText_(trim_(entry.name), wanted)) return entry.object.get();
  return nullptr;
}

void TObjectParent::insertChildSame_(std::size_t index, std::unique_ptr<TObjectNamed> child,
                                     std::string_view name) {
  aChildren.insert(index, std::move(child), std::string(name));
}

void TObjectParent::addChildSame_(std::unique_ptr<TObjectNamed> child, std::string_view name) {
  insertChildSame_(aChildren.size(), std::move(child), name);
}

int TObjectParent::moveChildUp_(const TObjectNamed* child) {
  const int index = aChildren.indexOf(child);
  if (index <= 0) return index;
  aChildren.move(index, index - 1);
  return index - 1;
}

int TObjectParent::moveChildDown_(const TObjectNamed* child) {
  const int index = aChildren.indexOf(child);
  if (index < 0 || index + 1 >= static_cast<int>(aChildren.size())) return index;
  aChildren.move(index, index + 1);
  return index + 1;
}

std::unique_ptr<TObjectNamed> TObjectParent::removeChild_(const TObjectNamed* child) {
  const int index = aChildren.indexOf(child);
  return index < 0 ? nullptr : aChildren.take(index);
}

}  // namespace vrk
