#pragma once
// The map of the main window's menus, tool bar and pop-up menus to its
// commands, as data: every item with its caption (kept as the user sees it,
// "&" marking the accelerator and "&&" a literal "&"), the command it runs by
// name, and its flags. The window builds its menus from these tables and
// binds each command name to its operation; an item whose command the program
// does not have yet is marked kLater and shown disabled.
#include <string_view>
#include <vector>

namespace vrk {

enum MenuFlag : unsigned {
  kMenuNone = 0,
  kLater = 1,        // the command does not exist yet: shown disabled
  kCheckable = 2,    // a check item (a check box on the tool bar)
  kChecked = 4,      // checked at start
  kNoBusyCheck = 8,  // runs while a task runs (Break, Done, Exit)
  kSeparator = 16,
};

struct MenuEntry {
  std::string_view menu;     // the top-level caption
  std::string_view submenu;  // empty: the item is on the menu itself
  std::string_view caption;
  std::string_view command;  // the name the window binds
  unsigned flags = kMenuNone;
};

struct PanelEntry {
  std::string_view caption;
  std::string_view hint;
  std::string_view command;
  unsigned flags = kMenuNone;  // kCheckable: a check box
};

// The main menu in order: menus, then their items.
const std::vector<MenuEntry>& mainMenuTable();
// The tab row's pop-up menu ("menu" is empty).
const std::vector<MenuEntry>& tabMenuTable();
// The tool bar "PanelTop", left to right.
const std::vector<PanelEntry>& topPanelTable();
// The captions of the top-level menus, in order (also those without items).
const std::vector<std::string_view>& mainMenuCaptions();

}  // namespace vrk
