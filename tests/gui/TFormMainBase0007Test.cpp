// The main window's lifecycle: creation, long operations, the log, the
// guards, the tab row, lazy loading of holders and auto save.
#include <QCheckBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>

#include "MainWindowTestSupport.h"
#include "shell/FrameSlots.h"
#include "shell/TFormLog.h"

namespace vrk::windowtest {
namespace {

class TFormMainBase0007Test : public MainWindowFixture {};

TEST_F(TFormMainBase0007Test, CreationRunsEveryLevelAndStartsWithOneHolderAndNode) {
  // Each level's formCreate left its part: idle timer and agent (1), settings
  // (2), top panel and status bar (4), frame, tab row and memo file (5).
  EXPECT_FALSE(form->aSettings.programDir.empty());
  ASSERT_NE(form->TopPanel, nullptr);
  ASSERT_NE(form->TabControl1, nullptr);
  ASSERT_NE(form->getFrameMemoHolder(), nullptr);
  EXPECT_EQ(file().aMainWindow, form.get());

  EXPECT_EQ(file().countOfHolders(), 1);
  EXPECT_EQ(holder(0).countOfNodes(), 1);
  EXPECT_EQ(form->getCurHolder(), &holder(0));
  EXPECT_EQ(form->getCurMemoNode(), holder(0).firstNode());
  EXPECT_FALSE(file().flagChanged);
  EXPECT_EQ(form->TabControl1->count(), 1);
  EXPECT_EQ(panelText(1), "1");
  EXPECT_TRUE(ports.prompter.asked.empty());  // no level left a stand-in to a later one
}

TEST_F(TFormMainBase0007Test, LongOperationMessagesAndBreak) {
  form->beginDoing_("Job");
  EXPECT_EQ(message(), "*Doing* Job");
  EXPECT_TRUE(form->isBusy());
  EXPECT_EQ(message(), "Now Doing 2024/12/08 10:10:10:123");
  EXPECT_EQ(form->cursor().shape(), Qt::WaitCursor);
  form->endDoing_();
  EXPECT_EQ(message(), "Done: Job");
  EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
  EXPECT_FALSE(form->isBusy());

  form->beginDoing_("Job");
  form->breakDoing();
  EXPECT_EQ(message(), "Break 20241208 101010");
  EXPECT_TRUE(form->getAgent()->getFlagBreak());  // what model loops poll
  form->endDoing_("   ");
  EXPECT_EQ(message(), "Break: Job");
  form->beginDoing_("Job");
  form->endDoing_("  said  ");
  EXPECT_EQ(message(), "said");
}

TEST_F(TFormMainBase0007Test, TaskScopeEndsOnceAndRefusesReentry) {
  {
    TaskScope outer(*form, "Outer");
    ASSERT_TRUE(outer.began());
    TaskScope inner(*form, "Inner");
    EXPECT_FALSE(inner.began());
    EXPECT_EQ(message().rfind("Now Doing ", 0), 0u);
    form->endDoing_();  // the "Done" button during the task
    EXPECT_EQ(message(), "Done: Outer");
    form->messageDoing_("later text");
    EXPECT_TRUE(form->isBusy());  // still unwinding
  }
  EXPECT_EQ(message(), "Now Doing 2024/12/08 10:10:10:123");  // not ended a second time
  EXPECT_FALSE(form->isBusy());
  {
    TaskScope task(*form, "Thrown");
    form->guard_("test", [] { throw std::runtime_error("boom"); });
  }
  EXPECT_EQ(message(), "Done: Thrown");
  EXPECT_TRUE(logHas("ERROR: test boom"));
}

// A loop that lets events run: Break stops it, and a command that arrives
// while it unwinds is refused.
TEST_F(TFormMainBase0007Test, BreakEndsAnEventLoopThatRefusesOtherCommands) {
  QPushButton* breakButton = nullptr;
  for (auto* button : form->TopPanel->findChildren<QPushButton*>())
    if (button->text() == "Break") breakButton = button;
  ASSERT_NE(breakButton, nullptr);
  const int nodes = holder(0).countOfNodes();
  int refused = 0, turns = 0;
  {
    TaskScope task(*form, "Walk");
    QTimer::singleShot(0, breakButton, &QPushButton::click);
    QTimer::singleShot(0, form.get(), [&] { refused = form->newMemoNode_(); });
    while (form->pumpEvents() && turns < 1000) ++turns;
    EXPECT_LT(turns, 1000);
    QCoreApplication::processEvents();  // what came after Break still finds the task
  }
  EXPECT_EQ(refused, -1);
  EXPECT_EQ(holder(0).countOfNodes(), nodes);
  EXPECT_EQ(message(), "Break: Walk");
  EXPECT_EQ(form->newMemoNode_(), 0);
  EXPECT_EQ(holder(0).countOfNodes(), nodes + 1);
}

TEST_F(TFormMainBase0007Test, LogWindowCollectsLinesAndMakesANodeOfThem) {
  EXPECT_EQ(form->addLog_("first"), 0);
  form->addLogDT_("second");
  EXPECT_EQ(logLines(), (StringList{"first", "20241208 101010 :second"}));
  EXPECT_EQ(form->showFormLog(), 0);
  TFormLog* log = form->getFormLog();
  EXPECT_TRUE(log->isVisible());
  EXPECT_EQ(log->windowTitle(), "FormLog noname");

  QPushButton* newNode = nullptr;
  for (auto* button : log->findChildren<QPushButton*>())
    if (button->text() == "NewNode") newNode = button;
  ASSERT_NE(newNode, nullptr);
  newNode->click();
  ASSERT_EQ(holder(0).countOfNodes(), 2);
  EXPECT_EQ(form->getCurMemoNode()->aMemo, (StringList{"first", "20241208 101010 :second"}));
  EXPECT_TRUE(holder(0).flagChanged);
  EXPECT_EQ(message(), "Done: New MemoNode " + form->getCurMemoNode()->getName());
}

TEST_F(TFormMainBase0007Test, SwitchesOfTheTopPanel) {
  AgentAPLAbs& agent = *form->getAgent();
  EXPECT_EQ(agent.query_("getUIInternet"), "true");  // on at start
  form->CheckBoxInternet->setChecked(false);
  EXPECT_EQ(agent.query_("getUIInternet"), "false");
  EXPECT_EQ(agent.query_("other"), "");
  EXPECT_EQ(agent.sendMessage_("from the model"), 0);
  EXPECT_EQ(message(), "from the model");

  form->getCurMemoNode()->putReadOnly_(true);
  form->Model2UI();
  EXPECT_EQ(panelText(0), "RO");
  form->CheckBoxReadOnly->setChecked(true);
  EXPECT_TRUE(form->getMemoEditor()->isReadOnly());

  file().putField_("Color", "\"clRed\"");
  form->updateCaption();
  EXPECT_EQ(form->getTopPanelColour(), Colour{0x0000FF});
  EXPECT_TRUE(form->windowTitle().endsWith(QString::fromStdString(dir.file("noname.mxa"))));
}

TEST_F(TFormMainBase0007Test, ReadOnlyGuards) {
  form->CheckBoxReadOnly->setChecked(true);
  EXPECT_EQ(form->newMemoNode_(), -8);
  EXPECT_EQ(message(), "UI ReadOnly");
  EXPECT_EQ(form->UIDeleteMemoNode(), -8);
  form->CheckBoxReadOnly->setChecked(false);

  holder(0).putReadOnly_(true);
  holder(0).putName_("Fixed");
  EXPECT_EQ(form->newMemoNode_(), -7);
  EXPECT_EQ(message(), "This MemoHolder is Read Only. (Fixed)");
  EXPECT_EQ(form->cloneMemoNode_(3), 0);
  EXPECT_EQ(holder(0).countOfNodes(), 1);
  holder(0).putReadOnly_(false);
  file().putField_("FlagReadOnly", "\"true\"");  // the memo file's flag covers every holder
  EXPECT_TRUE(form->checkHolderReadOnly());
}

TEST_F(TFormMainBase0007Test, TabRowFollowsTheCurrentHolderAndRefusesWhileBusy) {
  openMemoFile({{"A", {{"a1"}}}, {"B", {{"b1"}, {"b2"}}}, {"C", {{"c1"}}}});
  QTabBar& tabs = *form->TabControl1;
  ASSERT_EQ(tabs.count(), 3);
  EXPECT_EQ(tabs.currentIndex(), 0);
  file().flagChanged = false;

  tabs.setCurrentIndex(1);
  EXPECT_EQ(form->getCurHolder(), &holder(1));
  EXPECT_EQ(form->getCurMemoNode()->getName(), "b1");
  EXPECT_EQ(message(), "B");
  EXPECT_TRUE(file().flagChanged);  // the current holder is part of the memo file

  form->beginDoing_("Job");
  tabs.setCurrentIndex(2);
  EXPECT_EQ(tabs.currentIndex(), 1);
  EXPECT_EQ(form->getCurHolder(), &holder(1));
  form->endDoing_();

  // Back to a holder: its own current node, no second load.
  form->gotoMemoNode(holder(1).nodeAt_(1));
  tabs.setCurrentIndex(0);
  tabs.setCurrentIndex(1);
  EXPECT_EQ(form->getCurMemoNode()->getName(), "b2");
  EXPECT_EQ(form->_changeCurrentHolder_(nullptr, true), nullptr);
  MemoHolderUI stray;
  EXPECT_EQ(form->_changeCurrentHolder_(&stray, true), nullptr);
  EXPECT_EQ(tabs.currentIndex(), 1);
}

TEST_F(TFormMainBase0007Test, LazyLoadingOfMissingCorruptAndScriptedHolders) {
  const std::string corrupt = "<Holder name=\"Bad\">\r\n<Record name=\"x\">\r\n</Holder>\r\n";
  openMemoFile({{"Main", {{"m1"}, {"*Autoexec.ppa"}}},
                {"Gone", {}, "", false},
                {"Bad", {}, "", true, corrupt}});
  // Only the current holder is read, and its script runs once.
  EXPECT_TRUE(holder(0).flagLoaded);
  EXPECT_FALSE(holder(1).flagLoaded);
  EXPECT_EQ(form->played, (StringList{"Main:*Autoexec.ppa"}));

  form->_changeCurrentHolder_(&holder(1), true);
  EXPECT_TRUE(holder(1).flagLoaded);
  EXPECT_EQ(holder(1).countOfNodes(), 1);
  EXPECT_TRUE(logHas("Not Found MemoHolder: " + dir.file("Gone.mxh")));
  EXPECT_TRUE(form->getFormLog()->isVisible());

  form->_changeCurrentHolder_(&holder(2), true);
  EXPECT_TRUE(holder(2).flagParseFailed);
  EXPECT_EQ(holder(2).countOfNodes(), 1);
  EXPECT_TRUE(logHas("could not be read; it is not saved over"));
  // A holder that did not read is never "Done".
  EXPECT_EQ(message(), "Failure: MemoHolder \"Bad\" could not be read: " + dir.file("Bad.mxh"));

  form->_changeCurrentHolder_(&holder(0), true);
  EXPECT_EQ(form->played.size(), 1u);  // not again: the holder stays loaded

  // A holder that somehow has nodes before it is read is not read over.
  MemoHolder& extra = *file().newHolderAt_(-1);
  extra.newNode();
  extra.flagLoaded = false;
  form->_loadHolder_(extra);
  EXPECT_TRUE(extra.flagLoaded);
  ASSERT_EQ(ports.prompter.asked.size(), 1u);
  EXPECT_EQ(ports.prompter.asked[0].text.rfind("SYSTEM ERROR: Still exists Nodes before loading. "
                                               "Holder=\"new\" aH.aNodes.countOfNodes = 1",
                                               0),
            0u);
}

class TFormMainBase0007AutoSave : public MainWindowFixture {
 protected:
  // Seconds of fake time pass, then the window is idle.
  void idleAfter(int seconds) {
    ports.clock.advanceMs(std::int64_t(seconds) * 1000);
    form->onIdle();
  }
  std::string holderFile(const std::string& name) { return readFile(dir.file(name + ".mxh")); }
};

TEST_F(TFormMainBase0007AutoSave, RunsOnlyAboveSixtySecondsAndWritesOnlyChangedHolders) {
  openMemoFile({{"A", {{"a1"}}}, {"B", {{"b1"}}}});
  const std::string before = holderFile("B");
  form->_changeCurrentHolder_(&holder(1), true);  // B loaded, unchanged
  holder(0).flagChanged = true;

  form->putAutoSaveTime_(60);
  idleAfter(1000);
  EXPECT_TRUE(holder(0).flagChanged);

  form->putAutoSaveTime_(61);
  form->timeAutoSave = ports.clock.now();
  idleAfter(61);
  EXPECT_TRUE(holder(0).flagChanged);  // 61 whole seconds are not more than 61
  idleAfter(1);
  EXPECT_FALSE(holder(0).flagChanged);
  EXPECT_EQ(message(), "20241208 10:27:52 Done Save Auto.");
  EXPECT_NE(holderFile("A").find("CountSave=\"1\""), std::string::npos);
  EXPECT_EQ(holderFile("B"), before);
  EXPECT_EQ(form->timeAutoSave, ports.clock.now());
}

TEST_F(TFormMainBase0007AutoSave, WaitsWhileBusyOrAPromptIsOpen) {
  holder(0).flagChanged = true;
  form->putAutoSaveTime_(61);
  form->beginDoing_("Job");
  idleAfter(100);
  form->endDoing_();
  EXPECT_TRUE(holder(0).flagChanged);

  ports.prompter.whileOpen = [&](const Prompt&) { idleAfter(100); };
  ports.prompter.answer(Answer::Cancel);
  EXPECT_FALSE(form->closeQuerySave());
  EXPECT_TRUE(holder(0).flagChanged);
  ports.prompter.whileOpen = nullptr;

  form->onIdle();
  EXPECT_FALSE(holder(0).flagChanged);
}

TEST_F(TFormMainBase0007AutoSave, KeepsWhatItCouldNotWriteSafely) {
  const std::string corrupt = "<Holder name=\"Bad\">\r\n<Record name=\"x\">\r\n</Holder>\r\n";
  openMemoFile({{"Main", {{"m1"}}},
                {"Unread", {{"u1"}, {"u2"}, {"*Autoexec.ppa"}}},
                {"Bad", {}, "", true, corrupt}});
  form->_changeCurrentHolder_(&holder(2), true);
  form->_changeCurrentHolder_(&holder(0), true);
  form->played.clear();
  holder(1).flagChanged = true;  // changed but never read
  holder(2).flagChanged = true;  // its file did not parse
  form->putAutoSaveTime_(61);
  idleAfter(62);

  EXPECT_TRUE(holder(1).flagLoaded);
  EXPECT_FALSE(holder(1).flagChanged);
  const std::string unread = holderFile("Unread");
  EXPECT_NE(unread.find("<Record name=\"u2\">"), std::string::npos);
  EXPECT_TRUE(form->played.empty());  // loaded for saving: its script does not run

  EXPECT_TRUE(holder(2).flagChanged);
  EXPECT_EQ(holderFile("Bad"), corrupt);
  EXPECT_EQ(message().rfind("ERROR: Auto Save.", 0), 0u);
  EXPECT_TRUE(logHas("Not Saved MemoHolder: " + dir.file("Bad.mxh")));
}

}  // namespace
}  // namespace vrk::windowtest
