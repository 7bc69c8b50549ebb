// The desktop integration in a scratch HOME, checked by the desktop's own
// tools: desktop-file-validate on the entries, the mime database that
// update-mime-database builds, and xdg-mime's answers.
#include "platform/DesktopIntegration.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "platform/PosixProcessRunner.h"

namespace vrk {
namespace {
namespace fs = std::filesystem;

std::string readText(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool hasProgram(const char* name) {
  PosixProcessRunner runner;
  return runner.run("sh", {"-c", std::string("command -v ") + name}, "", nullptr) == 0;
}

// HOME and the XDG folders point into a scratch folder while a test runs.
class ScratchHome {
 public:
  ScratchHome() {
    std::string pattern = (fs::temp_directory_path() / "vrk-home-XXXXXX").string();
    if (::mkdtemp(pattern.data())) home_ = pattern;
    for (const char* key : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CURRENT_DESKTOP"}) {
      const char* value = ::getenv(key);
      if (value)
        saved_[key] = value;
      else
        saved_[key] = std::nullopt;
    }
    ::setenv("HOME", home_.c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home_ / ".local/share").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home_ / ".config").c_str(), 1);
    // xdg-mime asks gio, which reads the user's mime database, under this desktop.
    ::setenv("XDG_CURRENT_DESKTOP", "GNOME", 1);
  }
  ~ScratchHome() {
    for (const auto& [key, value] : saved_) {
      if (value)
        ::setenv(key.c_str(), value->c_str(), 1);
      else
        ::unsetenv(key.c_str());
    }
    std::error_code ignored;
    fs::remove_all(home_, ignored);
  }
  const fs::path& path() const { return home_; }

 private:
  fs::path home_;
  std::map<std::string, std::optional<std::string>> saved_;
};

class DesktopIntegrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"update-mime-database", "update-desktop-database",
                             "desktop-file-validate", "xdg-mime", "gio"})
      if (!hasProgram(tool)) GTEST_SKIP() << tool << " is not installed (scripts/setup.sh)";
  }

  // The tool's output, trimmed; its exit code in *code.
  std::string run(const std::string& program, const StringList& arguments, int* code = nullptr) {
    std::string output;
    const int exit = runner.run(program, arguments, "", &output);
    if (code) *code = exit;
    while (!output.empty() && (output.back() == '\n' || output.back() == ' ')) output.pop_back();
    return output;
  }
  std::string fileTypeOf(const std::string& name) {
    const fs::path file = home.path() / name;
    std::ofstream(file) << "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n";
    return run("xdg-mime", {"query", "filetype", file.string()});
  }

  ScratchHome home;
  PosixProcessRunner runner;
  const std::string program = "/opt/my vrk/bin/vrk";
};

TEST_F(DesktopIntegrationTest, AssociateRegistersBothTypesAndTheDefaultProgram) {
  DesktopIntegration desktop(runner, desktopPlacesFromEnvironment_(runner));
  EXPECT_EQ(desktop.places().dataHome, (home.path() / ".local/share").string());
  const std::string before = fileTypeOf("before.mxa");
  EXPECT_NE(before, "application/x-vrk-memofile");

  std::string why;
  ASSERT_EQ(desktop.associate_(program, &why), 0) << why;
  const fs::path entry = home.path() / ".local/share/applications/vrk.desktop";
  int code = -1;
  const std::string complaints = run("desktop-file-validate", {entry.string()}, &code);
  EXPECT_EQ(code, 0) << complaints;
  EXPECT_EQ(complaints, "");
  EXPECT_NE(readText(entry).find("Exec=\"/opt/my vrk/bin/vrk\" %f\n"), std::string::npos);

  EXPECT_EQ(fileTypeOf("work.mxa"), "application/x-vrk-memofile");
  EXPECT_EQ(fileTypeOf("pack.maz"), "application/x-vrk-package");
  EXPECT_EQ(run("xdg-mime", {"query", "default", "application/x-vrk-memofile"}), "vrk.desktop");
  EXPECT_EQ(run("xdg-mime", {"query", "default", "application/x-vrk-package"}), "vrk.desktop");

  // Twice is the same as once.
  ASSERT_EQ(desktop.associate_(program, &why), 0) << why;
  EXPECT_EQ(fileTypeOf("again.mxa"), "application/x-vrk-memofile");
}

