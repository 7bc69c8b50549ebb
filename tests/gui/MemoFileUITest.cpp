// The view-aware memo file: the holder tab row and saving changed holders.
#include <QSignalSpy>
#include <QTabBar>

#include "model/ModelTestSupport.h"
#include "shell/MemoFileUI.h"
#include "shell/MemoHolderUI.h"

namespace vrk {
namespace {

using modeltest::FixedServices;
using modeltest::readFile;
using modeltest::ScratchDir;

QStringList tabTexts(const QTabBar& tabs) {
  QStringList texts;
  for (int i = 0; i < tabs.count(); ++i) texts << tabs.tabText(i);
  return texts;
}

TEST(MemoFileUITabs, TheTabRowFollowsTheHolderList) {
  FixedServices services;
  MemoFileUI file;
  for (const char* name : {"a", "b", "c"}) file.newHolderAt_(-1)->putName_(name);
  QTabBar tabs;
  QSignalSpy switched(&tabs, &QTabBar::currentChanged);
  file.bindTabControl_(&tabs);
  EXPECT_EQ(tabTexts(tabs), (QStringList{"a", "b", "c"}));
  EXPECT_EQ(file.getHoldersView(), "TabControl");

  file.aCurMemoNode = file.holderAt_(2)->newNode();
  file.moveHolderFirst_(2);
  EXPECT_EQ(tabTexts(tabs), (QStringList{"c", "a", "b"}));
  EXPECT_EQ(tabs.currentIndex(), 0);  // the current node's holder
  file.holderAt_(1)->putName_("renamed");
  EXPECT_EQ(tabTexts(tabs), (QStringList{"c", "renamed", "b"}));
  file.moveHolderUp_(0);  // out of range: nothing
  file.newHolderAt_(1);
  EXPECT_EQ(tabTexts(tabs), (QStringList{"c", "new", "renamed", "b"}));
  std::unique_ptr<MemoHolder> removed = file.removeHolder_(file.holderAt_(0));
  EXPECT_EQ(tabTexts(tabs), (QStringList{"new", "renamed", "b"}));
  EXPECT_EQ(switched.count(), 0);  // refilling never switches holders

  file.clear();
  EXPECT_EQ(tabs.count(), 0);
  EXPECT_EQ(file.getHoldersView(), "TabControl");
  file.newHolderAt_(-1);
  EXPECT_EQ(tabTexts(tabs), (QStringList{"new"}));
  EXPECT_NE(dynamic_cast<MemoHolderUI*>(file.holderAt_(0)), nullptr);
}

TEST(MemoFileUITabs, WritingRecordsTheCurrentHolder) {
  FixedServices services;
  MemoFileUI file;
  file.newHolderAt_(-1)->putName_("first");
  MemoHolder* second = file.newHolderAt_(-1);
  second->putName_("second");
  file.aCurMemoNode = second->newNode();
  StringList lines;
  file.writeFileXML_(lines);
  EXPECT_EQ(file.getField_("CurrentHolder"), "\"second\"");
}

// The bytes of a holder file that names one record.
std::string holderText(const std::string& holder, const std::string& record) {
  return "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<Holder name=\"" + holder +
         "\">\r\n  <Record name=\"" + record + "\">\r\n    <Field UID=\"u\" />\r\n  </Record>\r\n" +
         "</Holder>\r\n";
}

TEST(MemoFileUISaving, ForcedSaveNeverWritesAHolderItHasNotRead) {
  FixedServices services;
  ScratchDir dir;
  MemoFileUI file;
  file.putFileName_(dir.file("work.mxa"));
  struct Case {
    const char* name;
    bool loaded, changed;
    std::string bytes;  // on disk before; empty: no file
    bool written;
  } cases[] = {
      {"shown", true, false, "", true},                                // forced
      {"unread", false, false, holderText("unread", "kept1"), false},  // its file holds it
      {"renamed", false, true, holderText("renamed", "kept2"), true},  // read, then written
      {"broken", false, true, "\x01\x02 neither text nor zlib", false},
  };
  for (const Case& c : cases) {
    MemoHolder* holder = file.newHolderAt_(-1);
    holder->putName_(c.name);
    holder->flagLoaded = c.loaded;
    holder->flagChanged = c.changed;
    if (!c.bytes.empty()) dir.write(std::string(c.name) + ".mxh", c.bytes);
  }
  file.findHolder_("shown")->newNode();

  StringList log;
  EXPECT_EQ(file.saveChangedHolders_(true, log), -1);  // the broken one could not be saved
  for (const Case& c : cases) {
    const std::string now = readFile(dir.file(std::string(c.name) + ".mxh"));
    EXPECT_EQ(now != c.bytes, c.written) << c.name;
    EXPECT_EQ(file.findHolder_(c.name)->flagChanged, c.changed && !c.written) << c.name;
  }
  EXPECT_NE(readFile(dir.file("renamed.mxh")).find("kept2"), std::string::npos);
  EXPECT_NE(std::find(log.begin(), log.end(), "Not Saved MemoHolder: " + dir.file("broken.mxh")),
            log.end());

  log.clear();
  file.findHolder_("shown")->flagChanged = true;
  EXPECT_EQ(file.saveChangedHolders_(false, log), -1);  // unforced: the changed ones only
  EXPECT_FALSE(file.findHolder_("shown")->flagChanged);
}

}  // namespace
}  // namespace vrk
