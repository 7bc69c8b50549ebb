// The command frame and the memo file commands, with scripted answers:
// refusals change nothing, escaping exceptions end as failures, saves are
// reported as they went, and no holder is ever written empty because it had
// not been read.
#include <QAction>
#include <QCheckBox>
#include <QTabBar>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <stdexcept>

#include "MainWindowTestSupport.h"
#include "shell/CommandFrame.h"
#include "platform/Path.h"
#include "text/CharEX.h"

namespace vrk::windowtest {
namespace {
namespace fs = std::filesystem;

bool startsWith(const std::string& text, std::string_view head) {
  return text.compare(0, head.size(), head) == 0;
}

using TFormMainScriptFiles = MainWindowFixture;

// Every command that a running task refuses: nothing is asked, nothing changes.
TEST_F(TFormMainScriptFiles, WhileBusyEveryCommandIsRefusedAndChangesNothing) {
  openMemoFile({{"A", {{"a1"}, {"a2"}}}, {"B", {{"b1"}}}});
  holder(0).flagChanged = true;
  const std::string mxa = readFile(dir.file("work.mxa"));
  const std::string holderA = readFile(dir.file("A.mxh"));
  const std::vector<std::pair<const char*, std::function<int()>>> commands = {
      {"UIOpenMemoFile", [&] { return form->UIOpenMemoFile(); }},
      {"UIOpenURL", [&] { return form->UIOpenURL(); }},
      {"UINewMemoFile", [&] { return form->UINewMemoFile(); }},
      {"UISaveFileWithMSG", [&] { return form->UISaveFileWithMSG(); }},
      {"UISaveFileWithoutMSG", [&] { return form->UISaveFileWithoutMSG(); }},
      {"saveAsMemoFile_", [&] { return form->saveAsMemoFile_(".maz"); }},
      {"UISaveAllHolders", [&] { return form->UISaveAllHolders(); }},
      {"UIOpenMemoHolder", [&] { return form->UIOpenMemoHolder(); }},
      {"UIOpenCSV", [&] { return form->UIOpenCSV(); }},
      {"UINewMemoHolder", [&] { return form->UINewMemoHolder(); }},
      {"UINewHolderLeft", [&] { return form->UINewHolderLeft(); }},
      {"UISaveHolderNoMSG", [&] { return form->UISaveHolderNoMSG(); }},
      {"UISaveAsHolder_", [&] { return form->UISaveAsHolder_(".mhz"); }},
      {"UIReloadMemoHolder", [&] { return form->UIReloadMemoHolder(); }},
      {"UIReLoadEach", [&] { return form->UIReLoadEach(); }},
      {"UISetRelativePathEach", [&] { return form->UISetRelativePathEach(); }},
      {"UIRenameMemoHolder", [&] { return form->UIRenameMemoHolder(); }},
      {"UIDeleteMemoHolder", [&] { return form->UIDeleteMemoHolder(); }},
      {"UICloneMemoHolder", [&] { return form->UICloneMemoHolder(); }},
      {"UIMoveHolderRight", [&] { return form->UIMoveHolderRight(); }},
      {"UIChangeView_", [&] { return form->UIChangeView_(NodesMode::TreeView); }},
      {"UICSV2Holder", [&] { return form->UICSV2Holder(); }},
  };
  TaskScope task(*form, "Long");
  for (const auto& [name, command] : commands) {
    ports.clock.advanceMs(1);
    EXPECT_LT(command(), 0) << name;
    EXPECT_TRUE(startsWith(message(), "Now Doing 2024/12/08 10:10:")) << name << ": " << message();
  }
  EXPECT_TRUE(ports.prompter.asked.empty());
  EXPECT_EQ(file().countOfHolders(), 2);
  EXPECT_EQ(holder(0).getName(), "A");
  EXPECT_EQ(holder(0).countOfNodes(), 2);
  EXPECT_EQ(static_cast<MemoHolderUI&>(holder(0)).getMode(), NodesMode::CheckListBox);
  EXPECT_EQ(readFile(dir.file("work.mxa")), mxa);
  EXPECT_EQ(readFile(dir.file("A.mxh")), holderA);
}

TEST_F(TFormMainScriptFiles, TheFrameChecksReadOnlyAndStopsExceptions) {
  form->CheckBoxReadOnly->setChecked(true);
  EXPECT_EQ(form->UINewMemoHolder(), kRefusedUIReadOnly);
  EXPECT_EQ(message(), "UI ReadOnly");
  EXPECT_EQ(file().countOfHolders(), 1);
  form->CheckBoxReadOnly->setChecked(false);

  holder(0).putField_("FlagReadOnly", "\"true\"");
  EXPECT_EQ(form->UIExtractFilenameEach(), kRefusedHolderReadOnly);
  EXPECT_EQ(message(), "This MemoHolder is Read Only. (" + holder(0).getName() + ")");

  // The task begun inside ends once, and the failure is what is left to read.
  const int result = runCommand_(*form, {"Thrower", kCheckBusy}, [&]() -> int {
    TaskScope task(*form, "Throwing");
    throw std::runtime_error("boom");
  });
  EXPECT_EQ(result, kCommandFailed);
  EXPECT_EQ(message(), "Failure: Thrower boom");
  EXPECT_TRUE(logHas("Failure: Thrower boom"));
  EXPECT_FALSE(form->isBusy());
}

TEST_F(TFormMainScriptFiles, SaveWithMessageAsksThenReportsTheSize) {
  const std::string path = file().getFilePathMXA();
  ports.prompter.answer(Answer::Cancel);
  EXPECT_EQ(form->UISaveFileWithMSG(), -1);
  EXPECT_EQ(message(), "Cancel: UISaveFileWithMSG");
  EXPECT_EQ(ports.prompter.asked.back().text, "Could I save the file named \"" + path + "\" ?");
  EXPECT_FALSE(fs::exists(path));

  file().flagChanged = true;
  ports.prompter.answer(Answer::Yes);
  const int size = form->UISaveFileWithMSG();
  ASSERT_GT(size, 0);
  EXPECT_EQ(static_cast<int>(readFile(path).size()), size);
  EXPECT_EQ(message(), "Done: Save MemoFole Size=" + std::to_string(size) + "bytes  " + path);
  EXPECT_FALSE(file().flagChanged);
}

TEST_F(TFormMainScriptFiles, AMissingFolderIsMadeOnlyAfterYes) {
  const std::string folder = dir.file("new/deeper");
  file().putFileName_(folder + "/memo.mxa");
  ports.prompter.answer(Answer::Cancel);
  EXPECT_EQ(form->UISaveFileWithoutMSG(), -1);
  EXPECT_EQ(ports.prompter.asked.back().text, "Make Directory ?  \"" + folder + "/\"");
  EXPECT_FALSE(fs::exists(dir.file("new")));

  ports.prompter.answer(Answer::Yes);
  EXPECT_GT(form->UISaveFileWithoutMSG(), 0);
  EXPECT_TRUE(fs::exists(folder + "/memo.mxa"));
}

// A write that fails is reported as one, and what had changed stays changed.
TEST_F(TFormMainScriptFiles, FailedWritesLeaveTheChangedFlags) {
  fs::create_directory(dir.file("taken.mxa"));  // a folder where the file should go
  file().putFileName_(dir.file("taken.mxa"));
  file().flagChanged = true;
  EXPECT_EQ(form->UISaveFileWithoutMSG(), -1);
  EXPECT_TRUE(startsWith(message(), "ERROR: _UISaveMemoFile")) << message();
  EXPECT_TRUE(file().flagChanged);

  file().putFileName_(dir.file("noname.mxa"));
  fs::create_directory(dir.file(holder(0).getName() + ".mxh"));
  holder(0).flagChanged = true;
  EXPECT_EQ(form->UISaveHolderNoMSG(), -1);
  EXPECT_TRUE(startsWith(message(), "ERROR c:=1 in _UISaveHolder.")) << message();
  EXPECT_TRUE(holder(0).flagChanged);
  EXPECT_EQ(form->UISaveAllHolders(), -1);
  EXPECT_TRUE(startsWith(message(), "Failure: Save All Holders")) << message();
  EXPECT_TRUE(holder(0).flagChanged);
}

// The menu's "Save All Holders" writes the memo file too: after its holders,
// which it names, and only once they are all written.
TEST_F(TFormMainScriptFiles, SaveAllHoldersWritesTheMemoFileLastAndOnlyAfterEveryHolder) {
  const std::string mxa = openMemoFile({{"A", {{"a1"}}}, {"B", {{"b1"}}}});
  const std::string before = readFile(mxa);
  form->_changeCurrentHolder_(&holder(1), true);  // read before its file goes
  form->_changeCurrentHolder_(&holder(0), true);
  for (int i = 0; i < 2; ++i) holder(i).flagChanged = true;
  file().flagChanged = true;
  fs::remove(dir.file("B.mxh"));
  fs::create_directory(dir.file("B.mxh"));
  QAction* saveAll = form->menuItem_("&File", "", "Save All Holders");
  ASSERT_NE(saveAll, nullptr);

  saveAll->trigger();
  EXPECT_EQ(message(),
            "Failure: Save All Holders Could not save MemoHolder \"B\": cannot replace " +
                dir.file("B.mxh") + ": " + std::strerror(EISDIR));
  EXPECT_TRUE(logHas("Saved: " + dir.file("A.mxh")));
  EXPECT_FALSE(holder(0).flagChanged);
  EXPECT_TRUE(holder(1).flagChanged);
  EXPECT_EQ(readFile(mxa), before);
  EXPECT_TRUE(file().flagChanged);

  fs::remove(dir.file("B.mxh"));
  saveAll->trigger();
  EXPECT_FALSE(holder(1).flagChanged);
  EXPECT_FALSE(file().flagChanged);
  EXPECT_NE(readFile(mxa), before);
}

// The holder with a file of its own elsewhere (FlagExtra) is still unread
// when the memo file moves to another folder: it is read from its place
// first, so that saving everything afterwards writes its nodes, not nothing.
TEST_F(TFormMainScriptFiles, SaveAsElsewhereThenSaveAllNeverEmptiesAHolderFile) {
  fs::create_directory(dir.file("extra"));
  fs::create_directory(dir.file("moved"));
  const std::string extraPath =
      dir.write("extra/X.mxh", holderFileText({"X", {{"x1"}, {"x2"}, {"x3"}}}));
  const std::string extraBytes = readFile(extraPath);
  dir.write("B.mxh", holderFileText({"B", {{"b1"}, {"b2"}}}));
  dir.write("A.mxh", holderFileText({"A", {{"a1"}}}));
  const std::string mxa =
      "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<File name=\"work\">\r\n"
      "  <Field CurrentHolder=\"A\" />\r\n"
      "  <Holder name=\"A\">\r\n    <Field FlagLoaded=\"false\" />\r\n  </Holder>\r\n"
      "  <Holder name=\"B\">\r\n    <Field FlagLoaded=\"false\" />\r\n  </Holder>\r\n"
      "  <Holder name=\"X\">\r\n    <Field FlagLoaded=\"false\" FlagExtra=\"true\" Filename=\"" +
      extraPath + "\" />\r\n  </Holder>\r\n</File>\r\n";
  ASSERT_EQ(form->_loadMemoFile_(dir.write("work.mxa", mxa)), 0);
  ASSERT_FALSE(holder(1).flagLoaded);
  ASSERT_FALSE(holder(2).flagLoaded);
  ASSERT_EQ(holder(2).getFileName(), extraPath);

  const std::string target = dir.file("moved/work2.mxa");
  ports.prompter.answerText(target);
  const int size = form->saveAsMemoFile_(".mxa");
  ASSERT_GT(size, 0);
  EXPECT_EQ(ports.prompter.asked.back().initial, dir.file("work.mxa"));
  EXPECT_EQ(message(), "Done: Save As MemoFile Size=" + std::to_string(size) + "bytes  " + target);
  EXPECT_EQ(file().getFilePathMXA(), target);
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(holder(i).flagChanged) << i;
    EXPECT_TRUE(holder(i).flagLoaded) << i;
  }
  EXPECT_EQ(holder(2).countOfNodes(), 3);

