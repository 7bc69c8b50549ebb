#pragma once
// Level 4 of the main window: the top panel (the "ReadOnly" and "Internet"
// switches, Break, Done, Exit), the menus and the status bar with its three
// panels: read-only mark, holder count, message.
#include "commands/UnitTFormMainScript.h"

class QCheckBox;
class QLabel;
class QMenu;
class QToolBar;

namespace vrk {

class TFormMainMenu : public TFormMainScript {
  Q_OBJECT

 public:
  using TFormMainScript::TFormMainScript;

  void formCreate() override;
  void mouseCursor(int cursor) override;
  void messageDoing_(std::string_view text) override;
  void applyFileColor() override;
  void showReadOnlyMark() override;
  QPlainTextEdit* getMemoEditor() override;
  bool isUIReadOnly() override;
  bool isUIInternet() override;
  void showHolderCount() override;
  Colour getTopPanelColour() const override;

  QToolBar* TopPanel = nullptr;
  QCheckBox* CheckBoxReadOnly = nullptr;
  QCheckBox* CheckBoxInternet = nullptr;
  QMenu* MenuFile = nullptr;
  // Status panels: 0 "RO", 1 the holder count, 2 the message.
  QLabel* StatusPanels[3] = {};

 protected:
  static Qt::CursorShape cursorShape_(int cursor);

 private:
  void buildTopPanel_();
  void buildMenus_();
  void buildStatusBar_();
};

}  // namespace vrk
