#include "model/TObjectParent.h"

#include <algorithm>

#include "text/CharEX.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

// "%.2d" of a non-negative number.
std::string twoDigits(std::size_t n) { return std::string(n < 10 ? "0" : "").append(std::to_string(n)); }

// Odometer steps tried on a taken name before numbered forms take over.
constexpr std::size_t kOdometerSteps = 100;

}  // namespace

// --- ChildList

namespace {

// Slots added when the list grows: a quarter, so that adding stays amortised
// constant.
std::size_t growth(std::size_t count) { return std::max<std::size_t>(16, count / 4); }

}  // namespace

ChildList::~ChildList() { clear(); }

void ChildList::moveGap(std::size_t i, bool room) {
  const auto slot = [this](std::size_t s) {
    return slots_.begin() + static_cast<std::ptrdiff_t>(s);
  };
  if (room && gapBegin_ == gapEnd_) {
    // Grown in one pass, the new gap already at i: every entry moves once.
    const std::size_t count = size();
    std::vector<ChildEntry> grown(count + growth(count));
    std::move(slot(0), slot(i), grown.begin());
    std::move(slot(i), slots_.end(), grown.end() - static_cast<std::ptrdiff_t>(count - i));
    slots_ = std::move(grown);
    gapBegin_ = i;
    gapEnd_ = slots_.size() - (count - i);
    return;
  }
  const std::size_t length = gapEnd_ - gapBegin_;
  if (length == 0) {  // nothing to move, and a self-move would empty the names
    gapBegin_ = gapEnd_ = i;
    return;
  }
  if (i < gapBegin_)
    std::move_backward(slot(i), slot(gapBegin_), slot(gapEnd_));
  else if (i > gapBegin_)
    std::move(slot(gapEnd_), slot(gapEnd_ + (i - gapBegin_)), slot(gapBegin_));
  gapBegin_ = i;
  gapEnd_ = i + length;
}

void ChildList::index(std::size_t i) {
  TObjectNamed* object = at(i).object.get();
  byName_.emplace(lowerCase_(at(i).name), object);
  names_.emplace(object, at(i).name);
}

void ChildList::unindex(std::size_t i) {
  TObjectNamed* object = at(i).object.get();
  auto [it, last] = byName_.equal_range(lowerCase_(at(i).name));
  while (it->second != object) ++it;
  byName_.erase(it);
  names_.erase(object);
}

std::size_t ChildList::nearHint(const TObjectNamed* child) const {
  for (const std::size_t i : {hint_, hint_ + 1, hint_ - 1}) {
    if (i < size() && at(i).object.get() == child) return hint_ = i;
  }
  return std::string::npos;
}

int ChildList::indexOf(const TObjectNamed* child) const {
  if (const std::size_t near = nearHint(child); near != std::string::npos)
    return static_cast<int>(near);
  if (!names_.contains(child)) return -1;
  for (std::size_t i = 0; i < size(); ++i)
    if (at(i).object.get() == child) return static_cast<int>(hint_ = i);
  return -1;
}

const std::string* ChildList::nameOf(const TObjectNamed* child) const {
  if (const std::size_t near = nearHint(child); near != std::string::npos) return &at(near).name;
  const auto it = names_.find(child);
  return it == names_.end() ? nullptr : &it->second;
}

bool ChildList::hasName(std::string_view name) const { return byName_.contains(lowerCase_(name)); }

TObjectNamed* ChildList::findFirst(std::string_view name) const {
  const auto [first, last] = byName_.equal_range(lowerCase_(name));
  if (first == last) return nullptr;
  if (std::next(first) == last) return first->second;
  for (const ChildEntry& entry : *this)  // equal names: the first in list order
    if (sameText_(entry.name, name)) return entry.object.get();
  return nullptr;
}

void ChildList::insert(std::size_t index, std::unique_ptr<TObjectNamed> child, std::string name) {
  index = std::min(index, size());
  moveGap(index, true);
  slots_[gapBegin_++] = ChildEntry{std::move(name), std::move(child)};
  this->index(index);
}

std::unique_ptr<TObjectNamed> ChildList::take(std::size_t index) {
  unindex(index);
  moveGap(index, false);
  ChildEntry& entry = slots_[gapEnd_++];
  entry.name.clear();
  return std::move(entry.object);
}

void ChildList::rename(std::size_t index, std::string name) {
  unindex(index);
  at(index).name = std::move(name);
  this->index(index);
}

void ChildList::move(std::size_t from, std::size_t to) {
  moveGap(size(), false);  // the entries in one run at the front
  const auto at = [this](std::size_t i) { return slots_.begin() + static_cast<std::ptrdiff_t>(i); };
  if (from < to)
    std::rotate(at(from), at(from + 1), at(to + 1));
  else
    std::rotate(at(to), at(from), at(from + 1));
}

void ChildList::sortByName(bool ascending) {
  moveGap(size(), false);
  const auto first = slots_.begin();
  const auto last = first + static_cast<std::ptrdiff_t>(size());
  std::vector<std::pair<std::string, ChildEntry>> keyed;
  keyed.reserve(size());
  for (auto it = first; it != last; ++it) keyed.emplace_back(lowerCase_(it->name), std::move(*it));
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 0; i < keyed.size(); ++i) slots_[i] = std::move(keyed[i].second);
  if (!ascending) std::reverse(first, last);
}

void ChildList::reserve(std::size_t count) {
  if (slots_.size() >= count) return;
  moveGap(size(), false);
  // The new slots widen the gap at the end, with the slack of growing, so that
  // the first insertions afterwards do not grow the list again.
  slots_.resize(count + growth(count));
  gapEnd_ = slots_.size();
}

void ChildList::clear() {
  byName_.clear();
  names_.clear();
  std::vector<ChildEntry> doomed = std::move(slots_);
  slots_.clear();
  gapBegin_ = gapEnd_ = 0;
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
