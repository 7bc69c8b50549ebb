#pragma once
// Level 5 of the main window: the layout. The holder frame fills the window
// above the holder tab row; this level makes the memo file, shows and hides
// holders' views, follows the tab row, and starts empty memo files.
#include "commands/TFormMainMenu.h"

class QTabBar;

namespace vrk {

class TFrameMemoHolder;

class TFormMainVRKX13c : public TFormMainMenu {
  Q_OBJECT

 public:
  using TFormMainMenu::TFormMainMenu;

  void formCreate() override;
  void mouseCursor(int cursor) override;
  void setCheckListBox_(QWidget* view) override;
  void setTreeView_(QWidget* view) override;
  void setListView_(QWidget* view) override;
  // Builds the holder's view in its mode ("Nodes" shows as the check list),
  // installs and shows it, and selects the holder's tab.
  void showHolder_(MemoHolder* holder) override;
  void hideHolder_(MemoHolder* holder) override;
  void newMemoFile_() override;
  HolderFrameSlot* getFrameMemoHolder() override;

  QTabBar* TabControl1 = nullptr;

 protected:
  int switchHolderView_(NodesMode mode) override;

 private:
  // A tab chosen by the user; while busy the tab goes back.
  void tabChanged_(int index);
  void showCurrentTab_();

  TFrameMemoHolder* FrameMemoHolder1 = nullptr;
};

}  // namespace vrk
