#include "commands/TFormMainMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>

#include "commands/MenuMap.h"
#include "model/MemoHolder.h"
#include "platform/qt/QtColour.h"
#include "platform/qt/QtSjis.h"
#include "shell/CommandFrame.h"
#include "shell/FrameSlots.h"
#include "shell/MemoHolderUI.h"
#include "shell/TFormAbout.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

const char* const kLaterProperty = "vrkLater";

QString captionOf(std::string_view caption) {
  return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
}

QMenu* submenuOf(QMenu* menu, std::string_view title) {
  const QString caption = captionOf(title);
  for (QAction* action : menu->actions())
    if (action->menu() && action->text() == caption) return action->menu();
  return menu->addMenu(caption);
}

QAction* itemOf(const QMenu* menu, std::string_view caption) {
  const QString text = captionOf(caption);
  for (QAction* action : menu->actions())
    if (!action->menu() && !action->isSeparator() && action->text() == text) return action;
  return nullptr;
}

}  // namespace

void TFormMainMenu::formCreate() {
  TFormMainScript::formCreate();
  bindCommands_();
  buildTopPanel_();
  buildMenus_();
  buildStatusBar_();
}

// --- the command names of the tables

void TFormMainMenu::bindCommands_() {
  const auto bind = [this](std::string name, std::function<int()> action) {
    aCommands.emplace(std::move(name), std::move(action));
  };
  const auto done = [](auto action) {
    return [action] {
      action();
      return 0;
    };
  };
  // The memo file
  bind("UIOpenMemoFile", [this] { return UIOpenMemoFile(); });
  bind("UIOpenURL", [this] { return UIOpenURL(); });
  bind("UINewMemoFile", [this] { return UINewMemoFile(); });
  bind("UISaveFileWithMSG", [this] { return UISaveFileWithMSG(); });
  bind("UISaveFileWithoutMSG", [this] { return UISaveFileWithoutMSG(); });
  bind("saveAsMemoFile_(.mxa)", [this] { return saveAsMemoFile_(".mxa"); });
  bind("saveAsMemoFile_(.maz)", [this] { return saveAsMemoFile_(".maz"); });
  bind("UISaveAllHolders(after UISaveFileWithoutMSG)", [this] {
    // The memo file names its holders: it is written once they all are.
    const int saved = UISaveAllHolders();
    if (saved >= 0) UISaveFileWithoutMSG();
    return saved;
  });
  bind("UIExplorer_", [this] { return UIExplorer_(); });
  bind("UIHardcopy", [this] { return UIHardCopy(); });
  bind("closeNormal", done([this] { closeNormal(); }));
  bind("closeAllYes", done([this] { closeAllYes(); }));
  // Holders
  bind("UIOpenMemoHolder", [this] { return UIOpenMemoHolder(); });
  bind("UIOpenCSV", [this] { return UIOpenCSV(); });
  bind("UINewMemoHolder", [this] { return UINewMemoHolder(); });
  bind("UINewHolderLeft", [this] { return UINewHolderLeft(); });
  bind("UINewHolderRight", [this] { return UINewHolderRight(); });
  bind("UISaveHolderWithMSG", [this] { return UISaveHolderWithMSG(); });
  bind("UISaveHolderNoMSG", [this] { return UISaveHolderNoMSG(); });
  bind("UISaveAsHolder_(.mxh)", [this] { return UISaveAsHolder_(".mxh"); });
  bind("UISaveAsHolder_(.mhz)", [this] { return UISaveAsHolder_(".mhz"); });
  bind("UIExplorerMemoHolder", [this] { return UIExplorerMemoHolder(); });
  bind("UIReloadMemoHolder", [this] { return UIReloadMemoHolder(); });
  bind("UIReLoadEach", [this] { return UIReLoadEach(); });
  bind("UISetRelativePathEach", [this] { return UISetRelativePathEach(); });
  bind("UIExtractFilenameEach", [this] { return UIExtractFilenameEach(); });
  bind("UISetUpdateEach", [this] { return UISetUpdateEach(); });
  bind("UIRenameMemoHolder", [this] { return UIRenameMemoHolder(); });
  bind("UIRenameMemoHolderOther", [this] { return UIRenameMemoHolderOther(); });
  bind("UIDeleteMemoHolder", [this] { return UIDeleteMemoHolder(); });
  bind("UICloneMemoHolder", [this] { return UICloneMemoHolder(); });
  bind("UIMoveHolderRight", [this] { return UIMoveHolderRight(); });
  bind("UIMoveHolderLeft", [this] { return UIMoveHolderLeft(); });
  bind("UIChangeView_(CheckListBox)", [this] { return UIChangeView_(NodesMode::CheckListBox); });
  bind("UIChangeView_(TreeView)", [this] { return UIChangeView_(NodesMode::TreeView); });
  bind("UIChangeView_(ListView)", [this] { return UIChangeView_(NodesMode::ListView); });
  const auto notYet = [this] {
    return runCommand_(*this, {"notYet", kCheckUIReadOnly | kCheckHolderReadOnly, kRefusedBusy, -1},
                       [this] {
                         messageDoing_("Still not implemented. ");
                         return 0;
                       });
  };
  bind("UISortField", notYet);
  bind("UIGroupTree", notYet);
  bind("UICSV2Holder", [this] { return UICSV2Holder(); });
  bind("UICSV2SEL", [this] { return UICSV2SEL(); });
  bind("UINameValue2SEL(false)", [this] { return UINameValue2SEL(false); });
  bind("UINameValue2SEL(true)", [this] { return UINameValue2SEL(true); });
  bind("UIHolderList2SEL", [this] { return UIHolderList2SEL(); });
  // The script host
  bind("UIEval", [this] { return UIEval(); });
  bind("UIEvalMemo", [this] { return UIEvalMemo(); });
  bind("UIPPADefine2SEL", [this] { return UIPPADefine2SEL(); });
  bind("UIVersion2SEL", [this] { return UIVersion2SEL(); });
  bind("UIFileMXA2SEL", [this] { return UIFileMXA2SEL(); });
  bind("UIFieldsList2SEL", [this] { return UIFieldsList2SEL(); });
  bind("UIMarkList2SEL", [this] { return UIMarkList2SEL(); });
  bind("UINodesList2SEL", [this] { return UINodesList2SEL(); });
  // Nodes: the window's own operations
  bind("UINewNode", [this] { return newMemoNode_(); });
  bind("UICloneMemoNode(1)", [this] { return cloneMemoNode_(1) > 0 ? 0 : -1; });
  bind("UIDeleteMemoNode", [this] { return UIDeleteMemoNode(); });
  bind("UINewNodeFile", [this] { return UINewNodeFile(); });
  bind("UINewNodeImage", [this] { return UINewNodeImage(); });
  bind("UINewNodeImageScreen", [this] { return UINewNodeImageScreen(); });
  bind("UINewNodeImageIcon", [this] { return UINewNodeImageIcon(); });
  bind("UINewNodeURL", [this] { return UINewNodeURL(); });
  bind("UINewNodeURLDir", [this] { return UINewNodeURLDir(); });
  bind("UINewNodeURLFile", [this] { return UINewNodeURLFile(); });
  bind("UINewNodePoser", [this] { return UINewNodePoser(); });
  bind("UINewNodePoserLike", [this] { return UINewNodePoserLike(); });
  bind("UIMemoNode2NewNodes", [this] { return UIMemoNode2NewNodes(); });
  bind("UIMemoNode2Holder", [this] { return UIMemoNode2Holder(); });
  bind("UINumbersPlus10", [this] { return UINumbersPlus10(); });
  bind("UINumbers10", [this] { return UINumbers10(); });
  bind("UINumbers100", [this] { return UINumbers100(); });
  bind("UINumbers", [this] { return UINumbers(); });
  bind("UIDaysOfWeek(0)", [this] { return UIDaysOfWeek(0); });
  bind("UIDaysOfWeek(1)", [this] { return UIDaysOfWeek(1); });
  bind("UIDaysOfWeek(-1)", [this] { return UIDaysOfWeek(-1); });
  bind("UIDaysOfMonth(0)", [this] { return UIDaysOfMonth(0); });
  bind("UIDaysOfMonth(1)", [this] { return UIDaysOfMonth(1); });
  bind("UIDaysOfMonth(any)", [this] { return UIDaysOfMonthAny(); });
  bind("UIDaysOfYear(0)", [this] { return UIDaysOfYearAny(); });  // asks, this year proposed
  bind("UIDaysOfYear(1)", [this] { return UIDaysOfYearNext(); });
  bind("UIDaysOfYear(any)", [this] { return UIDaysOfYearAny(); });
  bind("UICopy1To", [this] { return UICopy1To(); });
  bind("UIMove1To", [this] { return UIMove1To(); });
  bind("UISaveAsMemoNode", [this] { return UISaveAsMemoNode(); });
  bind("UISaveAsMemoNodeExplorer", [this] { return UISaveAsMemoNodeExplorer(); });
  // Marked nodes
  bind("UIMarkAll", [this] { return UIMarkAll(); });
  // Search
  bind("UIShowScanMemoHolders", [this] { return UIShowScanMemoHolders(); });
  bind("UIShowScanMemoHolder", [this] { return UIShowScanMemoHolder(); });
  bind("UIEditAllMemoNode", [this] { return UIEditAllMemoNode(); });
  bind("UIShowFormField", [this] { return UIShowScanField(); });
  bind("UIShowScanMemoNode", [this] { return UIShowScanMemoNode(); });
  bind("T_GroupTree", [this] { return T_GroupTree(); });
  bind("T_SelField", [this] { return T_SelField(); });
  bind("UINewChildGrepAny", [this] { return UINewChildGrepAny(); });
  bind("UINewChildGrep(<a href)", [this] { return UINewChildGrepCaption_("<a href"); });
  bind("UINewChildGrep(<img)", [this] { return UINewChildGrepCaption_("<img"); });
  bind("UIUnMarkAll", [this] { return UIUnMarkAll(); });
  bind("UIReverseMarks", [this] { return UIReverseMarks(); });
  bind("UIDeleteMarkNodes", [this] { return UIDeleteMarkNodes(); });
  bind("UICopyMarksTo", [this] { return UICopyMarksTo(); });
  bind("UIMoveMarksTo", [this] { return UIMoveMarksTo(); });
  bind("UIMoveMarksSelf", [this] { return UIMoveMarksSelf(); });
  // New children and clones of the tree's pop-up
  bind("UINewChild", [this] { return UINewChild(); });
  bind("UINewChildURL", [this] { return UINewChildURL(); });
  bind("UINewChildImage", [this] { return UINewChildImage(); });
  bind("UINewChildImageScreen", [this] { return UINewChildImageScreen(); });
  bind("UICloneMemoNodeAndChild", [this] { return UICloneMemoNodeAndChild(); });
  bind("UIPrintMemoNode", [this] { return UIPrintMemoNode(); });
  bind("UIPrintsHolder", [this] { return UIPrintsHolder(); });
  bind("UIPrintsMarkNode", [this] { return UIPrintsMarkNode(); });
  bind("UIPrintFormat", [this] { return UIPrintFormat(); });
  bind("UIPrinterSetup", [this] { return UIPrinterSetup(); });
  bind("UIShowSendMail", [this] { return UISendMail(); });
  for (const char* name : {"EUC2SJIS", "JIS2SJIS", "SJIS2JIS"})
    bind("UINewChildConvert(" + std::string(name) + ")",
         [this, name] { return UINewChildConvert(name); });
  bind("UIUpNode", [this] { return UIUpNode(); });
  bind("UIDownNode", [this] { return UIDownNode(); });
  bind("UIReturn", [this] { return UIReturn(); });
  bind("UIForward", [this] { return UIForward(); });
  // The tool bar's own
  bind("breakDoing", done([this] {
         breakDoing();
         stopScripts_();  // an endless script ends too
       }));
  bind("endDoing_", done([this] { endDoing_(); }));
  bind("terminateAsk_", done([this] { terminateAsk_(); }));
  // Windows, the desktop, help
  bind("showFormLog", [this] { return showFormLog(); });
  bind("UIAssociate", [this] { return UIAssociate(); });
  bind("UIUnassociate", [this] { return UIUnassociate(); });
  bind("UIMakeShortCutLink", [this] { return UIMakeShortCutLink(); });
  bind("UIOpenIniFile", [this] { return UIOpenIniFile(); });
  bind("showVersion", done([this] { showVersion(); }));
  bind("UIShowAbout", [this] {
    getFormAbout()->showPeriod_(5000);
    messageDoing_("Done: Show FormAbout. Close After 5 seconds.");
    return 0;
  });
  bind("UIOpenCurrentDir", [this] { return UIOpenCurrentDir(); });
  bind("UIOpenExeFileDir", [this] { return UIOpenExeFileDir(); });
}

