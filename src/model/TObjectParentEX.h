#pragma once
// A parent list that can keep its children sorted by name.
#include "model/TObjectParent.h"

namespace vrk {

class TObjectParentEX : public TObjectParent {
 public:
  using TObjectParent::TObjectParent;

  bool flagSort = false;
  bool flagAscending = true;

  int clear() override;
  std::string putNameChild_as_(TObjectNamed* child, std::string_view name) override;
  std::unique_ptr<TObjectNamed> deepCopy() const override;
  void assign_(const TObjectNamed& source) override;
  std::string addChild_(std::unique_ptr<TObjectNamed> child, std::string_view name) override;

  // By name ignoring letter case when flagSort is set; descending reverses.
  void sortChildren();
};

}  // namespace vrk
