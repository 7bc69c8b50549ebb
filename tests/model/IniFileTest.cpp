// The settings file: line lookup, the usual value form, numbers and the
// bounds of every key, and what applying leaves for the window.
#include "model/IniFile.h"

#include <gtest/gtest.h>

#include <set>

namespace vrk {
namespace {

TEST(IniFile, LookupTakesTheFirstLineOfTheKeyInAnyCase) {
  const StringList lines = {"[vrk]",           "; comment", "fontname=First",
                            "FontName=Second", "Empty=",    "Eq=a=b"};
  EXPECT_EQ(iniRawValue_(lines, "FontName"), "First");
  EXPECT_EQ(iniRawValue_(lines, "EMPTY"), "");
  EXPECT_EQ(iniRawValue_(lines, "Eq"), "a=b");  // the value is all after the first "="
  EXPECT_EQ(iniRawValue_(lines, "[vrk]"), std::nullopt);
  EXPECT_EQ(iniRawValue_(lines, "Missing"), std::nullopt);
  // The name is not trimmed: a blank before the key makes another name.
  EXPECT_EQ(iniRawValue_({" TempDir=/x"}, "TempDir"), std::nullopt);
}

TEST(IniFile, ValueTextAndNumbers) {
  struct Case {
    std::string raw, text;
  };
  for (const Case& c : std::vector<Case>{{"  plain  ", "plain"},
                                         {" \"quoted\" ", "quoted"},
                                         {"\"open", "open"},
                                         {"close\"", "close\""},
                                         {"\"", ""},
                                         {"\"\"", ""}})
    EXPECT_EQ(iniText_(c.raw), c.text) << c.raw;

  struct Number {
    std::string text;
    int value;
  };
  for (const Number& n : std::vector<Number>{{"42", 42},
                                             {"-20", -20},
                                             {"+7", 7},
                                             {"12px", 0},
                                             {"abc", 0},
                                             {"", 0},
                                             {"-", 0},
                                             {"++1", 0},
                                             {"99999999999", 0}})
    EXPECT_EQ(iniInteger_(n.text), n.value) << n.text;
}

TEST(IniFile, DefaultsWhenNothingIsSet) {
  const IniSettings s = parseIniSettings_({"Unknown=1", "BufferSize=99"});
  EXPECT_FALSE(s.tempDir || s.fontName || s.fontSize || s.formWidth || s.formHeight || s.formTop ||
               s.formLeft || s.aboutImage);
  EXPECT_FALSE(s.flagFileLock);
  EXPECT_EQ(s.defaultOpenFile, "");
  EXPECT_EQ(s.periodShowAbout, 3000);
  EXPECT_TRUE(s.flagShowAbout);
  EXPECT_EQ(s.autoSaveTime, 0);
}

TEST(IniFile, EveryKeyWithItsBounds) {
  const IniSettings s = parseIniSettings_(
      {"TempDir= \"/var/tmp/vrk\" ", "FontName=\"IPAGothic\"", "FontSize=3", "FormWidth=100",
       "FormHeight=301", "FormTop=-20", "FormLeft=15", "DefaultOpenFile=memo",
       "PeriodShowAbout=501", "AboutImage=/p/a.jpg", "AutoSaveTime=-5"});
  EXPECT_EQ(s.tempDir, "/var/tmp/vrk");
  EXPECT_EQ(s.fontName, "IPAGothic");
  EXPECT_EQ(s.fontSize, 5);
  EXPECT_EQ(s.formWidth, 300);
  EXPECT_EQ(s.formHeight, 301);
  EXPECT_EQ(s.formTop, 0);
  EXPECT_EQ(s.formLeft, 15);
  EXPECT_EQ(s.defaultOpenFile, "memo");
  EXPECT_EQ(s.periodShowAbout, 501);
  EXPECT_EQ(s.aboutImage, "/p/a.jpg");
  EXPECT_EQ(s.autoSaveTime, 0);

  // Malformed numbers read as 0, and the lower bounds apply.
  const IniSettings bad = parseIniSettings_(
      {"FontSize=x", "FormWidth=wide", "FormTop=top", "PeriodShowAbout=soon", "AutoSaveTime=5m"});
  EXPECT_EQ(bad.fontSize, 5);
  EXPECT_EQ(bad.formWidth, 300);
  EXPECT_EQ(bad.formTop, 0);
  EXPECT_EQ(bad.periodShowAbout, 2000);
  EXPECT_EQ(bad.autoSaveTime, 0);
  // Empty values leave things as they are.
  const IniSettings empty = parseIniSettings_({"FontSize=", "FormTop=  ", "PeriodShowAbout="});
  EXPECT_FALSE(empty.fontSize || empty.formTop);
  EXPECT_EQ(empty.periodShowAbout, 3000);
  EXPECT_EQ(parseIniSettings_({"PeriodShowAbout=500"}).periodShowAbout, 2000);
  EXPECT_EQ(parseIniSettings_({"AutoSaveTime=120"}).autoSaveTime, 120);
}

TEST(IniFile, TheTwoFlagsCompareTheirOwnForms) {
  struct Case {
    std::string line;
    bool lock;
  };
  // FlagFileLock: the raw value, neither trimmed nor unquoted.
  for (const Case& c : std::vector<Case>{{"FlagFileLock=\"true\"", true},
                                         {"flagfilelock=\"true\"", true},
                                         {"FlagFileLock=true", false},
                                         {"FlagFileLock= \"true\"", false},
                                         {"FlagFileLock=\"true\" ", false},
                                         {"FlagFileLock=\"TRUE\"", false}})
    EXPECT_EQ(parseIniSettings_({c.line}).flagFileLock, c.lock) << c.line;

  // FlagShowAbout: trimmed, not unquoted.
  struct Show {
    StringList lines;
    bool shown;
  };
  for (const Show& c : std::vector<Show>{{{"FlagShowAbout=true"}, false},
                                         {{"FlagShowAbout=\"true\""}, true},
                                         {{"FlagShowAbout=  \"true\"  "}, true},
                                         {{"FlagShowAbout="}, true},
                                         {{}, true},
                                         {{"FlagShowAbout=\"false\""}, false},
                                         {{"FlagShowAbout=no", "FlagShowAbout=\"true\""}, false}})
    EXPECT_EQ(parseIniSettings_(c.lines).flagShowAbout, c.shown)
        << (c.lines.empty() ? "(absent)" : c.lines[0]);
}

struct FakeFileSystem final : IniFileSystem {
  std::set<std::string> dirs, files;
  bool isWritableDirectory(const std::string& path) const override { return dirs.count(path); }
  bool isFile(const std::string& path) const override { return files.count(path); }
};

TEST(IniFile, ApplyingChecksTheTempDirAndTheAboutImage) {
  FakeFileSystem fs;
  fs.dirs = {"/var/tmp/vrk"};
  fs.files = {"/p/about.jpg"};
  IniApplied ok = applyIniSettings_({"TempDir=\"/var/tmp/vrk\"", "AboutImage=/p/about.jpg"}, fs);
  EXPECT_EQ(ok.tempDir, "/var/tmp/vrk");  // unquoted before the check
  EXPECT_EQ(ok.aboutImage, "/p/about.jpg");
  EXPECT_TRUE(ok.log.empty());

  IniApplied missing = applyIniSettings_({"TempDir=/nowhere", "AboutImage=/p/none.jpg"}, fs);
  EXPECT_EQ(missing.tempDir, "");  // the fallback, which is writable
  EXPECT_EQ(missing.aboutImage, "");
  EXPECT_EQ(missing.log, StringList{"Not found Temp Directory: /nowhere"});

  EXPECT_TRUE(applyIniSettings_({"TempDir="}, fs).log.empty());
}

TEST(IniFile, BesideTheProgram) {
  FakeFileSystem fs;
  fs.dirs = {"/opt/vrk/bin/"};
  EXPECT_EQ(besideProgramDir_("/opt/vrk/bin/", "/tests/here", fs), "/tests/here/");
  EXPECT_EQ(besideProgramDir_("/opt/vrk/bin/", "", fs), "/opt/vrk/bin/");
  const char* saved = std::getenv("XDG_CONFIG_HOME");
  const std::string kept = saved ? saved : "";
  ::setenv("XDG_CONFIG_HOME", "/home/u/.cfg", 1);
  EXPECT_EQ(besideProgramDir_("/usr/bin/", "", fs), "/home/u/.cfg/vrk/");
  ::unsetenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  if (home && *home) {
    EXPECT_EQ(besideProgramDir_("/usr/bin/", "", fs), std::string(home) + "/.config/vrk/");
  }
  if (saved) ::setenv("XDG_CONFIG_HOME", kept.c_str(), 1);
}

}  // namespace
}  // namespace vrk
