#include "shell/NodeEditorFactory.h"

#include <memory>

#include "shell/TFrameMemoNode.h"

namespace vrk {

NodeEditorSlot* createNodeEditor_(TFormMainBase0007& form, QWidget* parent) {
  return new TFrameMemoNode(std::make_unique<TMainFormOwner>(form), parent);
}

}  // namespace vrk
