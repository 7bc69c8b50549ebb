#pragma once
// What the main window needs from the frames that fill it: the holder frame
// (a holder's node list beside the node editor) and its node editor. The
// window reaches them only through these, so the full frames replace the
// placeholders without touching the window.
class QPlainTextEdit;
class QWidget;

namespace vrk {

class MemoHolder;
class MemoNode;

class NodeEditorSlot {
 public:
  virtual ~NodeEditorSlot() = default;
  virtual QWidget* widget() = 0;
  // Shows the node for editing; null shows nothing.
  virtual void showNode_(MemoNode* node) = 0;
  // Writes the edits back into the node shown (nothing without one).
  virtual void commitNode() = 0;
  virtual QPlainTextEdit* memoEditor() = 0;
  virtual void setReadOnly_(bool readOnly) = 0;
};

class HolderFrameSlot {
 public:
  virtual ~HolderFrameSlot() = default;
  virtual QWidget* widget() = 0;
  // The panel the holders' views are made on.
  virtual QWidget* viewPanel() = 0;
  // Places a holder's view on the panel, hidden and disabled until shown.
  virtual void installView_(QWidget* view) = 0;
  // The holder whose view the frame serves from now on.
  virtual void serve_(MemoHolder* holder) = 0;
  // The list status for the node: its position from 1, " / ", the count.
  // Answers the position from 0 (-1 when the node is not listed).
  virtual int showNodeInList_(MemoNode* node) = 0;
  virtual NodeEditorSlot& nodeEditor() = 0;
};

}  // namespace vrk