std::function<int()> TFormMainMenu::commandOf_(std::string_view name) const {
  const auto found = aCommands.find(name);
  return found == aCommands.end() ? std::function<int()>() : found->second;
}

int TFormMainMenu::runCommandNamed_(std::string_view name) { return runItem_(name, 0); }

int TFormMainMenu::runItem_(std::string_view command, unsigned flags) {
  // Menus and buttons refuse while a task runs, before the command is asked.
  if (!(flags & kNoBusyCheck) && isBusy()) return kRefusedBusy;
  const std::function<int()> action = commandOf_(command);
  return action ? action() : -1;
}

void TFormMainMenu::addCommandAction_(QAction* action, std::string_view command, unsigned flags) {
  if ((flags & kLater) || !commandOf_(command)) {
    action->setProperty(kLaterProperty, true);
    action->setEnabled(false);
    action->setToolTip(QStringLiteral("not yet available"));
    return;
  }
  const std::string name(command);
  connect(action, &QAction::triggered, this,
          [this, name, flags] { guard_(name, [&] { runItem_(name, flags); }); });
}

// --- the top panel

void TFormMainMenu::buildTopPanel_() {
  TopPanel = addToolBar(QStringLiteral("PanelTop"));
  TopPanel->setObjectName(QStringLiteral("PanelTop"));
  TopPanel->setMovable(false);
  TopPanel->setAutoFillBackground(true);
  for (const PanelEntry& entry : topPanelTable()) {
    if (entry.flags & kCheckable) {
      auto* box = new QCheckBox(captionOf(entry.caption), TopPanel);
      TopPanel->addWidget(box);
      (entry.caption == "ReadOnly" ? CheckBoxReadOnly : CheckBoxInternet) = box;
      continue;
    }
    auto* button = new QPushButton(captionOf(entry.caption), TopPanel);
    button->setToolTip(captionOf(entry.hint));
    TopPanel->addWidget(button);
    if ((entry.flags & kLater) || !commandOf_(entry.command)) {
      button->setEnabled(false);
      continue;
    }
    const std::string name(entry.command);
    const unsigned flags = entry.flags;
    connect(button, &QPushButton::clicked, this,
            [this, name, flags] { guard_(name, [&] { runItem_(name, flags); }); });
  }
  CheckBoxInternet->setChecked(true);  // on at start; a switch for working offline
  connect(CheckBoxReadOnly, &QCheckBox::toggled, this, [this](bool readOnly) {
    guard_("ReadOnly", [&] { getFrameMemoHolder()->nodeEditor().setReadOnly_(readOnly); });
  });
  connect(CheckBoxInternet, &QCheckBox::toggled, this, [this](bool on) {
    guard_("Internet", [&] {
      messageDoing_(on ? "turn on internet access" : "turn off internet access");
      if (!on || isDoing()) return;
      // A web address shown offline is loaded now.
      MemoNode* node = getCurMemoNode();
      if (node && node->getField_("Content-Transfer-Encoding") == "\"URL\"") {
        UI2Model();
        Model2UI();
      }
    });
  });
}