  EXPECT_EQ(form->UISaveAllHolders(), 3);
  EXPECT_EQ(message(), "Done: Save All Holders");
  // The extra holder went back to its own file, whole.
  const std::string extraAfter = readFile(extraPath);
  for (const char* name : {"x1", "x2", "x3"})
    EXPECT_NE(extraAfter.find(std::string("name=\"") + name + "\""), std::string::npos) << name;
  EXPECT_NE(extraAfter, extraBytes);  // written, not skipped
  // B went beside the new file with its nodes; its old file is as it was.
  const std::string movedB = readFile(dir.file("moved/B.mxh"));
  EXPECT_NE(movedB.find("name=\"b2\""), std::string::npos);
  EXPECT_EQ(readFile(dir.file("B.mxh")), holderFileText({"B", {{"b1"}, {"b2"}}}));
}

TEST_F(TFormMainScriptFiles, SaveAsPackageLoadsAndLogsMissingHolders) {
  openMemoFile({{"A", {{"a1"}}}, {"Gone", {}, {}, false}});
  ports.prompter.answerText(dir.file("work.maz"));
  EXPECT_GT(form->saveAsMemoFile_(".maz"), 0);
  EXPECT_EQ(ports.prompter.asked.back().initial, dir.file("work.maz"));
  EXPECT_TRUE(logHas("Not Found Holder: " + dir.file("Gone.mxh")));
  EXPECT_TRUE(fs::exists(dir.file("work.maz")));
  // The missing holder stays missing: no empty stand-in goes into the package.
  EXPECT_FALSE(holder(1).flagLoaded);
  EXPECT_EQ(holder(1).countOfNodes(), 0);
  EXPECT_TRUE(logHas("Not packed, not loaded: " + dir.file("Gone.mxh")));
  EXPECT_FALSE(holder(0).flagChanged);  // the same folder: holders are not marked
}

// Saving goes through the held file; Save As lets it go for the rest of the run.
TEST_F(TFormMainScriptFiles, SaveUnderTheLockThenSaveAsEndsIt) {
  const std::string path = openMemoFile({{"A", {{"a1"}}}});
  form->flagFileLock = true;
  ASSERT_EQ(form->lockStream.acquire_(path), 0);
  const int size = form->UISaveFileWithoutMSG();
  ASSERT_GT(size, 0);
  EXPECT_EQ(static_cast<int>(readFile(path).size()), size);
  FileLock other;
  EXPECT_EQ(other.acquire_(path), -1);  // still held

  ports.prompter.answerText(dir.file("copy.mxa"));
  EXPECT_GT(form->saveAsMemoFile_(".mxa"), 0);
  EXPECT_TRUE(logHas("FlagFileLock=false in TFormMainScript.saveAsMemoFile_"));
  EXPECT_FALSE(form->lockStream.isLocked());
  EXPECT_EQ(other.acquire_(path), 0);
}

TEST_F(TFormMainScriptFiles, OpenURLAndOpenFileReportWhatFailed) {
  ports.prompter.answerText("  ");
  EXPECT_EQ(form->UIOpenURL(), -1);
  EXPECT_EQ(message(), "Cancel: UIOpenURL");

  ports.prompter.answerText(dir.file("missing.mxa"));
  EXPECT_EQ(form->UIOpenURL(), -1);
  EXPECT_EQ(message(), "Can not load \"" + dir.file("missing.mxa") + "\".");

  EXPECT_EQ(form->UIOpenMemoFile(), -2);  // the dialog cancelled
  const Prompt& dialog = ports.prompter.asked.back();
  EXPECT_EQ(dialog.kind, Prompt::Kind::OpenFile);
  EXPECT_EQ(dialog.initial, "new.mxa");
  EXPECT_EQ(dialog.filter,
            "MXA files (*.mxa)|*.mxa|MXV files (*.mxv)|*.mxv|MAZ files (*.maz)|*.maz|ALL files "
            "(*.*)|*.*");
}

TEST_F(TFormMainScriptFiles, NewMemoFileAsksForChangesFirst) {
  openMemoFile({{"A", {{"a1"}}}, {"B", {{"b1"}}}});
  holder(0).flagChanged = true;
  EXPECT_EQ(form->UINewMemoFile(), -1);  // the prompt cancelled
  EXPECT_EQ(file().countOfHolders(), 2);

  ports.prompter.answer(Answer::No);
  ports.prompter.answer(Answer::No);
  EXPECT_EQ(form->UINewMemoFile(), 0);
  EXPECT_EQ(file().countOfHolders(), 1);
  EXPECT_EQ(holder(0).countOfNodes(), 1);
  EXPECT_EQ(form->getCurMemoNode(), holder(0).firstNode());
  EXPECT_FALSE(file().flagChanged);
}

}  // namespace
}  // namespace vrk::windowtest