TEST_F(DesktopIntegrationTest, UnassociateRemovesTypesEntryAndDefaults) {
  DesktopIntegration desktop(runner, desktopPlacesFromEnvironment_(runner));
  std::string why;
  ASSERT_EQ(desktop.associate_(program, &why), 0) << why;
  // Somebody else's default in the same list stays.
  const fs::path mimeApps = home.path() / ".config/mimeapps.list";
  ASSERT_EQ(run("xdg-mime", {"default", "other.desktop", "text/x-other"}), "");

  ASSERT_EQ(desktop.unassociate(&why), 0) << why;
  EXPECT_FALSE(fs::exists(home.path() / ".local/share/applications/vrk.desktop"));
  EXPECT_FALSE(fs::exists(home.path() / ".local/share/mime/packages/vrk.xml"));
  EXPECT_NE(fileTypeOf("after.mxa"), "application/x-vrk-memofile");
  const std::string list = readText(mimeApps);
  EXPECT_EQ(list.find("x-vrk"), std::string::npos) << list;
  EXPECT_NE(list.find("text/x-other=other.desktop"), std::string::npos) << list;

  // Nothing left to remove is no failure.
  EXPECT_EQ(desktop.unassociate(&why), 0) << why;
}

TEST_F(DesktopIntegrationTest, ShortcutIsAValidLauncherStartedInTheProgramsFolder) {
  DesktopPlaces places = desktopPlacesFromEnvironment_(runner);
  places.desktopDir = (home.path() / "Desktop").string();
  DesktopIntegration desktop(runner, places);
  std::string made, why;
  ASSERT_EQ(desktop.makeShortcut_(program, &made, &why), 0) << why;
  EXPECT_EQ(made, places.desktopDir + "/vrk.desktop");
  int code = -1;
  const std::string complaints = run("desktop-file-validate", {made}, &code);
  EXPECT_EQ(code, 0) << complaints;
  EXPECT_NE(readText(made).find("Path=/opt/my vrk/bin\n"), std::string::npos);
  struct stat info {};
  ASSERT_EQ(::stat(made.c_str(), &info), 0);
  EXPECT_TRUE(info.st_mode & S_IXUSR);
}

TEST(DesktopEntryText, ExecQuotesTheReservedCharacters) {
  const std::pair<const char*, const char*> cases[] = {
      {"/usr/bin/vrk", "\"/usr/bin/vrk\""},
      {"/a b/vrk", "\"/a b/vrk\""},
      {"/a$b/v`k\"x", "\"/a\\\\$b/v\\\\`k\\\\\"x\""},
      {"/a\\b", "\"/a\\\\\\\\b\""},
      {"/100%/vrk", "\"/100%%/vrk\""},
  };
  for (const auto& [path, quoted] : cases)
    EXPECT_EQ(DesktopIntegration::execQuoted_(path), quoted) << path;
}

TEST(DesktopEntryText, AFailingToolIsReportedWithItsName) {
  PosixProcessRunner runner;
  std::string pattern = (fs::temp_directory_path() / "vrk-home-XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  // A data folder that cannot be made: under a plain file.
  std::ofstream(pattern + "/file") << "x";
  DesktopIntegration desktop(runner, {pattern + "/file/share", pattern + "/config", pattern});
  std::string why;
  EXPECT_EQ(desktop.associate_("/usr/bin/vrk", &why), -1);
  EXPECT_NE(why.find("cannot make"), std::string::npos) << why;
  fs::remove_all(pattern);
}

}  // namespace
}  // namespace vrk