// --- the menus

void TFormMainMenu::buildMenus_() {
  for (std::string_view caption : mainMenuCaptions()) {
    QMenu* menu = menuBar()->addMenu(captionOf(caption));
    aTopMenus.emplace(std::string(caption), menu);
    connect(menu, &QMenu::aboutToShow, this,
            [this, menu] { guard_("menu", [&] { updateMenu_(menu); }); });
  }
  MenuFile = topMenu_("&File");
  for (const MenuEntry& entry : mainMenuTable()) {
    QMenu* menu = topMenu_(entry.menu);
    if (!entry.submenu.empty()) menu = submenuOf(menu, entry.submenu);
    if (entry.flags & kSeparator) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(captionOf(entry.caption));
    if (entry.flags & kCheckable) {
      action->setCheckable(true);
      action->setChecked(entry.flags & kChecked);
    }
    addCommandAction_(action, entry.command, entry.flags);
  }
  // The view items of [Holder] show the current holder's view.
  auto* views = new QActionGroup(this);
  for (const char* caption : {"CheckListBox", "TreeView", "ListView"})
    views->addAction(menuItem_("[Holder]", "", caption));

  PopupMenuTab = new QMenu(this);
  for (const MenuEntry& entry : tabMenuTable())
    addCommandAction_(PopupMenuTab->addAction(captionOf(entry.caption)), entry.command,
                      entry.flags);
  connect(PopupMenuTab, &QMenu::aboutToShow, this,
          [this] { guard_("menu", [&] { updateMenu_(PopupMenuTab); }); });
}

