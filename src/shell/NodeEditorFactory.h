#pragma once
// The node editor the holder frame places beside its views. One function, so
// that the frame does not depend on which editor the program has.
class QWidget;

namespace vrk {

class NodeEditorSlot;
class TFormMainBase0007;

// A new editor owned by parent (Qt ownership).
NodeEditorSlot* createNodeEditor_(TFormMainBase0007& form, QWidget* parent);

}  // namespace vrk
