// Closing the main window: the save prompts, failed writes, holders that were
// never read or did not parse, closing while busy, and the file lock.
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "MainWindowTestSupport.h"

namespace vrk::windowtest {
namespace {

constexpr Buttons kFour = Answer::Yes | Answer::No | Answer::Cancel | Answer::YesToAll;

class TFormMainBase0007Close : public MainWindowFixture {
 protected:
  // Three holders, all read and changed, and a changed memo file.
  std::string openThreeChanged() {
    const std::string path = openMemoFile({{"A", {{"a1"}}}, {"B", {{"b1"}}}, {"C", {{"c1"}}}});
    for (int i = 0; i < 3; ++i) {
      form->_changeCurrentHolder_(&holder(i), true);
      holder(i).flagChanged = true;
    }
    file().flagChanged = true;
    return path;
  }
  bool saved(const std::string& holderName) {
    return readFile(dir.file(holderName + ".mxh")).find("CountSave=\"1\"") != std::string::npos;
  }
};

TEST_F(TFormMainBase0007Close, CancelAtTheSecondHolderPromptKeepsWhatWasSaved) {
  const std::string mxa = openThreeChanged();
  const std::string before = readFile(mxa);
  ports.prompter.answer(Answer::Yes);
  ports.prompter.answer(Answer::Yes);
  ports.prompter.answer(Answer::Cancel);
  EXPECT_FALSE(form->close());
  EXPECT_TRUE(form->isVisible());

  ASSERT_EQ(ports.prompter.asked.size(), 3u);
  EXPECT_EQ(ports.prompter.asked[0].text, "Shall I Save a MemoFile named as \n\"" + mxa + "\"");
  EXPECT_EQ(ports.prompter.asked[1].text,
            "Should I Save a MemoHolder named as \n\"" + dir.file("A.mxh") + "\" ?");
  EXPECT_EQ(ports.prompter.asked[1].buttons, kFour);
  EXPECT_NE(readFile(mxa), before);
  EXPECT_NE(readFile(mxa).find("CurrentHolder=\"C\""), std::string::npos);
  EXPECT_FALSE(file().flagChanged);
  EXPECT_TRUE(saved("A"));
  EXPECT_FALSE(saved("B"));
  EXPECT_FALSE(saved("C"));
  EXPECT_FALSE(holder(0).flagChanged);
  EXPECT_TRUE(holder(1).flagChanged);
}

TEST_F(TFormMainBase0007Close, YesToAllSavesEverythingWithoutFurtherPrompts) {
  openThreeChanged();
  ports.prompter.answer(Answer::YesToAll);
  EXPECT_TRUE(form->close());
  EXPECT_EQ(ports.prompter.asked.size(), 1u);
  EXPECT_TRUE(form->flagAllYes);
  for (const char* name : {"A", "B", "C"}) EXPECT_TRUE(saved(name)) << name;
}

TEST_F(TFormMainBase0007Close, ExitAllYesAsksNothingAndExitAsksAgain) {
  openThreeChanged();
  form->flagAllYes = true;
  ports.prompter.answer(Answer::Cancel);
  form->closeNormal();  // clears the flag: the prompts come back
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(ports.prompter.asked.size(), 1u);
  form->closeAllYes();
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(ports.prompter.asked.size(), 1u);
  EXPECT_TRUE(saved("C"));
}

TEST_F(TFormMainBase0007Close, AFailedWriteIsShownAndTheWindowStaysOpen) {
  file().flagChanged = true;
  file().putFileName_("/nonexistent-vrk-dir/memo.mxa");
  ports.prompter.answer(Answer::Yes);
  ports.prompter.answer(Answer::No);  // the holder: asked before anything is written
  EXPECT_FALSE(form->close());
  ASSERT_EQ(ports.prompter.asked.size(), 3u);
  EXPECT_EQ(ports.prompter.asked[2].box, BoxKind::Error);
  EXPECT_EQ(ports.prompter.asked[2].text,
            "Could not save the MemoFile: cannot create a temporary file for "
            "/nonexistent-vrk-dir/memo.mxa: " +
                std::string(std::strerror(ENOENT)));
  EXPECT_TRUE(file().flagChanged);
  EXPECT_TRUE(form->isVisible());

  // The holder beside it cannot be written either.
  file().flagChanged = false;
  ports.prompter.answer(Answer::Yes);
  EXPECT_FALSE(form->close());
  ASSERT_EQ(ports.prompter.asked.size(), 5u);
  EXPECT_EQ(ports.prompter.asked[4].text,
            "Could not save MemoHolder \"new\": cannot create a temporary file for "
            "/nonexistent-vrk-dir/new.mxh: " +
                std::string(std::strerror(ENOENT)));
  EXPECT_TRUE(holder(0).flagChanged);
}

// The memo file names its holders: it is written after them, and not while
// one of them cannot be written. The message says which ones were saved.
TEST_F(TFormMainBase0007Close, TheMemoFileIsWrittenAfterItsHoldersAndNotWhenOneFails) {
  const std::string mxa = openThreeChanged();
  const std::string before = readFile(mxa);
  std::filesystem::remove(dir.file("B.mxh"));
  std::filesystem::create_directory(dir.file("B.mxh"));  // no file can go there
  ports.prompter.answer(Answer::YesToAll);
  EXPECT_FALSE(form->close());
  ASSERT_EQ(ports.prompter.asked.size(), 2u);
  EXPECT_EQ(ports.prompter.asked[1].box, BoxKind::Error);
  const std::string expected = "Could not save MemoHolder \"B\": cannot replace " +
                               dir.file("B.mxh") + ": " + std::strerror(EISDIR) +
                               "\nSaved: " + dir.file("A.mxh") +
                               "\nNot saved, it is written after its holders: " + mxa;
  EXPECT_EQ(ports.prompter.asked[1].text, expected);
  EXPECT_TRUE(logHas("Could not save MemoHolder \"B\": cannot replace"));
  EXPECT_EQ(readFile(mxa), before);
  EXPECT_TRUE(file().flagChanged);
  EXPECT_TRUE(saved("A"));
  EXPECT_FALSE(saved("C"));
  EXPECT_TRUE(holder(1).flagChanged);
  EXPECT_TRUE(holder(2).flagChanged);

  std::filesystem::remove(dir.file("B.mxh"));
  EXPECT_TRUE(form->close());  // still "Yes to all"
  EXPECT_NE(readFile(mxa).find("CurrentHolder=\"C\""), std::string::npos);
  EXPECT_TRUE(saved("C"));
  EXPECT_NE(readFile(dir.file("B.mxh")).find("b1"), std::string::npos);
}

TEST_F(TFormMainBase0007Close, AnUnreadChangedHolderIsReadBeforeItIsSaved) {
  openMemoFile({{"A", {{"a1"}}}, {"B", {{"b1"}, {"b2"}, {"*Autoexec.ppa"}}}});
  form->played.clear();
  holder(1).flagChanged = true;  // renamed, say, without being opened
  ports.prompter.answer(Answer::Yes);
  EXPECT_TRUE(form->close());
  const std::string written = readFile(dir.file("B.mxh"));
  EXPECT_NE(written.find("<Record name=\"b2\">"), std::string::npos);
  EXPECT_NE(written.find("CountSave=\"1\""), std::string::npos);
  EXPECT_TRUE(form->played.empty());
}

TEST_F(TFormMainBase0007Close, AHolderThatDidNotParseIsNotWrittenOver) {
  const std::string corrupt = "<Holder name=\"Bad\">\r\n<Record name=\"x\">\r\n</Holder>\r\n";
  openMemoFile({{"Main", {{"m1"}}}, {"Bad", {}, "", true, corrupt}});
  form->_changeCurrentHolder_(&holder(1), true);
  holder(1).flagChanged = true;
  file().flagChanged = false;
  ports.prompter.answer(Answer::Yes);
  EXPECT_FALSE(form->close());
  ASSERT_EQ(ports.prompter.asked.size(), 2u);
  EXPECT_NE(ports.prompter.asked[1].text.find("is not saved: its file could not be read"),
            std::string::npos);
  EXPECT_EQ(readFile(dir.file("Bad.mxh")), corrupt);
}

TEST_F(TFormMainBase0007Close, ClosingWhileBusyBreaksInsteadAndExitNoEndsAtOnce) {
  holder(0).flagChanged = true;
  form->beginDoing_("Job");
  EXPECT_FALSE(form->close());
  EXPECT_TRUE(ports.prompter.asked.empty());
  EXPECT_TRUE(form->getFlagBreak());
  EXPECT_EQ(message(), "Now Doing 2024/12/08 10:10:10:123");
  form->endDoing_();
  EXPECT_EQ(message(), "Break: Job");

  {  // a task still unwinding refuses every close
    TaskScope task(*form, "Walk");
    form->breakDoing();
    EXPECT_FALSE(form->close());
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(ports.prompter.asked.empty());
  }
  ports.prompter.answer(Answer::Cancel);
  EXPECT_FALSE(form->close());  // now it asks as usual
  EXPECT_EQ(ports.prompter.asked.size(), 1u);

  ports.prompter.answer(Answer::Cancel);  // Exit -> Cancel: nothing
  form->terminateAsk_();
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(ports.prompter.asked.back().buttons, Answer::Yes | Answer::No | Answer::Cancel);
  EXPECT_EQ(ports.prompter.asked.back().text.rfind("Terminate vrk.exe \n\nYes: ", 0), 0u);

  form->beginDoing_("Job");
  ports.prompter.answer(Answer::No);  // Exit -> No: at once, busy or not
  form->terminateAsk_();
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(ports.prompter.asked.size(), 3u);
  EXPECT_FALSE(std::filesystem::exists(dir.file("new.mxh")));
}

TEST_F(TFormMainBase0007Close, UnderTheFileLockTheFileIsReplacedWholeAndStaysHeld) {
  const std::string mxa = openMemoFile({{"A", {{"a1"}}}});
  form->flagFileLock = true;
  ASSERT_EQ(form->lockStream.acquire_(mxa), 0);
  file().flagChanged = true;
  ports.prompter.answer(Answer::Yes);
  EXPECT_TRUE(form->closeQuerySave());
  const std::string written = readFile(mxa);
  EXPECT_NE(written.find("CurrentHolder=\"A\""), std::string::npos);
  EXPECT_EQ(written.substr(written.size() - 9), "</File>\r\n");
  FileLock other;
  EXPECT_EQ(other.acquire_(mxa), -1);  // the new file is the one held
  form->lockStream.release();
  EXPECT_EQ(other.acquire_(mxa), 0);
}

}  // namespace
}  // namespace vrk::windowtest
