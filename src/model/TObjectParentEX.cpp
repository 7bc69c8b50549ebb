#include "model/TObjectParentEX.h"

namespace vrk {

int TObjectParentEX::clear() {
  flagSort = false;
  flagAscending = true;
  return TObjectParent::clear();
}

std::string TObjectParentEX::putNameChild_as_(TObjectNamed* child, std::string_view name) {
  std::string given = TObjectParent::putNameChild_as_(child, name);
  sortChildren();
  return given;
}

std::unique_ptr<TObjectNamed> TObjectParentEX::deepCopy() const {
  auto copy = std::make_unique<TObjectParentEX>(aOwner);
  copy->assign_(*this);
  return copy;
}

void TObjectParentEX::assign_(const TObjectNamed& source) {
  TObjectParent::assign_(source);
  if (const auto* sorted = dynamic_cast<const TObjectParentEX*>(&source)) {
    flagSort = sorted->flagSort;
    flagAscending = sorted->flagAscending;
  }
}

std::string TObjectParentEX::addChild_(std::unique_ptr<TObjectNamed> child, std::string_view name) {
  std::string given = TObjectParent::addChild_(std::move(child), name);
  sortChildren();
  return given;
}

void TObjectParentEX::sortChildren() {
  if (flagSort) aChildren.sortByName(flagAscending);
}

}  // namespace vrk
