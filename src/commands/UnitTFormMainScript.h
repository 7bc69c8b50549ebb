#pragma once
// Level 3 of the main window: the bridge between the window and the node
// editor (UI2Model, Model2UI), the caption, the temporary directory, and the
// place of the script host. The user commands join this level later.
#include "shell/UnitTFormMainBaseVRK.h"

namespace vrk {

class TFormMainScript : public TFormMainBaseVRK {
  Q_OBJECT

 public:
  using TFormMainBaseVRK::TFormMainBaseVRK;

  int UI2Model() override;
  void updateCaption() override;
  int showCurMemoNodeInList() override;
  void Model2UI() override;
  QPlainTextEdit* getLogMemo() override;
  // Nothing runs until the script host exists; answers 0.
  int PlayScript(MemoNode* node) override;
  std::string getTempDir() const override;
  void putTempDir_(std::string_view dir) override;
};

}  // namespace vrk
