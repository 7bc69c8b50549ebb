#pragma once
// Level 4 of the main window: the menus, the top panel "PanelTop" of buttons
// and switches, the status bar with its three panels (read-only mark, holder
// count, message) and its pop-up, and the pop-up of the holder tabs, all
// built from the tables of MenuMap.h. Each command name of the tables is
// bound here to the window's operation; an item without one stays disabled.
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "commands/TFormMainScript.h"

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
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
  int runCommandNamed_(std::string_view name) override;

  // --- small commands of the tool bar and the Jump menu
  int UIUpNode();    // the previous node of the current holder
  int UIDownNode();  // the next one
  int UIReturn();    // back in the history
  int UIForward();   // forward in the history

  // The operation bound to a command name of the tables; empty when the
  // program does not have it.
  std::function<int()> commandOf_(std::string_view name) const;
  // The item of the main menu (submenu empty: on the menu itself), of the
  // tab pop-up (menu empty); null when there is none.
  QAction* menuItem_(std::string_view menu, std::string_view submenu,
                     std::string_view caption) const;
  QMenu* topMenu_(std::string_view caption) const;
  QPushButton* panelButton_(std::string_view caption) const;
  // Enables the items of a menu as its opening does: all of them, or none
  // while a task runs; items of later commands stay disabled.
  void updateMenu_(QMenu* menu);

  QToolBar* TopPanel = nullptr;
  QCheckBox* CheckBoxReadOnly = nullptr;
  QCheckBox* CheckBoxInternet = nullptr;
  QMenu* MenuFile = nullptr;
  QMenu* PopupMenuTab = nullptr;        // the holder tabs' pop-up
  QMenu* PopupMenuStatusBar = nullptr;  // "Copy(&C)"
  // Status panels: 0 "RO", 1 the holder count, 2 the message.
  QLabel* StatusPanels[3] = {};

 protected:
  static Qt::CursorShape cursorShape_(int cursor);
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void bindCommands_();
  void buildTopPanel_();
  void buildMenus_();
  void buildStatusBar_();
  // The item's action: the busy check of menus and buttons, then the command.
  void addCommandAction_(QAction* action, std::string_view command, unsigned flags);
  int runItem_(std::string_view command, unsigned flags);
  void checkViewItems_();

  std::map<std::string, std::function<int()>, std::less<>> aCommands;
  std::map<std::string, QMenu*, std::less<>> aTopMenus;
};

}  // namespace vrk
