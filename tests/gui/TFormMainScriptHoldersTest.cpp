// The holder commands with scripted answers: deleting with each answer, the
// save report, CSV in and out, the "Each" commands, clone, move, rename and
// reload.
#include <QPlainTextEdit>
#include <QTabBar>
#include <filesystem>

#include "MainWindowTestSupport.h"
#include "platform/Path.h"
#include "shell/TFrameMemoHolder.h"
#include "text/CharEX.h"

namespace vrk::windowtest {
namespace {
namespace fs = std::filesystem;

class TFormMainScriptHolders : public MainWindowFixture {
 protected:
  StringList holderNames() {
    StringList names;
    for (int i = 0; i < file().countOfHolders(); ++i) names.push_back(holder(i).getName());
    return names;
  }
  StringList tabNames() {
    StringList names;
    for (int i = 0; i < form->TabControl1->count(); ++i)
      names.push_back(qStringToSjis(form->TabControl1->tabText(i)).value_or("?"));
    return names;
  }
  std::string current() { return form->getCurHolder()->getName(); }
  TFrameMemoHolder& frame() { return *dynamic_cast<TFrameMemoHolder*>(form->getFrameMemoHolder()); }
};

// The current holder B has changed. Each row: the answers, whether B goes,
// whether its file is written.
TEST_F(TFormMainScriptHolders, DeleteAsksToSaveThenToDelete) {
  struct Case {
    std::vector<Answer> answers;
    bool deleted;
    bool saved;
  };
  const Case cases[] = {
      {{Answer::Cancel}, false, false},         {{Answer::No, Answer::No}, false, false},
      {{Answer::No, Answer::Yes}, true, false}, {{Answer::Yes, Answer::Yes}, true, true},
      {{Answer::Yes, Answer::No}, false, true},
  };
  for (const Case& c : cases) {
    openMemoFile({{"A", {{"a1"}}}, {"B", {{"b1"}}}, {"C", {{"c1"}}}});
    form->_changeCurrentHolder_(&holder(1), true);
    holder(1).newNode();
    holder(1).flagChanged = true;
    const std::string before = readFile(dir.file("B.mxh"));
    ports.prompter.asked.clear();
    for (Answer a : c.answers) ports.prompter.answer(a);
    form->UIDeleteMemoHolder();
    EXPECT_EQ(ports.prompter.countOfPending(), 0u);
    EXPECT_EQ(ports.prompter.asked.front().text,
              "Shall I Save Current Holder ? \r\n" + dir.file("B.mxh"));
    if (c.answers.size() > 1) {
      EXPECT_EQ(ports.prompter.asked.back().text, "Shall I delete Current Holder Realy ?");
    }
    EXPECT_EQ(holderNames(), c.deleted ? StringList({"A", "C"}) : StringList({"A", "B", "C"}));
    EXPECT_EQ(tabNames(), holderNames());
    EXPECT_EQ(readFile(dir.file("B.mxh")) != before, c.saved);
    // The holder that took the deleted one's place is shown.
    EXPECT_EQ(current(), c.deleted ? "C" : "B");
    EXPECT_TRUE(fs::exists(dir.file("B.mxh")));  // the file stays on disk
  }
}

TEST_F(TFormMainScriptHolders, DeleteTheLastOrTheOnlyHolder) {
  EXPECT_EQ(form->UIDeleteMemoHolder(), -1);
  EXPECT_EQ(message(), "Don't Delete Holder.  Only One Holder!");
  EXPECT_EQ(file().countOfHolders(), 1);

  openMemoFile({{"A", {{"a1"}}}, {"B", {{"b1"}}}});
  form->_changeCurrentHolder_(&holder(1), true);
  holder(1).flagChanged = false;
  ports.prompter.answer(Answer::Yes);
  EXPECT_EQ(form->UIDeleteMemoHolder(), 0);
  EXPECT_EQ(holderNames(), StringList({"A"}));
  EXPECT_EQ(current(), "A");
  EXPECT_TRUE(file().flagChanged);
}

// A failed save keeps the holder: deleting it would lose what was not saved.
TEST_F(TFormMainScriptHolders, DeleteKeepsAHolderWhoseSaveFailed) {
  openMemoFile({{"A", {{"a1"}}}, {"B", {{"b1"}}}});
  form->_changeCurrentHolder_(&holder(1), true);
  holder(1).flagChanged = true;
  fs::remove(dir.file("B.mxh"));
  fs::create_directory(dir.file("B.mxh"));
  ports.prompter.answer(Answer::Yes);
  ports.prompter.answer(Answer::Yes);
  EXPECT_EQ(form->UIDeleteMemoHolder(), -1);
  EXPECT_EQ(holderNames(), StringList({"A", "B"}));
  EXPECT_EQ(ports.prompter.countOfPending(), 1u);  // the delete question was not asked
}

TEST_F(TFormMainScriptHolders, SavedSizeIsBytesUpTo1024ThenKBytes) {
  const std::pair<long long, const char*> cases[] = {
      {0, "0Bytes"}, {1024, "1024Bytes"}, {1025, "1KBytes"}, {2047, "1KBytes"}, {2048, "2KBytes"}};
  for (const auto& [size, text] : cases) EXPECT_EQ(TFormMainScript::savedSizeText_(size), text);
}

// The report of a save, at the edge of the two units: the holder's text is
// padded until its file is exactly 1024, then 1025 bytes.
TEST_F(TFormMainScriptHolders, SaveReportsTheSizeCountAndTime) {
  MemoNode& node = *form->getCurMemoNode();
  const std::string path = dir.file("new.mxh");
  ASSERT_EQ(form->UISaveHolderNoMSG(), 0);
  int saves = 1;
  std::size_t length = 1;  // of the one memo line: the file grows with it byte for byte
  for (const long long wanted : {1024LL, 1025LL}) {
    for (int round = 0; round < 3; ++round) {
      node.aMemo = {std::string(length, 'x')};
      form->Model2UI();
      ASSERT_EQ(form->UISaveHolderNoMSG(), 0);
      ++saves;
      const long long size = static_cast<long long>(fs::file_size(path));
      if (size == wanted) break;
      length = static_cast<std::size_t>(static_cast<long long>(length) + wanted - size);
    }
    ASSERT_EQ(static_cast<long long>(fs::file_size(path)), wanted);
    const std::string expected = (wanted == 1024 ? "1024Bytes" : "1KBytes");
    EXPECT_EQ(message(), "Done: Saved size=" + expected + " count of Nodes=1 CountSave=" +
                             std::to_string(saves) + " 2024/12/08 10:10:10:123 " + path);
    EXPECT_FALSE(holder(0).flagChanged);
  }
}

TEST_F(TFormMainScriptHolders, SaveWithMessageAndSaveAs) {
  ports.prompter.answer(Answer::Cancel);
  EXPECT_EQ(form->UISaveHolderWithMSG(), -1);
  EXPECT_EQ(ports.prompter.asked.back().text,
            "Sould I save Holder named \"" + dir.file("new.mxh") + "\"");
  EXPECT_FALSE(fs::exists(dir.file("new.mxh")));

  const std::string packed = dir.file("packed.mhz");
  ports.prompter.answerText(packed);
  EXPECT_EQ(form->UISaveAsHolder_(".mhz"), 0);
  EXPECT_EQ(ports.prompter.asked.back().filter,
            "Holder(*.mxh)|*.mxh|compress Holder(*.mhz)|ALL files (*.*)|*.*");
  EXPECT_TRUE(startsWith_(message(), "Done size="));
  EXPECT_TRUE(fs::exists(packed));
  EXPECT_EQ(holder(0).getField_("Filename"), "\"" + packed + "\"");

  ports.prompter.answerText(dir.file("wrong.txt"));
  EXPECT_EQ(form->UISaveAsHolder_(".mxh"), -1);
  EXPECT_EQ(message(), "FileExtention is missmatch.  \"" + dir.file("wrong.txt") + "\"");
  EXPECT_EQ(holder(0).getField_("Filename"), "\"" + packed + "\"");  // as before
}

// --- CSV

// The table of CSV cases is the model's; the command reads the file, names
// the holder after it and shows it.
TEST_F(TFormMainScriptHolders, OpenCsvMakesACurrentHolderNamedAfterTheFile) {
  const std::string csv = dir.write("people.csv", "# list\r\nname,age\r\nann,31\r\nbob,42\r\n");
  ports.prompter.answerText(csv);
  EXPECT_EQ(form->UIOpenCSV(), 0);
  EXPECT_EQ(current(), "people");
  EXPECT_EQ(form->getCurHolder()->countOfNodes(), 2);
  EXPECT_TRUE(form->getCurHolder()->flagLoaded);
  EXPECT_TRUE(file().flagChanged);
  EXPECT_EQ(message(), "Done: Open CSV -> Holder " + csv);
}

// A list view's columns go out as CSV and come back as the same fields.
TEST_F(TFormMainScriptHolders, CsvExportThenImportGivesTheSameFields) {
  openMemoFile({{"P", {{"Columns"}, {"ann"}, {"bob"}}}});
  MemoHolder& people = holder(0);
  people.putField_("QueryNode", "\"Columns\"");
  people.findNode_("Columns")->aMemo = {"age 40", "town 80"};
  people.findNode_("ann")->putField_("age", "\"31\"");
  people.findNode_("ann")->putField_("town", "\"Kyoto\"");
  people.findNode_("bob")->putField_("age", "\"42\"");
  ASSERT_EQ(form->UIChangeView_(NodesMode::ListView), 0);
  EXPECT_EQ(message(), "Change ListView");
  ASSERT_EQ(frame().showQuery(), 0);

  form->getMemoEditor()->clear();
  const int lines = form->UICSV2SEL();
  EXPECT_EQ(lines, 5);  // the title, the columns, one per node
  const StringList text = [&] {
    StringList list;
    for (const QString& line :
         form->getMemoEditor()->textCursor().selectedText().split(QChar::ParagraphSeparator))
      list.push_back(qStringToSjis(line).value_or("?"));
    return list;
  }();
  ASSERT_EQ(text.size(), 5u);
  EXPECT_EQ(text[1], "age,town");

  MemoHolder* back = form->importCSV_(text);
  ASSERT_NE(back, nullptr);
  ASSERT_EQ(back->countOfNodes(), 3);
  // By value: an empty field and no field are the same.
  for (int i = 0; i < 3; ++i) {
    const MemoNode& source = *people.nodeAt_(i);
    for (const char* key : {"age", "town"})
      EXPECT_EQ(unquote_(back->nodeAt_(i)->getField_(key)), unquote_(source.getField_(key)))
          << source.getName() << " " << key;
  }
  EXPECT_EQ(back->nodeAt_(1)->getField_("town"), "\"Kyoto\"");
}

// --- the Each commands

TEST_F(TFormMainScriptHolders, SetRelativePathEachTakesOnlyAbsolutePaths) {
  const std::string base = dir.path() + "/";  // beside the holder's file, new.mxh
  const std::pair<std::string, std::string> cases[] = {
      {"\"" + base + "pics/a.jpg\"", "\"./pics/a.jpg\""},
      {"\"" + extractFilePath_(base.substr(0, base.size() - 1)) + "b.jpg\"", "\"../b.jpg\""},
      {"\"./c.jpg\"", "\"./c.jpg\""},
      {"\"$Parent/d.jpg\"", "\"$Parent/d.jpg\""},
      {"\"https://example.org/e.jpg\"", "\"https://example.org/e.jpg\""},
      {"\"f.jpg\"", "\"f.jpg\""},
  };
  MemoHolder& h = holder(0);
  while (h.countOfNodes() < static_cast<int>(std::size(cases))) h.newNode();
  for (int i = 0; i < h.countOfNodes(); ++i)
    h.nodeAt_(i)->putField_("Filename", cases[static_cast<std::size_t>(i)].first);
  h.flagChanged = false;
  EXPECT_EQ(form->UISetRelativePathEach(), 0);
  for (int i = 0; i < h.countOfNodes(); ++i)
    EXPECT_EQ(h.nodeAt_(i)->getField_("Filename"), cases[static_cast<std::size_t>(i)].second)
        << cases[static_cast<std::size_t>(i)].first;
  EXPECT_TRUE(h.flagChanged);
}

TEST_F(TFormMainScriptHolders, ExtractFilenameAndSetUpdateEach) {
  openMemoFile({{"A", {{"/home/u/a.txt"}, {"C:\\docs\\b.txt"}, {"plain"}}}});
  MemoHolder& h = holder(0);
  h.nodeAt_(0)->aMemo = {"text", utf8LiteralToSjis("  ●20240101 New year"), "more"};
  h.nodeAt_(2)->aComment = StringList{utf8LiteralToSjis("●v2\tnotes")};
  EXPECT_EQ(form->UIExtractFilenameEach(), 0);
  EXPECT_EQ(h.nodeAt_(0)->getName(), "a.txt");
  EXPECT_EQ(h.nodeAt_(1)->getName(), "b.txt");
  EXPECT_EQ(h.nodeAt_(2)->getName(), "plain");

  h.flagChanged = false;
  EXPECT_EQ(form->UISetUpdateEach(), 0);
  EXPECT_EQ(h.nodeAt_(0)->getField_("Update"), "\"20240101\"");
  EXPECT_EQ(h.nodeAt_(1)->getField_("Update"), "");
  EXPECT_EQ(h.nodeAt_(2)->getField_("Update"), "\"v2\"");
  EXPECT_FALSE(h.flagChanged);
}

// --- names, new holders, clones, order

TEST_F(TFormMainScriptHolders, RenameNewAndMove) {
  openMemoFile({{"A", {{"a1"}}}, {"B", {{"b1"}}}});
  ports.prompter.answerText("   ");
  EXPECT_EQ(form->UIRenameMemoHolder(), -1);
  EXPECT_EQ(current(), "A");
  ports.prompter.answerText("Alpha");
  EXPECT_EQ(form->UIRenameMemoHolder(), 0);
  EXPECT_EQ(message(), "Changed MemoHolder Name Alpha");
  // Named by the unique-name rule against all names, its own included: the
  // number is the place of the name taken, the first.
  const std::string other = "Alpha_00";
  EXPECT_EQ(form->UIRenameMemoHolderOther(), 0);
  EXPECT_EQ(current(), other);

  EXPECT_EQ(form->UINewMemoHolder(), 0);
  EXPECT_EQ(message(), "Done: New MemoHolder new");
  EXPECT_EQ(holderNames(), StringList({other, "new", "B"}));
  EXPECT_EQ(form->UINewHolderLeft(), 0);
  EXPECT_EQ(form->UINewHolderRight(), 0);
  EXPECT_EQ(message(), "Done: New Holder Right");
  EXPECT_EQ(holderNames(), StringList({"new_01", other, "new", "B", "new_02"}));

  form->_changeCurrentHolder_(&holder(1), true);
  EXPECT_EQ(form->UIMoveHolderRight(), 0);
  EXPECT_EQ(holderNames(), StringList({"new_01", "new", other, "B", "new_02"}));
  EXPECT_EQ(tabNames(), holderNames());
  EXPECT_EQ(form->TabControl1->currentIndex(), 2);
  EXPECT_EQ(form->UIMoveHolderLeft(), 0);
  EXPECT_EQ(form->UIMoveHolderLeft(), 0);
  EXPECT_EQ(form->UIMoveHolderLeft(), -9);  // the first already
  EXPECT_EQ(holderNames(), StringList({other, "new_01", "new", "B", "new_02"}));
}

TEST_F(TFormMainScriptHolders, CloneKeepsTheTreeAndNeverSharesAFile) {
  openMemoFile({{"T",
                 {{"root", "20240101_000000000_00000001"},
                  {"child", "20240101_000000000_00000002", "20240101_000000000_00000001"}}}});
  holder(0).putField_("FlagExtra", "\"true\"");
  holder(0).putField_("Filename", "\"" + dir.file("T.mxh") + "\"");
  ASSERT_EQ(form->UIChangeView_(NodesMode::TreeView), 0);
  EXPECT_EQ(form->UICloneMemoHolder(), 0);
  EXPECT_EQ(holderNames(), StringList({"T", "T_copy"}));
  auto& copy = static_cast<MemoHolderUI&>(holder(1));
  EXPECT_EQ(current(), "T_copy");
  EXPECT_EQ(copy.getMode(), NodesMode::TreeView);
  EXPECT_EQ(copy.countOfNodes(), 2);
  EXPECT_EQ(copy.getFileName(), dir.file("T_copy.mxh"));  // not T.mxh, the source's own
}

TEST_F(TFormMainScriptHolders, ReloadDropsEditsForTheFile) {
  openMemoFile({{"A", {{"a1"}, {"a2"}}}});
  holder(0).newNode();
  holder(0).firstNode()->aMemo = {"changed"};
  ASSERT_EQ(holder(0).countOfNodes(), 3);
  EXPECT_EQ(form->UIReloadMemoHolder(), 0);
  EXPECT_EQ(message(), "Done:UIReLoadMemoHolder " + dir.file("A.mxh"));
  ASSERT_EQ(holder(0).countOfNodes(), 2);
  EXPECT_EQ(holder(0).firstNode()->aMemo, StringList({"memo of a1"}));
  EXPECT_EQ(form->getCurHolder(), &holder(0));
  EXPECT_NE(form->getCurMemoNode(), nullptr);
}

TEST_F(TFormMainScriptHolders, ListsGoIntoTheEditorsSelection) {
  openMemoFile({{"A", {{"a1"}, {"a2"}}}, {"B", {{"b1"}}}});
  holder(0).nodeAt_(0)->putField_("Kind", "\"x\"");
  form->getMemoEditor()->clear();
  EXPECT_EQ(form->UIHolderList2SEL(), 0);
  EXPECT_EQ(form->getMemoEditor()->textCursor().selectedText(), QStringLiteral("A\u2029B"));
  ports.prompter.answerText("Kind");
  EXPECT_EQ(form->UINameValue2SEL(true), 0);
  EXPECT_EQ(form->getMemoEditor()->textCursor().selectedText(),
            QStringLiteral("# vrk.exe \"YYYYMMDD\"\u2029name, Kind\u2029\"x\",a1\u2029,a2"));
}

}  // namespace
}  // namespace vrk::windowtest
