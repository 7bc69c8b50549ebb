#include "shell/NodeEditorFactory.h"

#include "shell/FramePlaceholder.h"

namespace vrk {

NodeEditorSlot* createNodeEditor_(TFormMainBase0007& form, QWidget* parent) {
  return new TNodeEditorPlaceholder(form, parent);
}

}  // namespace vrk
