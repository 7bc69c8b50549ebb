// Start-up: the settings file beside the program, the about window, the
// start-up file of the command line or the default, and the top-level guard.
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>

#include "MainWindowTestSupport.h"
#include "platform/Path.h"
#include "shell/Startup.h"
#include "shell/TFormAbout.h"

namespace vrk::windowtest {
namespace {

// The window made with "beside the program" pointed at a scratch folder,
// and the current directory there too.
class Startup : public MainWindowFixture {
 protected:
  void SetUp() override {
    ::setenv("VRK_PROGRAM_DIR", beside.path().c_str(), 1);
    MainWindowFixture::SetUp();
    ::unsetenv("VRK_PROGRAM_DIR");
    saved = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
  }
  void TearDown() override { std::filesystem::current_path(saved); }

  std::string iniPath() { return iniFilePath_(form->aSettings.programDir); }
  std::string here(std::string_view name) { return dir.path() + "/" + std::string(name); }
  std::string writeMemoFile(const std::string& folder, std::string_view name) {
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/Ideas.mxh", std::ios::binary) << holderFileText({"Ideas", {{"one"}}});
    const std::string path = folder + "/" + std::string(name);
    std::ofstream(path, std::ios::binary) << memoFileText("work", "Ideas");
    return path;
  }

