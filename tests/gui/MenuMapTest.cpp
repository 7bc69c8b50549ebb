// The menus, the top panel and the pop-ups as the window builds them from
// the tables: every caption in place, every bound command reachable, the
// later ones disabled; every action triggered with Cancel for an answer on a
// fresh file, on a tree and while a task runs.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>

#include "MainWindowTestSupport.h"
#include "commands/MenuMap.h"
#include "shell/TFormAbout.h"

namespace vrk::windowtest {
namespace {
namespace fs = std::filesystem;

QString q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Every action under the menu, submenus' included.
void collect(QMenu* menu, std::vector<QAction*>& actions) {
  for (QAction* action : menu->actions()) {
    if (action->isSeparator()) continue;
    if (action->menu())
      collect(action->menu(), actions);
    else
      actions.push_back(action);
  }
}

// HOME and the XDG folders in the scratch folder, so that the desktop
// commands write nothing of the user's.
class ScratchEnvironment {
 public:
  explicit ScratchEnvironment(const std::string& home) {
    for (const char* key : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"}) {
      const char* value = std::getenv(key);
      saved_[key] = value ? std::optional<std::string>(value) : std::nullopt;
    }
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
  }
  ~ScratchEnvironment() {
    for (const auto& [key, value] : saved_)
      value ? ::setenv(key.c_str(), value->c_str(), 1) : ::unsetenv(key.c_str());
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

class MenuMap : public MainWindowFixture {
 protected:
  std::vector<QAction*> allActions() {
    std::vector<QAction*> actions;
    for (std::string_view caption : mainMenuCaptions()) collect(form->topMenu_(caption), actions);
    collect(form->PopupMenuTab, actions);
    return actions;
  }
  void openAll() {
    for (std::string_view caption : mainMenuCaptions()) form->updateMenu_(form->topMenu_(caption));
    form->updateMenu_(form->PopupMenuTab);
  }
  // Everything but closing the window.
  bool closes(QAction* action) {
    return action->text() == "&Exit" || action->text() == "Exit(All Yes)";
  }
  // Runs what a click runs; a window of our own that it opens modally (the
  // holder choice of "Copy To", ...) is cancelled as soon as it shows.
  static void clickDismissingModals(const std::function<void()>& click) {
    QTimer dismiss;
    QObject::connect(&dismiss, &QTimer::timeout, [] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
        dialog->reject();
    });
    dismiss.start(0);
    click();
    QCoreApplication::processEvents();
  }
  void triggerEverything() {
    openAll();
    for (QAction* action : allActions()) {
      if (closes(action) || !action->isEnabled()) continue;
      clickDismissingModals([action] { action->trigger(); });
      ASSERT_TRUE(form->isVisible()) << action->text().toStdString();
    }
    for (const PanelEntry& entry : topPanelTable()) {
      QPushButton* button = form->panelButton_(entry.caption);
      if (!button || !button->isEnabled()) continue;
      clickDismissingModals([button] { button->click(); });  // "Exit" asks; Cancel keeps it
      ASSERT_TRUE(form->isVisible()) << entry.caption;
    }
  }
};

TEST_F(MenuMap, TheMenuBarHoldsEveryMenuAndCaptionOfTheTable) {
  QStringList titles;
  for (QAction* action : form->menuBar()->actions()) titles << action->text();
  QStringList expected;
  for (std::string_view caption : mainMenuCaptions()) expected << q(caption);
  EXPECT_EQ(titles, expected);

  for (const MenuEntry& entry : mainMenuTable()) {
    if (entry.flags & kSeparator) continue;
    QAction* action = form->menuItem_(entry.menu, entry.submenu, entry.caption);
    ASSERT_NE(action, nullptr) << entry.menu << " > " << entry.submenu << " > " << entry.caption;
    // A command is either bound or not there yet, and then disabled.
    const bool bound = static_cast<bool>(form->commandOf_(entry.command));
    EXPECT_EQ(bound, !(entry.flags & kLater)) << entry.caption << " " << entry.command;
    EXPECT_EQ(action->isCheckable(), (entry.flags & kCheckable) != 0) << entry.caption;
  }
  EXPECT_TRUE(form->topMenu_("Script")->actions().isEmpty());
  // Captions as the user sees them, accelerators and odd spaces included.
  for (const auto& [menu, sub, caption] : {std::tuple{"MarkNode", "", "UnMark　ALL"},
                                           {"[MemoNode]", "", "Save As && Explorer"},
                                           {"[Form]", "Size&&Pos", "640x480"},
                                           {"[Install]", "", "Associate \"mxa\", \"maz\""},
                                           {"[MarkWord]", "List", "All Nodes "}})
    EXPECT_NE(form->menuItem_(menu, sub, caption), nullptr) << caption;
  QStringList tab;
  for (QAction* action : form->PopupMenuTab->actions()) tab << action->text();
  EXPECT_EQ(tab, QStringList({"Rename", "Rename other", "New", "New Left", "New Right", "Clone",
                              "->", "<-", "Delete"}));
  for (QAction* action : form->PopupMenuTab->actions()) EXPECT_TRUE(action->isEnabled());
}

TEST_F(MenuMap, TheTopPanelInItsOrderWithHints) {
  QStringList captions;
  for (QAbstractButton* button : form->TopPanel->findChildren<QAbstractButton*>())
    if (!qobject_cast<QToolButton*>(button)) captions << button->text();  // not the bar's own
  QStringList expected;
  for (const PanelEntry& entry : topPanelTable()) expected << q(entry.caption);
  EXPECT_EQ(captions, expected);
  EXPECT_EQ(form->panelButton_("New")->toolTip(), "Create New MemoNode. ( text type )");
  EXPECT_EQ(form->panelButton_("Exit")->toolTip(), "Exit force. not save files.");
  EXPECT_TRUE(form->panelButton_("Scan")->isEnabled());

  form->panelButton_("Holder")->click();
  EXPECT_EQ(file().countOfHolders(), 2);
  form->panelButton_("SAVE")->click();
  EXPECT_TRUE(fs::exists(dir.file("new_00.mxh")));  // the new holder, saved
  form->panelButton_("New")->click();
  form->panelButton_("UP")->click();
  EXPECT_EQ(form->getCurMemoNode(), form->getCurHolder()->firstNode());
  form->panelButton_("DOWN")->click();
  EXPECT_EQ(form->getCurMemoNode(), form->getCurHolder()->lastNode());
  form->panelButton_("Return")->click();
  EXPECT_EQ(form->getCurMemoNode(), form->getCurHolder()->firstNode());
  form->panelButton_("Forward")->click();
  EXPECT_EQ(form->getCurMemoNode(), form->getCurHolder()->lastNode());
}

TEST_F(MenuMap, OpeningHolderMenuChecksTheViewAndTheItemsSwitchIt) {
  QMenu* menu = form->topMenu_("[Holder]");
  form->menuItem_("[Holder]", "", "TreeView")->trigger();
  EXPECT_EQ(message(), "Change TreeView");
  EXPECT_EQ(static_cast<MemoHolderUI*>(form->getCurHolder())->getMode(), NodesMode::TreeView);
  form->menuItem_("[Holder]", "", "CheckListBox")->setChecked(true);
  form->updateMenu_(menu);
  EXPECT_TRUE(form->menuItem_("[Holder]", "", "TreeView")->isChecked());
  EXPECT_FALSE(form->menuItem_("[Holder]", "", "CheckListBox")->isChecked());
}

TEST_F(MenuMap, OpeningMemoNodeMenuShowsTheNodesReadOnlyFlag) {
  QMenu* menu = form->topMenu_("[MemoNode]");
  QAction* readOnly = form->menuItem_("[MemoNode]", "", "ReadOnly");
  form->getCurMemoNode()->putReadOnly_(true);
  form->updateMenu_(menu);
  EXPECT_TRUE(readOnly->isChecked());
  EXPECT_TRUE(readOnly->isVisible());
  form->getCurHolder()->putField_("FlagReadOnly", "\"true\"");
  form->updateMenu_(menu);
  EXPECT_FALSE(readOnly->isVisible());
}

TEST_F(MenuMap, StatusBarClickClearsAndCopyCopies) {
  form->messageDoing_("some message");
  form->PopupMenuStatusBar->actions().front()->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), "some message");
  QTest::mouseClick(form->StatusPanels[2], Qt::LeftButton);
  EXPECT_EQ(message(), "");
  EXPECT_EQ(form->statusBar()->toolTip(), "ReadOnly :  Count of Holders : Message");
}

// Each action with Cancel for every question: on a fresh file, on a tree
// of a written memo file, and while a task runs, when every menu item is
// disabled and the buttons only say "Now Doing ".
TEST_F(MenuMap, EveryActionWithCancelOnAFreshFileATreeAndWhileBusy) {
  ScratchEnvironment home(dir.path());
  triggerEverything();
  EXPECT_TRUE(form->isVisible());

  openMemoFile({{"T",
                 {{"root", "20240101_000000000_00000001"},
                  {"child", "20240101_000000000_00000002", "20240101_000000000_00000001"}}},
                {"L", {{"l1"}}}});
  ASSERT_EQ(form->UIChangeView_(NodesMode::TreeView), 0);
  triggerEverything();
  EXPECT_TRUE(form->isVisible());

  openMemoFile({{"A", {{"a1"}}}, {"B", {{"b1"}}}});
  const int holders = file().countOfHolders();
  const std::size_t asked = ports.prompter.asked.size();
  TaskScope task(*form, "Long");
  openAll();
  for (QAction* action : allActions())
    EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
  for (std::string_view caption : mainMenuCaptions())
    for (QAction* action : form->topMenu_(caption)->actions())
      if (!action->isSeparator()) {
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
      }
  for (const char* caption : {"New", "SAVE", "Holder", "UP", "DOWN", "Return", "Forward"}) {
    form->panelButton_(caption)->click();
    EXPECT_EQ(message().rfind("Now Doing ", 0), 0u) << caption;
  }
  EXPECT_EQ(file().countOfHolders(), holders);
  EXPECT_EQ(holder(0).countOfNodes(), 1);
  EXPECT_EQ(ports.prompter.asked.size(), asked);
}

}  // namespace
}  // namespace vrk::windowtest