QMenu* TFormMainMenu::topMenu_(std::string_view caption) const {
  const auto found = aTopMenus.find(caption);
  return found == aTopMenus.end() ? nullptr : found->second;
}

QAction* TFormMainMenu::menuItem_(std::string_view menu, std::string_view submenu,
                                  std::string_view caption) const {
  QMenu* at = menu.empty() ? PopupMenuTab : topMenu_(menu);
  if (!at) return nullptr;
  if (!submenu.empty()) {
    QMenu* sub = nullptr;
    for (QAction* action : at->actions())
      if (action->menu() && action->text() == captionOf(submenu)) sub = action->menu();
    if (!sub) return nullptr;
    at = sub;
  }
  return itemOf(at, caption);
}

QPushButton* TFormMainMenu::panelButton_(std::string_view caption) const {
  for (QPushButton* button : TopPanel->findChildren<QPushButton*>())
    if (button->text() == captionOf(caption)) return button;
  return nullptr;
}

void TFormMainMenu::updateMenu_(QMenu* menu) {
  const bool enabled = !isDoing();
  for (QAction* action : menu->actions()) {
    if (action->isSeparator()) continue;
    if (QMenu* sub = action->menu()) {
      action->setEnabled(enabled);
      updateMenu_(sub);
      continue;
    }
    action->setEnabled(enabled && !action->property(kLaterProperty).toBool());
  }
  if (menu == topMenu_("[Holder]")) checkViewItems_();
  if (menu == topMenu_("[MemoNode]")) {
    // The node's own switch; a read-only holder leaves nothing to switch.
    QAction* readOnly = menuItem_("[MemoNode]", "", "ReadOnly");
    MemoNode* node = getCurMemoNode();
    MemoHolder* holder = getCurHolder();
    readOnly->setChecked(node && node->isReadOnly());
    readOnly->setVisible(!(holder && holder->isReadOnlyHolder()));
  }
}

