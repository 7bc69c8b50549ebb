// Opening files: the dispatch by extension, memo files with their questions
// and the lock, holder files, packages, ".z" files, CSV text and drops.
#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QUrl>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "MainWindowTestSupport.h"
#include "platform/FileLock.h"
#include "platform/SJ.h"
#include "shell/OpenFiles.h"
#include "text/UnitBasic.h"

namespace vrk::windowtest {
namespace {

class OpenFiles : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    form->putTempDir_(dir.path());
  }

  // A memo file NAME.mxa naming one holder HOLDER with one node, in folder.
  std::string writeMemoFile(const ScratchDir& folder, std::string_view name,
                            std::string_view holder, std::string_view node = "first") {
    folder.write(std::string(holder) + ".mxh",
                 holderFileText({std::string(holder), {{std::string(node)}}}));
    return folder.write(std::string(name) + ".mxa", memoFileText(name, holder));
  }
  std::string fileName() { return file().getFilePathMXA(); }
  StringList holderNames() {
    StringList names;
    for (int i = 0; i < file().countOfHolders(); ++i) names.push_back(holder(i).getName());
    return names;
  }
  std::string lastQuestion() const {
    return ports.prompter.asked.empty() ? std::string() : ports.prompter.asked.back().text;
  }
};

TEST_F(OpenFiles, DispatchByExtension) {
  ScratchDir other;
  const std::string memo = writeMemoFile(dir, "work", "Ideas");
  const std::string holderOnly =
      other.write("Extra.mxh", holderFileText({"Extra", {{"x1"}, {"x2"}}}));
  const std::string text = dir.write("notes.txt", "hello\r\n");
  std::filesystem::create_directory(dir.file("folder"));
  const std::string onlyMhz = dir.write("lonely.mhz", "not read");
  ports.downloader.pages["http://example.org/page.txt"] = "downloaded\r\n";

  struct Case {
    std::string name;
    int result;
    std::function<void()> check;
  };
  const std::vector<Case> cases = {
      {"", -1, [] {}},
      {dir.file("missing.mxa"), -1, [&] { EXPECT_EQ(holderNames(), StringList{"new"}); }},
      {dir.file("lonely"), -1, [&] {}},  // ".mhz" is not among the tried forms
      {dir.file("work"), 0,              // no extension: the ".mxa" form
       [&] {
         EXPECT_EQ(fileName(), memo);
         EXPECT_EQ(holderNames(), StringList{"Ideas"});
       }},
      {text, 0,
       [&] {
         MemoNode* node = form->getCurMemoNode();
         EXPECT_EQ(node->getName(), text);
         EXPECT_EQ(node->aMemo, StringList{"hello"});
       }},
      {dir.file("folder"), 1,
       [&] {
         EXPECT_EQ(form->getCurMemoNode()->getField_("Content-Transfer-Encoding"), "\"URL\"");
         EXPECT_EQ(form->getCurMemoNode()->getFilename(), dir.file("folder"));
       }},
      {"http://example.org/page.txt", 0,
       [&] {
         EXPECT_EQ(ports.downloader.requested.back(), "http://example.org/page.txt");
         EXPECT_EQ(form->getCurMemoNode()->aMemo, StringList{"downloaded"});
       }},
      {"https://example.org/gone.mxa", -1,
       [&] { EXPECT_EQ(message(), "Failure: Loading https://example.org/gone.mxa"); }},
      {holderOnly, 0,
       [&] {
         EXPECT_EQ(holderNames(), (StringList{"Ideas", "Extra"}));
         EXPECT_EQ(form->getCurHolder()->countOfNodes(), 2);
         EXPECT_TRUE(form->getCurHolder()->isReadOnlyHolder());  // from another folder
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(form->_open_(c.name), c.result);
    c.check();
  }
  EXPECT_TRUE(ports.prompter.asked.empty());
  EXPECT_TRUE(ports.desktop.calls.empty());
  (void)onlyMhz;
}

TEST_F(OpenFiles, AnotherMemoFileStartsASecondProgramTheSameOneAsksToReload) {
  const std::string work = writeMemoFile(dir, "work", "Ideas");
  ScratchDir other;
  const std::string second = writeMemoFile(other, "second", "Other");
  ASSERT_EQ(form->_open_(work), 0);  // unnamed "noname.mxa": replaced
  EXPECT_EQ(fileName(), work);

  EXPECT_EQ(form->_open_(second), 0);
  ASSERT_EQ(ports.desktop.calls.size(), 1u);
  EXPECT_EQ(ports.desktop.calls[0].find("start "), 0u);
  EXPECT_NE(ports.desktop.calls[0].find(" " + second + " in "), std::string::npos);
  EXPECT_EQ(fileName(), work);

  // The same file, also by another spelling of its path: the reload question.
  holder(0).firstNode()->aMemo = {"edited"};
  ports.prompter.answer(Answer::Cancel);
  EXPECT_EQ(form->_open_(dir.path() + "/./work.mxa"), -1);
  EXPECT_EQ(ports.desktop.calls.size(), 1u);
  EXPECT_EQ(lastQuestion(),
            dir.path() + "/./work.mxa" +
                SJ(" は既に読み込まれています。再読み込みするなら OK を押してください"));
  EXPECT_EQ(holder(0).firstNode()->aMemo, StringList{"edited"});

  ports.prompter.answer(Answer::Ok);
  EXPECT_EQ(form->_open_(work), 0);
  EXPECT_EQ(holder(0).firstNode()->aMemo, StringList{"memo of first"});
}

TEST_F(OpenFiles, UnsavedChangesAreAskedForBeforeAnotherMemoFileReplacesThem) {
  const std::string work = writeMemoFile(dir, "work", "Ideas");
  // The empty memo file as made is replaced without a question (see
  // DispatchByExtension); once something was typed into it, it is asked for.
  holder(0).firstNode()->aMemo = {"typed"};
  holder(0).flagChanged = true;
  ports.prompter.answer(Answer::Cancel);
  EXPECT_EQ(form->openMemoFile_(work), -1);
  EXPECT_EQ(lastQuestion().find("Should I Save a MemoHolder named as"), 0u);
  EXPECT_EQ(holderNames(), StringList{"new"});
  EXPECT_TRUE(holder(0).flagChanged);

  ports.prompter.answer(Answer::No);
  EXPECT_EQ(form->openMemoFile_(work), 0);
  EXPECT_EQ(holderNames(), StringList{"Ideas"});
  EXPECT_FALSE(form->flagAllYes);
}

TEST_F(OpenFiles, MemoFileLoadFailures) {
  // Too short: an empty memo file under that name, changed, so the first save makes it.
  const std::string tiny = dir.write("tiny.mxa", "<File/>");
  EXPECT_EQ(form->openMemoFile_(tiny), -1);
  EXPECT_TRUE(logHas("Too Short Size: " + tiny));
  EXPECT_EQ(fileName(), tiny);
  EXPECT_TRUE(file().flagChanged);

  // No File element: not taken as the name, so nothing is saved over it.
  const std::string alien =
      dir.write("alien.mxa", "<?xml version=\"1.0\" ?>\r\n<Other name=\"x\">\r\n<A/>\r\n<B/>\r\n" +
                                 std::string(120, 'x') + "\r\n</Other>\r\n");
  file().flagChanged = false;
  EXPECT_EQ(form->openMemoFile_(alien), -1);
  EXPECT_TRUE(logHas("BAT File: not found <File> " + alien));
  EXPECT_NE(fileName(), alien);

  // Another extension is asked for.
  const std::string text = dir.write("work.txt", memoFileText("work", "Ideas"));
  ports.prompter.answer(Answer::No);
  EXPECT_EQ(form->openMemoFile_(text), -1);
  EXPECT_EQ(lastQuestion(), SJ("拡張子が .mxa でも .mxv でないが、読み込んでいいのか？"));
}

TEST_F(OpenFiles, TheLockHoldsTheFileUntilSaveAs) {
  const std::string work = writeMemoFile(dir, "work", "Ideas");
  const auto lockedElsewhere = [](const std::string& path) {
    return std::system(("flock -n '" + path + "' true").c_str()) != 0;
  };
  if (std::system("command -v flock >/dev/null") != 0) GTEST_SKIP() << "flock(1) is missing";
  form->flagFileLock = true;
  ASSERT_EQ(form->openMemoFile_(work), 0);
  EXPECT_TRUE(logHas("open " + work + " FlagFileLock=true"));
  EXPECT_TRUE(lockedElsewhere(work));

  // Saving rewrites the held file and keeps holding it.
  file().flagChanged = true;
  std::string why;
  ASSERT_EQ(form->saveMemoFile_(&why), 0) << why;
  EXPECT_TRUE(lockedElsewhere(work));

  // Save As: the new name is written by name, and the lock ends.
  const std::string copy = dir.file("copy.mxa");
  StringList log;
  ASSERT_GT(file().saveAs_(copy, log), 0);
  form->endFileLock_("TFormMainScript.saveAsMemoFile_");
  EXPECT_FALSE(lockedElsewhere(work));
  EXPECT_TRUE(logHas("FlagFileLock=false in TFormMainScript.saveAsMemoFile_"));
  const std::string before = readFile(work);
  holder(0).firstNode()->putField_("Note", "\"later\"");
  file().putField_("Note", "\"later\"");
  ASSERT_EQ(form->saveMemoFile_(&why), 0) << why;
  EXPECT_EQ(readFile(work), before);  // the old file is not written any more
  EXPECT_NE(readFile(copy).find("later"), std::string::npos);

  // A file another program holds is refused, and the window goes on empty.
  form->flagFileLock = true;
  ASSERT_EQ(form->openMemoFile_(work), 0);
  form->lockStream.release();
  FileLock other;
  ASSERT_EQ(other.acquire_(copy), 0);
  EXPECT_EQ(form->_loadMemoFile_(copy), -1);
  EXPECT_EQ(lastQuestion(), "Could Not Open " + copy + " FlagFileLock=true");
  EXPECT_EQ(holderNames(), StringList{"new"});
}

TEST_F(OpenFiles, HolderFilesReloadOrOpenUnderAnotherName) {
  const std::string path = dir.write("Ideas.mxh", holderFileText({"Ideas", {{"a"}, {"b"}}}));
  ASSERT_NE(form->_openHolder_(path), nullptr);
  MemoHolder& ideas = *form->getCurHolder();
  EXPECT_EQ(ideas.getField_("FlagAbsolutePath"), "\"false\"");
  EXPECT_FALSE(ideas.isReadOnlyHolder());
  EXPECT_EQ(ideas.getFilename(), path);
  EXPECT_TRUE(file().flagChanged);
  ideas.firstNode()->aMemo = {"unsaved"};

  ports.prompter.answer(Answer::Cancel);
  EXPECT_EQ(form->_openHolder_(path), nullptr);
  EXPECT_EQ(lastQuestion(), path +
                                "\nStill opened. \"IDEAS\"\n"
                                "Could I Reload ?(=Yes) / Open OtherName(=No) or (CANCEL) ");

  ports.prompter.answer(Answer::No);
  MemoHolder* second = form->_openHolder_(path);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second->getName(), "Ideas");
  EXPECT_EQ(file().countOfHolders(), 3);
  EXPECT_TRUE(second->flagChanged);

  ports.prompter.answer(Answer::Yes);
  EXPECT_EQ(form->_openHolder_(path), &ideas);
  EXPECT_EQ(ideas.countOfNodes(), 2);
  EXPECT_EQ(ideas.firstNode()->aMemo, StringList{"memo of a"});  // the edit went
  EXPECT_EQ(form->getCurHolder(), &ideas);

  // The command refuses while busy; the inner step is what start-up uses.
  form->beginDoing_("Job");
  EXPECT_EQ(form->openHolder_(path), nullptr);
  form->endDoing_();
}

TEST_F(OpenFiles, HolderFromAnotherFolderOpensReadOnlyComparedByRealPath) {
  // Folders differing only by letter case are different folders here.
  std::filesystem::create_directory(dir.file("Work"));
  std::filesystem::create_directory(dir.file("work"));
  file().putFileName_(dir.file("Work/noname.mxa"));
  const std::string elsewhere = dir.write("work/Far.mxh", holderFileText({"Far", {{"f"}}}));
  const std::string beside = dir.write("Work/Near.mxh", holderFileText({"Near", {{"n"}}}));

  MemoHolder* far = form->_openHolder_(elsewhere);
  ASSERT_NE(far, nullptr);
  EXPECT_EQ(far->getField_("FlagAbsolutePath"), "\"true\"");
  EXPECT_TRUE(far->isReadOnlyHolder());
  // The memo file's own folder, named through "..": not read-only.
  MemoHolder* near = form->_openHolder_(dir.file("work/../Work/Near.mxh"));
  ASSERT_NE(near, nullptr);
  EXPECT_EQ(near->getField_("FlagAbsolutePath"), "\"false\"");
  EXPECT_FALSE(near->isReadOnlyHolder());
  (void)beside;
}

TEST_F(OpenFiles, PackagesAndCompressedFilesAskBeforeReplacing) {
  const std::string work = writeMemoFile(dir, "work", "Ideas");
  ASSERT_EQ(form->openMemoFile_(work), 0);
  ScratchDir target;
  StringList log;
  const std::string package = target.file("pkg.maz");
  ASSERT_GT(file().writePackage_(package, log), 0);
  form->newMemoFile_();
  file().putFileName_(dir.file("noname.mxa"));

  EXPECT_EQ(form->_open_(package), 0);
  EXPECT_EQ(fileName(), target.file("work.mxa"));
  EXPECT_EQ(holderNames(), StringList{"Ideas"});
  EXPECT_TRUE(ports.prompter.asked.empty());

  // ".z": an existing target is replaced only after "Overwrite OK? ".
  std::string compressed;
  ASSERT_EQ(deflateBytes_("replaced text\r\n", compressed), 0);
  const std::string z = dir.write("note.txt.z", compressed);
  const std::string existing = dir.write("note.txt", "old text\r\n");
  ports.prompter.answer(Answer::Cancel);
  EXPECT_EQ(form->_open_(z), 0);
  EXPECT_EQ(lastQuestion(), "Overwrite OK? " + existing);
  EXPECT_EQ(readFile(existing), "old text\r\n");
  ports.prompter.answer(Answer::Ok);
  EXPECT_EQ(form->_open_(z), 0);
  EXPECT_EQ(readFile(existing), "replaced text\r\n");
  EXPECT_EQ(form->getCurMemoNode()->aMemo, StringList{"replaced text"});

  // A broken stream says so and opens nothing.
  const std::string broken = dir.write("broken.txt.z", std::string("\x78\x9c\x01\x02", 4));
  EXPECT_EQ(form->_open_(broken), -1);
  EXPECT_EQ(lastQuestion(), "SYSTEM ERROR: _open_ ");
}

TEST_F(OpenFiles, CsvTextBecomesAHolder) {
  EXPECT_EQ(form->importCSV_({"title", "a,b"}), nullptr);
  EXPECT_EQ(form->importCSV_({"title", " ", "1,2"}), nullptr);
  EXPECT_EQ(file().countOfHolders(), 1);
  MemoHolder* csv = form->importCSV_({"title", "name,size", "apple,3", "pear,\"5"});
  ASSERT_NE(csv, nullptr);
  ASSERT_EQ(csv->countOfNodes(), 2);
  EXPECT_EQ(csv->nodeAt_(0)->getField_("name"), "\"apple\"");
  EXPECT_EQ(csv->nodeAt_(1)->getField_("size"), "\"\"5\"");
}

TEST_F(OpenFiles, DroppedFilesByMode) {
  const std::string a = dir.write("a.txt", "text of a\r\n");
  const std::string b = dir.write("b.txt", "text of b\r\n");
  const auto drop = [&](const StringList& paths) {
    QMimeData mime;
    QList<QUrl> urls;
    for (const std::string& path : paths) urls.push_back(QUrl::fromLocalFile(sjisToQString(path)));
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent event(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &event);
  };
  const int before = holder(0).countOfNodes();
  drop({a});  // "Open ": one file, opened
  EXPECT_EQ(holder(0).countOfNodes(), before + 1);
  EXPECT_EQ(form->getCurMemoNode()->getName(), a);
  drop({a, b});  // several: each opened, in order
  EXPECT_EQ(holder(0).countOfNodes(), before + 3);
  EXPECT_EQ(form->getCurMemoNode()->aMemo, StringList{"text of b"});

  form->aSettings.dropMode = DropMode::String;
  form->getMemoEditor()->clear();
  drop({a, b});
  EXPECT_EQ(form->getMemoEditor()->toPlainText(), sjisToQString(a + "\n" + b));
  form->aSettings.dropMode = DropMode::ExtractFileName;
  form->getMemoEditor()->clear();
  drop({a, b});
  EXPECT_EQ(form->getMemoEditor()->toPlainText(), QStringLiteral("a.txt\nb.txt"));
  EXPECT_EQ(holder(0).countOfNodes(), before + 3);  // nothing opened in these modes
}

TEST_F(OpenFiles, DropsOnTheEditorBoxes) {
  // The fields box: the same file twice leaves one Link line.
  StringList fields = {"Color=\"clRed\""};
  dropLinkIntoFields_(fields, "/data/pics/a.jpg");
  dropLinkIntoFields_(fields, "/data/pics/a.jpg");
  EXPECT_EQ(fields, (StringList{"Color=\"clRed\"", "Link=\"/data/pics/a.jpg\""}));
  dropLinkIntoFields_(fields, "/data/b.png");
  EXPECT_EQ(fields, (StringList{"Color=\"clRed\"", "Link=\"/data/b.png\""}));

  // The comment box: the file's lines, unless it is over 3 MB.
  StringList comment = {"kept"};
  std::string why;
  EXPECT_EQ(dropFileIntoComment_(comment, dir.write("c.txt", "one\r\ntwo\r\n"), &why), 0);
  EXPECT_EQ(comment, (StringList{"kept", "one", "two"}));
  const std::string large = dir.write("large.txt", std::string(kMaxDroppedText + 1, 'x'));
  EXPECT_EQ(dropFileIntoComment_(comment, large, &why), -1);
  EXPECT_EQ(why, "Too Large 3MB Over " + large);
  EXPECT_EQ(dropFileIntoComment_(comment, dir.file("none.txt"), &why), -1);
  EXPECT_EQ(comment.size(), 3u);
  const std::string exact = dir.write("exact.txt", std::string(kMaxDroppedText, 'y'));
  EXPECT_EQ(dropFileIntoComment_(comment, exact, &why), 0);
}

}  // namespace
}  // namespace vrk::windowtest
