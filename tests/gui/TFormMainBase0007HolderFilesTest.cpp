// Where holders are saved: back to the file they were read from, and never
// two holders of one memo file into the same file.
#include <filesystem>

#include "MainWindowTestSupport.h"
#include "platform/Path.h"

namespace vrk::windowtest {
namespace {
namespace fs = std::filesystem;

// The current directory for one scope, as a start-up from that folder has it.
struct InFolder {
  explicit InFolder(const std::string& path) : saved(fs::current_path()) { fs::current_path(path); }
  ~InFolder() { fs::current_path(saved); }
  fs::path saved;
};

class TFormMainBase0007HolderFiles : public MainWindowFixture {
 protected:
  std::string current() { return form->getCurHolder()->getName(); }
  // Shows the holder and changes its first node's memo as the editor would.
  void edit(MemoHolder& holder, const std::string& memo) {
    form->_changeCurrentHolder_(&holder, true);
    holder.firstNode()->aMemo = {memo};
    holder.flagChanged = true;
    form->Model2UI();
  }
  StringList firstMemo(const std::string& name) {
    MemoHolder* holder = file().findHolder_(name);
    if (!holder) return {"no holder " + name};
    form->_changeCurrentHolder_(holder, true);
    return holder->firstNode()->aMemo;
  }
  static bool has(const std::string& path, std::string_view text) {
    return readFile(path).find(text) != std::string::npos;
  }
};

// "vrk X/sub/g.mxh" started in X, which holds an unrelated g.mxh; and the
// same holder opened into a memo file of X.
TEST_F(TFormMainBase0007HolderFiles, AHolderFromAnotherFolderIsSavedToItsOwnFile) {
  fs::create_directory(dir.file("sub"));
  const std::string unrelated = dir.write("g.mxh", holderFileText({"g", {{"unrelated"}}}));
  const std::string unrelatedBytes = readFile(unrelated);
  const std::string own = dir.write("sub/g.mxh", holderFileText({"g", {{"mine"}}}));
  const std::string work = dir.file("work.mxa");
  for (const bool named : {false, true}) {
    SCOPED_TRACE(named ? "memo file in X" : "start-up in X");
    InFolder here(dir.path());
    form->newMemoFile_();
    if (named) file().putFileName_(work);
    ASSERT_EQ(form->openArg1("vrk " + own), 0);
    MemoHolder& g = *form->getCurHolder();
    EXPECT_TRUE(g.isReadOnlyHolder());
    edit(g, named ? "edited in work" : "edited at start-up");
    ports.prompter.asked.clear();
    ASSERT_EQ(form->UISaveHolderNoMSG(), 0) << message();
    EXPECT_TRUE(ports.prompter.asked.empty()) << ports.prompter.asked.front().text;
    EXPECT_TRUE(message().ends_with(" " + own)) << message();
    EXPECT_TRUE(has(own, named ? "edited in work" : "edited at start-up"));
    EXPECT_EQ(readFile(unrelated), unrelatedBytes);
  }
  // The memo file finds it there again.
  std::string why;
  ASSERT_EQ(form->saveMemoFile_(&why), 0) << why;
  ASSERT_EQ(form->_loadMemoFile_(work), 0);
  EXPECT_EQ(file().findHolder_("g")->getFileName(), own);
  EXPECT_EQ(firstMemo("g"), StringList{"edited in work"});
  EXPECT_EQ(readFile(unrelated), unrelatedBytes);
}

// Opened from "a.1.mxh" and "a.2.mxh" beside the memo file: before, both were
// saved to "a.mxh", the second over the first.
TEST_F(TFormMainBase0007HolderFiles, HoldersWhoseNamesDifferAfterADotKeepTheirNodes) {
  const std::string work = dir.file("work.mxa");
  file().putFileName_(work);
  for (const char* name : {"a.1", "a.2"}) {
    const std::string path = dir.write(std::string(name) + ".mxh", holderFileText({name, {{"n"}}}));
    MemoHolder* holder = form->_openHolder_(path);
    ASSERT_NE(holder, nullptr);
    EXPECT_EQ(holder->getName(), name);
    EXPECT_FALSE(holder->isReadOnlyHolder());
    edit(*holder, std::string("memo of ") + name);
  }
  ASSERT_GE(form->UISaveAllHolders(), 0);
  EXPECT_EQ(message(), "Done: Save All Holders");
  std::string why;
  ASSERT_EQ(form->saveMemoFile_(&why), 0) << why;
  EXPECT_TRUE(ports.prompter.asked.empty());
  EXPECT_FALSE(fs::exists(dir.file("a.mxh")));

  ASSERT_EQ(form->_loadMemoFile_(work), 0);
  EXPECT_EQ(firstMemo("a.1"), StringList{"memo of a.1"});
  EXPECT_EQ(firstMemo("a.2"), StringList{"memo of a.2"});
}

// A memo file saved before this rule names "a.1" and "a.2", which share
// "a.mxh": told at load; what the file holds stays until the later holder
// has a file of its own.
TEST_F(TFormMainBase0007HolderFiles, AMemoFileWhoseHoldersShareAFileKeepsTheFirstOnesFile) {
  const std::string shared = dir.write("a.mxh", holderFileText({"a.1", {{"first"}}}));
  const std::string bytes = readFile(shared);
  const std::string work =
      dir.write("work.mxa",
                "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<File name=\"work\">\r\n"
                "  <Field CurrentHolder=\"a.1\" />\r\n"
                "  <Holder name=\"a.1\">\r\n    <Field FlagLoaded=\"false\" />\r\n  </Holder>\r\n"
                "  <Holder name=\"a.2\">\r\n    <Field FlagLoaded=\"false\" />\r\n  </Holder>\r\n"
                "</File>\r\n");
  ASSERT_EQ(form->openMemoFile_(work), 0);
  const std::string told = "MemoHolder \"a.2\" shares the file " + shared +
                           " with \"a.1\": it is not saved until it is renamed.";
  EXPECT_EQ(message(), told);
  EXPECT_TRUE(logHas(told));

  MemoHolder& later = *file().findHolder_("a.2");
  edit(later, "second");
  EXPECT_EQ(form->UISaveHolderNoMSG(), -1);
  EXPECT_TRUE(message().ends_with(told)) << message();
  ports.prompter.answerText(shared);
  EXPECT_EQ(form->UISaveAsHolder_(".mxh"), -1);
  EXPECT_EQ(message(), "Not Saved: " + shared + " is the file of MemoHolder \"a.1\"");
  EXPECT_EQ(readFile(shared), bytes);

  ports.prompter.answerText("a.3");
  EXPECT_EQ(form->UIRenameMemoHolder(), -1);
  EXPECT_EQ(message(),
            "Not Renamed: \"a.3\" would share the file " + shared + " with MemoHolder \"a.1\"");
  EXPECT_EQ(current(), "a.2");
  ports.prompter.answerText("a_2");
  EXPECT_EQ(form->UIRenameMemoHolder(), 0);
  ASSERT_EQ(form->UISaveHolderNoMSG(), 0) << message();
  EXPECT_EQ(readFile(shared), bytes);
  EXPECT_TRUE(has(dir.file("a_2.mxh"), "second"));

  // The first one still saves to its file; its copy gets one of its own.
  edit(*file().findHolder_("a.1"), "first, edited");
  ASSERT_EQ(form->UISaveHolderNoMSG(), 0) << message();
  EXPECT_TRUE(has(shared, "first, edited"));
  ASSERT_EQ(form->UICloneMemoHolder(), 0);
  EXPECT_EQ(current(), "a_1_copy");
}

// "Open OtherName" on a file another holder saves to: a copy beside the
// memo file, told so.
TEST_F(TFormMainBase0007HolderFiles, OpeningAHoldersFileAgainGivesACopyWithAFileOfItsOwn) {
  fs::create_directory(dir.file("sub"));
  const std::string far = dir.write("sub/g.mxh", holderFileText({"g", {{"far"}}}));
  const std::string bytes = readFile(far);
  ASSERT_NE(form->_openHolder_(far), nullptr);
  ports.prompter.answer(Answer::No);
  MemoHolder* copy = form->_openHolder_(far);
  ASSERT_NE(copy, nullptr);
  const std::string path = dir.file(copy->getName() + ".mxh");
  EXPECT_EQ(copy->getFileName(), path);
  EXPECT_EQ(message(), "Opened as a copy: " + far + " is the file of MemoHolder \"g\"; \"" +
                           copy->getName() + "\" is saved to " + path);
  ASSERT_EQ(form->UISaveHolderNoMSG(), 0) << message();
  EXPECT_TRUE(has(path, "far"));
  EXPECT_EQ(readFile(far), bytes);
}

}  // namespace
}  // namespace vrk::windowtest