void TFormMainMenu::checkViewItems_() {
  auto* holder = static_cast<MemoHolderUI*>(getCurHolder());
  if (!holder) return;
  const NodesMode mode =
      holder->getMode() == NodesMode::Nodes ? NodesMode::CheckListBox : holder->getMode();
  menuItem_("[Holder]", "", nodesModeName_(mode))->setChecked(true);
}

// --- the status bar

void TFormMainMenu::buildStatusBar_() {
  statusBar()->setToolTip(QStringLiteral("ReadOnly :  Count of Holders : Message"));
  for (QLabel*& panel : StatusPanels) panel = new QLabel(statusBar());
  StatusPanels[0]->setMinimumWidth(30);
  StatusPanels[1]->setMinimumWidth(40);
  StatusPanels[2]->setTextFormat(Qt::PlainText);
  statusBar()->addWidget(StatusPanels[0]);
  statusBar()->addWidget(StatusPanels[1]);
  statusBar()->addWidget(StatusPanels[2], 1);
  statusBar()->installEventFilter(this);
  for (QLabel* panel : StatusPanels) panel->installEventFilter(this);

  PopupMenuStatusBar = new QMenu(this);
  connect(PopupMenuStatusBar->addAction(QStringLiteral("Copy(&C)")), &QAction::triggered, this,
          [this] { QApplication::clipboard()->setText(StatusPanels[2]->text()); });
  statusBar()->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(statusBar(), &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenuStatusBar->popup(statusBar()->mapToGlobal(at)); });
}