  ScratchDir beside;
  std::filesystem::path saved;
};

TEST_F(Startup, SettingsFileIsAppliedToTheWindow) {
  EXPECT_EQ(form->aSettings.programDir, beside.path() + "/");
  const std::string temp = beside.path() + "/temp dir";
  std::filesystem::create_directory(temp);
  beside.write(
      QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString() + ".ini",
      "[vrk]\r\nTempDir=\"" + temp +
          "\"\r\nFontName=DejaVu Sans\r\nFontSize=3\r\nFormWidth=100\r\n"
          "FormHeight=420\r\nFormTop=-20\r\nFormLeft=33\r\nFlagFileLock=\"true\"\r\n"
          "DefaultOpenFile=memo\r\nPeriodShowAbout=501\r\nFlagShowAbout=\"true\"\r\n"
          "AutoSaveTime=120\r\nAutoSaveTime=5\r\n");
  TAPLInitialer().launch_(form.get(), "vrk /x.mxa", ports.prompter);
  EXPECT_TRUE(logHas("20241208 101010 :Launch vrk /x.mxa"));
  EXPECT_TRUE(logHas("Load ini file = " + iniPath()));
  EXPECT_EQ(form->getTempDir(), temp + "/");
  EXPECT_EQ(form->font().family(), QStringLiteral("DejaVu Sans"));
  EXPECT_EQ(form->font().pointSize(), 5);
  EXPECT_EQ(form->width(), 300);
  EXPECT_EQ(form->height(), 420);
  EXPECT_EQ(form->y(), 0);
  EXPECT_EQ(form->x(), 33);
  EXPECT_TRUE(form->flagFileLock);
  EXPECT_EQ(form->defaultOpenFile, "memo");
  EXPECT_EQ(form->getAutoSaveTime(), 120);  // the first of two lines
  ASSERT_TRUE(form->getFormAbout()->isVisible());
  EXPECT_EQ(form->getFormAbout()->remainingMs(), 501);
  EXPECT_TRUE(ports.prompter.asked.empty());
}

TEST_F(Startup, MissingSettingsAndAMissingTempDir) {
  _loadINIFile_(form.get(), ports.prompter);
  EXPECT_TRUE(logHas("Not found ini file " + iniPath()));
  EXPECT_EQ(form->getFormAbout()->remainingMs(), 1800);
  EXPECT_FALSE(form->flagFileLock);

  form->getFormAbout()->close();
  beside.write(
      QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString() + ".ini",
      "TempDir=/no/such/dir\r\nFlagShowAbout=true\r\nFlagFileLock=true\r\n");
  _loadINIFile_(form.get(), ports.prompter);
  EXPECT_TRUE(logHas("Not found Temp Directory: /no/such/dir"));
  // The fallback takes files (not the program's folder, which may not).
  const std::string fallback = form->getTempDir();
  EXPECT_EQ(::access(fallback.c_str(), W_OK), 0) << fallback;
  EXPECT_FALSE(form->getFormAbout()->isVisible());
  EXPECT_FALSE(form->flagFileLock);

  EXPECT_EQ(_loadINIFile_(nullptr, ports.prompter), -1);
  EXPECT_EQ(ports.prompter.asked.back().text, "SYSTEM ERROR: aForm = nil in _loadINIFile_");
}

TEST_F(Startup, AboutWindowPictureCaptionCountdownAndClick) {
  TFormAbout& about = *form->getFormAbout();
  QImage picture(8, 8, QImage::Format_RGB32);
  picture.fill(Qt::red);
  const std::string jpg = beside.file("about.jpg");
  ASSERT_TRUE(picture.save(QString::fromStdString(jpg), "JPEG"));
  about.loadImage_(jpg);
  EXPECT_TRUE(about.hasPicture());
  EXPECT_TRUE(about.Label1->isHidden());

  about.loadImage_(beside.write("about.txt", "x"));
  EXPECT_FALSE(about.hasPicture());
  EXPECT_EQ(about.Label1->text(), QStringLiteral("about.txt"));
  EXPECT_EQ(about.Label1->font().pointSize(), 20);
  about.loadImage_(beside.file("missing.jpg"));  // counts as no name
  EXPECT_EQ(about.Label1->text(), QString());

  about.showPeriod_(400);
  EXPECT_TRUE(about.isVisible());
  about.tick();
  EXPECT_TRUE(about.isVisible());
  about.tick();
  EXPECT_FALSE(about.isVisible());

  about.showPeriod_();
  EXPECT_EQ(about.remainingMs(), 3000);
  about.MenuTimer->trigger();  // off: it stays until clicked
  EXPECT_FALSE(about.Timer1->isActive());
  QTest::mouseClick(&about, Qt::LeftButton);
  EXPECT_FALSE(about.isVisible());
}

TEST_F(Startup, StartUpFileResolution) {
  // A blank in a directory name: the whole remainder is the one name.
  const std::string spaced = writeMemoFile(here("my memos"), "work.mxa");
  EXPECT_EQ(form->openArg1("vrk " + spaced), 0);
  EXPECT_EQ(file().getFilePathMXA(), spaced);
  EXPECT_EQ(message(), "Done: Loaded " + spaced);
  EXPECT_EQ(form->windowTitle().contains(QStringLiteral("work.mxa")), true);
}

TEST_F(Startup, StartUpNameWithoutExtensionOrArgument) {
  struct Case {
    std::string commandLine, defaultFile;
    StringList files;    // made in the current directory first
    std::string opened;  // the name tried, in the current directory
    bool found;
  };
  const std::vector<Case> cases = {
      {"vrk", "", {"noname.maz"}, "noname.mxa", false},  // ".mxa" already: ".maz" not tried
      {"vrk", "", {"noname.mxa"}, "noname.mxa", true},
      {"vrk", "memo", {"memo.maz"}, "memo.maz", true},
      {"vrk", "memo", {}, "memo.mxa", false},
      {"vrk", "memo.mxv", {}, "memo.mxa", false},
      {"\"/opt/my apps/vrk\" work", "", {"work.mxa"}, "work.mxa", true},
      {"vrk   work", "", {"work.maz"}, "work.maz", true},
      {"vrk other", "", {}, "other", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.commandLine + " / " + c.defaultFile);
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
      std::filesystem::remove_all(entry.path());
    for (const std::string& name : c.files) {
      if (name.ends_with(".maz")) {
        // A package holding a memo file of the same name.
        const std::string source = writeMemoFile(here("src"), changeFileExt_(name, ".mxa"));
        ASSERT_EQ(form->_loadMemoFile_(source), 0);
        StringList log;
        ASSERT_GT(file().writePackage_(here(name), log), 0);
        std::filesystem::remove_all(here("src"));
      } else {
        writeMemoFile(dir.path(), name);
      }
    }
    form->newMemoFile_();  // as at start-up: no file name yet
    ports.prompter.asked.clear();
    form->defaultOpenFile = c.defaultFile;
    const std::string expected = here(c.opened);
    EXPECT_EQ(form->openArg1(c.commandLine), 0);
    if (c.found) {
      EXPECT_EQ(message(), "Done: Loaded " + expected);
      EXPECT_EQ(file().getFilePathMXA(), changeFileExt_(expected, ".mxa"));
    } else {
      EXPECT_EQ(message(), "Done: Not Found " + expected);
      EXPECT_TRUE(logHas("Not found \"" + expected + "\""));
      EXPECT_EQ(file().getFilePathMXA(), expected);
      EXPECT_TRUE(file().flagChanged);
      EXPECT_EQ(file().countOfHolders(), 1);
    }
    EXPECT_TRUE(ports.prompter.asked.empty());
  }
}

TEST_F(Startup, StartUpOpensHolderFilesAndReportsFailures) {
  const std::string holderFile = dir.write("Notes.mxh", holderFileText({"Notes", {{"n1"}}}));
  EXPECT_EQ(form->openArg1("vrk " + holderFile), 0);
  EXPECT_EQ(message(), "Done: Loaded " + holderFile);
  EXPECT_EQ(form->getCurHolder()->getName(), "Notes");
  EXPECT_FALSE(form->isBusy());

  // A file that is there but does not open is no "Done: Loaded".
  const std::string alien =
      dir.write("alien.mxa", "<?xml version=\"1.0\" ?>\r\n<Other>\r\n<A/>\r\n<B/>\r\n" +
                                 std::string(120, 'x') + "\r\n</Other>\r\n");
  form->newMemoFile_();
  file().putFileName_(here("noname.mxa"));
  EXPECT_EQ(form->openArg1("vrk " + alien), -1);
  EXPECT_EQ(message(), "Failure: Open Arg1 " + alien);
}

// A cut holder file or memo file is no "Done: Loaded", and is never saved over.
TEST_F(Startup, StartUpWithACutFileReportsAFailureAndKeepsTheFile) {
  const std::string path = writeMemoFile(dir.path(), "work.mxa");
  const std::string whole = holderFileText({"Ideas", {{"one"}, {"two"}}});
  const std::string cut = whole.substr(0, whole.find("  <Record name=\"two\">"));
  const std::string holderFile = dir.write("Ideas.mxh", cut);
  EXPECT_EQ(form->openArg1("vrk " + path), 0);
  EXPECT_EQ(message(), "Failure: MemoHolder \"Ideas\" could not be read: " + holderFile);
  EXPECT_TRUE(logHas("incomplete: the file ends early, before its </Holder>: " + holderFile));
  std::string why;
  EXPECT_EQ(form->saveHolder_(*form->getCurHolder(), &why), -1);
  EXPECT_EQ(readFile(holderFile), cut);

  const std::string text = memoFileText("work", "Ideas");
  const std::string cutMemo = text.substr(0, text.find("</File>"));
  const std::string cutPath = dir.write("cut.mxa", cutMemo);
  dir.write("Ideas.mxh", whole);
  form->newMemoFile_();
  file().putFileName_(here("noname.mxa"));
  EXPECT_EQ(form->openArg1("vrk " + cutPath), 0);
  EXPECT_EQ(message(),
            "Failure: MemoFile " + cutPath + " was not read whole; it is not saved over");
  EXPECT_EQ(form->getCurHolder()->countOfNodes(), 2);  // what was read is shown
  EXPECT_EQ(form->saveMemoFile_(&why), -1);
  EXPECT_NE(why.find("not saved over " + cutPath), std::string::npos) << why;
  EXPECT_EQ(readFile(cutPath), cutMemo);
}

TEST_F(Startup, CommandLineAndTopLevelGuard) {
  EXPECT_EQ(commandLineOf_({"/opt/my apps/vrk", "/a b/c.mxa"}), "\"/opt/my apps/vrk\" /a b/c.mxa");
  EXPECT_EQ(commandLineOf_({"/usr/bin/vrk"}), "/usr/bin/vrk");
  EXPECT_TRUE(runGuarded_([] {}, ports.prompter));
  EXPECT_TRUE(ports.prompter.asked.empty());
  EXPECT_FALSE(runGuarded_([] { throw std::runtime_error("escaped"); }, ports.prompter));
  ASSERT_EQ(ports.prompter.asked.size(), 1u);
  EXPECT_EQ(ports.prompter.asked[0].text, "ERROR Top Level vrk17");
}

}  // namespace
}  // namespace vrk::windowtest
