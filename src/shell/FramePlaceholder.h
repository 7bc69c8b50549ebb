#pragma once
// Stand-ins for the holder frame and the node editor until those are built:
// the view panel with its status line on the left, the node's name and memo
// on the right.
#include <QWidget>

#include "model/LiveRegistry.h"
#include "shell/FrameSlots.h"

class QLabel;

namespace vrk {

class TFormMainBase0007;

class TNodeEditorPlaceholder final : public QWidget, public NodeEditorSlot {
  Q_OBJECT

 public:
  TNodeEditorPlaceholder(TFormMainBase0007& form, QWidget* parent);

  QWidget* widget() override { return this; }
  void showNode_(MemoNode* node) override;
  // The memo text only; the rest of the record is the node editor's.
  void commitNode() override;
  QPlainTextEdit* memoEditor() override { return aMemo; }
  void setReadOnly_(bool readOnly) override;

 private:
  TFormMainBase0007& aForm;
  WeakRef<MemoNode> aNode;  // the node may go while it is shown
  QLabel* aName;
  QPlainTextEdit* aMemo;
};

class THolderFramePlaceholder final : public QWidget, public HolderFrameSlot {
  Q_OBJECT

 public:
  THolderFramePlaceholder(TFormMainBase0007& form, QWidget* parent);

  QWidget* widget() override { return this; }
  QWidget* viewPanel() override { return aViewPanel; }
  void installView_(QWidget* view) override;
  void serve_(MemoHolder* holder) override;
  int showNodeInList_(MemoNode* node) override;
  NodeEditorSlot& nodeEditor() override { return *aEditor; }

 private:
  WeakRef<MemoHolder> aHolder;
  QWidget* aViewPanel;
  QLabel* aStatus;
  NodeEditorSlot* aEditor;
};

}  // namespace vrk