bool TFormMainMenu::eventFilter(QObject* watched, QEvent* event) {
  // A click on the status bar clears the message.
  if (event->type() == QEvent::MouseButtonPress &&
      (watched == statusBar() || watched == StatusPanels[0] || watched == StatusPanels[1] ||
       watched == StatusPanels[2])) {
    const auto* press = static_cast<QMouseEvent*>(event);
    if (press->button() == Qt::LeftButton) StatusPanels[2]->clear();
  }
  return TFormMainScript::eventFilter(watched, event);
}

// --- the small commands

int TFormMainMenu::UIUpNode() {
  return runCommand_(*this, {"UIUpNode", kCheckBusy}, [this] {
    MemoHolder* holder = getCurHolder();
    MemoNode* node = holder ? holder->prevNode_(getCurMemoNode()) : nullptr;
    if (!node) return -9;
    gotoMemoNode(node);
    return 0;
  });
}

int TFormMainMenu::UIDownNode() {
  return runCommand_(*this, {"UIDownNode", kCheckBusy}, [this] {
    MemoHolder* holder = getCurHolder();
    MemoNode* node = holder ? holder->nextNode_(getCurMemoNode()) : nullptr;
    if (!node) return -9;
    gotoMemoNode(node);
    return 0;
  });
}

namespace {

// Shows a node of the history without adding to it: its holder first.
int jumpTo(TFormMainBase0007& form, MemoNode* node) {
  if (!node) return -9;
  auto* holder = dynamic_cast<MemoHolder*>(node->getHolder());
  if (holder && holder != form.getCurHolder() && !form._changeCurrentHolder_(holder, false))
    return -9;
  form.setCurMemoNode(node);
  return 0;
}

}  // namespace

int TFormMainMenu::UIReturn() {
  return runCommand_(*this, {"UIReturn", kCheckBusy},
                     [this] { return jumpTo(*this, aHistory.back()); });
}

int TFormMainMenu::UIForward() {
  return runCommand_(*this, {"UIForward", kCheckBusy},
                     [this] { return jumpTo(*this, aHistory.forward()); });
}

// --- what the window shows

Qt::CursorShape TFormMainMenu::cursorShape_(int cursor) {
  return cursor == -11 ? Qt::WaitCursor : Qt::ArrowCursor;
}

void TFormMainMenu::mouseCursor(int cursor) {
  const QCursor shape(cursorShape_(cursor));
  setCursor(shape);
  TopPanel->setCursor(shape);
  statusBar()->setCursor(shape);
}

void TFormMainMenu::messageDoing_(std::string_view text) {
  StatusPanels[2]->setText(sjisToQString(text));
  StatusPanels[2]->repaint();
}

void TFormMainMenu::applyFileColor() {
  const std::string colour = unquote_(aFile->getField_("Color"));
  if (colour.empty()) return;
  QPalette palette = TopPanel->palette();
  palette.setColor(QPalette::Window, toQColor_(textToColour_(colour)));
  TopPanel->setPalette(palette);
}

Colour TFormMainMenu::getTopPanelColour() const {
  return fromQColor_(TopPanel->palette().color(QPalette::Window));
}

void TFormMainMenu::showReadOnlyMark() {
  MemoNode* node = getCurMemoNode();
  StatusPanels[0]->setText(node && node->isReadOnlyInherited() ? QStringLiteral("RO") : QString());
}

QPlainTextEdit* TFormMainMenu::getMemoEditor() {
  return getFrameMemoHolder()->nodeEditor().memoEditor();
}

bool TFormMainMenu::isUIReadOnly() { return CheckBoxReadOnly->isChecked(); }

bool TFormMainMenu::isUIInternet() { return CheckBoxInternet->isChecked(); }

void TFormMainMenu::showHolderCount() {
  StatusPanels[1]->setText(QString::number(aFile->countOfHolders()));
}

}  // namespace vrk
