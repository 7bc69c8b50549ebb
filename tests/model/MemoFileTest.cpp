// Memo files: the ".mxa" text, reading it back, holder list, lazy holders and
// saving into another folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "model/HolderFileIO.h"
#include "model/ModelTestSupport.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "platform/Path.h"
#include "text/Basic.h"
#include "text/FileIO.h"

namespace vrk {
namespace {

using modeltest::FixedServices;
using modeltest::readFile;
using modeltest::ScratchDir;

std::string fixture(std::string_view name) {
  return std::string(VRK_FIXTURES) + "/memofile/" + std::string(name);
}

StringList holderNames(const MemoFile& file) {
  HolderList list;
  file.listHolders_(list);
  StringList names;
  for (const auto& [name, holder] : list) names.push_back(name);
  return names;
}

std::string mxaText(const MemoFile& file) {
  StringList lines;
  const_cast<MemoFile&>(file).writeFileXML_(lines);
  return linesToBytes_(lines);
}

// A File element with the given Field attributes and children, padded with
// line ends to `size` bytes.
std::string mxaText(std::string_view fields, std::string_view children, std::size_t size = 100) {
  std::string text = "<File name=\"t\">\r\n  <Field " + std::string(fields) + " />\r\n" +
                     std::string(children) + "</File>\r\n";
  if (text.size() < size) text.append(size - text.size(), '\n');
  return text;
}

TEST(MemoFileText, GoldenBytesFromTheModelAndBackThroughTheReader) {
  FixedServices services;
  const std::string golden = readFile(fixture("golden.mxa"));

  MemoFile built;
  built.putFileName_("/data/memo/work.mxa");
  built.putField_("CurrentHolder", "\"Ideas\"");
  built.putField_("Version", "\"0.1\"");
  built.aMemo.push_back(utf8LiteralToSjis("表示 & memo"));
  built.aComment = StringList{"a comment is not written"};
  built.addHolder_(built.createHolder(), "Ideas");
  std::unique_ptr<MemoHolder> archive = built.createHolder();
  archive->putReadOnly_(true);
  archive->putField_("FileExt", "\".mhz\"");
  built.addHolder_(std::move(archive), "Archive");
  built.addHolder_(built.createHolder(), "a&b");
  EXPECT_EQ(mxaText(built), golden);

  MemoFile read;
  StringList errors;
  ASSERT_EQ(readMemoFile_(read, fixture("golden.mxa"), errors), 0);
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(holderNames(read), (StringList{"Ideas", "Archive", "a&b"}));
  EXPECT_EQ(read.aCurHolder, read.findHolder_("ideas"));
  EXPECT_EQ(read.getFilename(), fixture("golden.mxa"));
  EXPECT_EQ(read.getName(), "golden");
  EXPECT_EQ(read.getDirectory(), fixture(""));
  EXPECT_FALSE(read.flagChanged);
  EXPECT_FALSE(read.findHolder_("Ideas")->flagLoaded);
  EXPECT_EQ(read.findHolder_("Ideas")->countOfNodes(), 0);
  EXPECT_EQ(read.findHolder_("Archive")->getFileName(), fixture("Archive.mhz"));

  read.putFileName_("/data/memo/work.mxa");
  EXPECT_EQ(mxaText(read), golden);
}

TEST(MemoFileText, ReadingRules) {
  FixedServices services;
  ScratchDir dir;
  struct Case {
    const char* title;
    std::string text;
    int result;
    StringList names;
    const char* current;  // null: no current holder
    StringList memo;
    bool markupErrors;
  };
  const std::string oneHolder = "<Holder name=\"x\"></Holder>";
  const Case cases[] = {
      {"a second name in other letter case gets the index of the first",
       mxaText("", "<Holder name=\"a\"></Holder><Holder name=\"A\"></Holder>"),
       0,
       {"a", "A_00"},
       "a",
       {},
       false},
      {"CurrentHolder is trimmed and lower-cased",
       mxaText("CurrentHolder=\" IDEAS \"", oneHolder + "<Holder name=\"Ideas\"></Holder>"),
       0,
       {"x", "Ideas"},
       "Ideas",
       {},
       false},
      {"CurrentHolder naming no holder gives none",
       mxaText("CurrentHolder=\"gone\"", oneHolder),
       0,
       {"x"},
       nullptr,
       {},
       false},
      {"without name a holder is named by the time; an empty name stays empty",
       mxaText("", "<Holder></Holder><Holder name=\"\"></Holder>"),
       0,
       {"20241208 101010 ", ""},
       "20241208 101010 ",
       {},
       false},
      {"memo lines end at BR; text after the last BR is dropped",
       mxaText("k=\"v\"", "one<BR/>two<BR/>three"),
       0,
       {},
       nullptr,
       {"one", "two"},
       false},
      {"100 bytes are enough", mxaText("", oneHolder, 100), 0, {"x"}, "x", {}, false},
      {"99 bytes are too short even when well-formed",
       mxaText("", oneHolder, 99),
       -2,
       {},
       nullptr,
       {},
       false},
      {"4 words are too few however long", mxaText("", "<BR/>", 300), -2, {}, nullptr, {}, false},
      {"no File element",
       replaceAll_(mxaText("", oneHolder), "File", "Elif"),
       -3,
       {},
       nullptr,
       {},
       false},
      {"a markup error keeps what was built before it",
       mxaText("", oneHolder + "<Holder name=\"y\"></Wrong>"),
       0,
       {"x", "y"},
       "x",
       {},
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    const std::string path = dir.write("t.mxa", c.text);
    MemoFile file;
    StringList errors;
    ASSERT_EQ(readMemoFile_(file, path, errors), c.result);
    EXPECT_EQ(holderNames(file), c.names);
    EXPECT_EQ(file.aCurHolder, c.current ? file.findHolder_(c.current) : nullptr);
    EXPECT_EQ(file.aMemo, c.memo);
    EXPECT_EQ(!errors.empty(), c.markupErrors);
    // Read only up to a markup error: not written over as if it were all.
    EXPECT_EQ(file.incompleteFile, c.markupErrors ? path : "");
    // Only a file that was understood takes the name, so nothing is saved over the others.
    EXPECT_EQ(file.getFilename(), c.result == 0 ? path : "");
  }
}

TEST(MemoFileNames, PutFileNameTakesRelativePathsFromTheCurrentDirectory) {
  const std::string cwd = currentDirectory_();
  struct Case {
    const char* path;
    std::string filename, name, directory;
  };
  const Case cases[] = {
      {"work.mxa", cwd + "work.mxa", "work", cwd},
      {"./sub/../w.mxv", cwd + "w.mxv", "w", cwd},
      {"sub\\w.mxa", cwd + "sub/w.mxa", "w", cwd + "sub/"},
      {"C:\\memo\\w.old.mxa", "C:\\memo\\w.old.mxa", "w.old", "C:\\memo\\"},
      {"/abs/w.mxa", "/abs/w.mxa", "w", "/abs/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    MemoFile file;
    EXPECT_EQ(file.putFileName_(c.path), 0);
    EXPECT_EQ(file.getField_("Filename"), "\"" + c.filename + "\"");
    EXPECT_EQ(file.getName(), c.name);
    EXPECT_EQ(file.getDirectory(), c.directory);
    EXPECT_EQ(file.getFilePathMXA(), c.filename);
  }
  MemoFile unnamed;
  unnamed.putName_("a/b:c");
  EXPECT_EQ(unnamed.getFilePathMXA(), "a_b_c.mxa");
  EXPECT_EQ(unnamed.getDirectory(), "");
}

TEST(MemoFileHolders, ListOperations) {
  MemoFile file;
  MemoHolder* first = file.newHolderAt_(-1);
  MemoHolder* second = file.newHolderAt_(0);
  EXPECT_EQ(holderNames(file), (StringList{"new_00", "new"}));
  EXPECT_TRUE(first->flagLoaded);  // made while running: nothing to read
  EXPECT_EQ(file.indexOfHolder_(first), 1);
  EXPECT_EQ(file.holderAt_(0), second);
  EXPECT_EQ(file.holderAt_(2), nullptr);
  EXPECT_EQ(file.holderAt_(-1), nullptr);
  EXPECT_EQ(first->getName(), "new");
  EXPECT_EQ(first->getMemoFile(), &file);

  file.aCurHolder = first;
  std::unique_ptr<MemoHolder> taken = file.removeHolder_(first);
  EXPECT_EQ(taken.get(), first);
  EXPECT_EQ(file.aCurHolder, nullptr);
  EXPECT_EQ(file.removeHolder_(first), nullptr);
  EXPECT_EQ(file.insertHolder_(0, std::move(taken), "NEW_00"), "NEW_01");

  struct Move {
    const char* title;
    void (MemoFile::*move)(int);
    int index;
    StringList after;
  };
  const Move moves[] = {
      {"up", &MemoFile::moveHolderUp_, 2, {"a", "c", "b", "d"}},
      {"up from the first position", &MemoFile::moveHolderUp_, 0, {"a", "b", "c", "d"}},
      {"down", &MemoFile::moveHolderDown_, 1, {"a", "c", "b", "d"}},
      {"down from the last position", &MemoFile::moveHolderDown_, 3, {"a", "b", "c", "d"}},
      {"first", &MemoFile::moveHolderFirst_, 2, {"c", "a", "b", "d"}},
      {"last", &MemoFile::moveHolderLast_, 1, {"a", "c", "d", "b"}},
      {"last from the last position", &MemoFile::moveHolderLast_, 3, {"a", "b", "c", "d"}},
      {"outside the list", &MemoFile::moveHolderFirst_, 4, {"a", "b", "c", "d"}},
  };
  for (const Move& m : moves) {
    SCOPED_TRACE(m.title);
    MemoFile four;
    for (const char* name : {"a", "b", "c", "d"}) four.addHolder_(four.createHolder(), name);
    (four.*m.move)(m.index);
    EXPECT_EQ(holderNames(four), m.after);
  }
  MemoFile four;
  for (const char* name : {"a", "b", "c", "d"}) four.addHolder_(four.createHolder(), name);
  four.moveHolder_(3, 1);
  EXPECT_EQ(holderNames(four), (StringList{"a", "d", "b", "c"}));
  four.moveHolder_(0, 4);
  EXPECT_EQ(holderNames(four), (StringList{"a", "d", "b", "c"}));
}

TEST(MemoFileHolders, EnsureOneHolderGivesAnEmptyFileOneHolderWithOneNode) {
  FixedServices services;
  MemoFile file;
  MemoHolder* holder = ensureOneHolder_(file);
  ASSERT_NE(holder, nullptr);
  EXPECT_EQ(file.countOfHolders(), 1);
  EXPECT_EQ(file.aCurHolder, holder);
  EXPECT_EQ(holder->countOfNodes(), 1);
  EXPECT_EQ(ensureOneHolder_(file), nullptr);
  EXPECT_EQ(file.countOfHolders(), 1);
}

// --- one file per holder

struct HolderSpec {
  std::string name;
  StringList fields = {};
};

// Holders listed in /m/work.mxa under their names, with their fields.
void addHolders(MemoFile& file, const std::vector<HolderSpec>& holders) {
  file.putFileName_("/m/work.mxa");
  for (const HolderSpec& spec : holders) {
    std::unique_ptr<MemoHolder> holder = file.createHolder();
    holder->aFields = spec.fields;
    file.addHolder_(std::move(holder), spec.name);
  }
}

TEST(HolderFiles, WhichHoldersShareAFile) {
  const StringList own{"FlagAbsolutePath=\"true\"", "Filename=\"/m/sub/../h.mxh\""};
  struct Case {
    const char* what;
    std::vector<HolderSpec> holders;
    StringList shared;  // "first|later", in list order of the later one
  };
  const Case cases[] = {
      {"names differing after a dot",
       {{"report.2023"}, {"report.2024"}},
       {"report.2023|report.2024"}},
      {"a blank after the dot", {{"v1.2 notes"}, {"v1.3 notes"}}, {"v1.2 notes|v1.3 notes"}},
      {"three on one file", {{"a.1"}, {"b"}, {"a.2"}, {"a.3"}}, {"a.1|a.2", "a.1|a.3"}},
      {"letter case counts, as on this system", {{"a.1"}, {"A.2"}}, {}},
      {"characters a file name cannot hold", {{"a/b"}, {"a_b"}}, {"a/b|a_b"}},
      {"another extension", {{"x", {"FileExt=\".mhz\""}}, {"x.y"}}, {}},
      {"a path of its own, normalised", {{"g", own}, {"h"}}, {"g|h"}},
      {"the own path switched off", {{"g", {"FlagAbsolutePath=\"false\"", own[1]}}, {"h"}}, {}},
      {"an extra path", {{"h"}, {"x", {"FlagExtra=\"true\"", "Filename=\"/m/h.mxh\""}}}, {"h|x"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoFile file;
    addHolders(file, c.holders);
    StringList shared;
    for (const auto& [first, later] : file.sharedHolderFiles_())
      shared.push_back(first->getName() + "|" + later->getName());
    EXPECT_EQ(shared, c.shared);
    // Only the later ones are kept from writing.
    for (int i = 0; i < file.countOfHolders(); ++i) {
      MemoHolder& holder = *file.holderAt_(i);
      MemoHolder* earlier = file.earlierHolderOfFile_(holder);
      const auto it = std::find_if(c.shared.begin(), c.shared.end(), [&](const std::string& s) {
        return s.ends_with("|" + holder.getName());
      });
      EXPECT_EQ(earlier ? earlier->getName() + "|" + holder.getName() : std::string(),
                it == c.shared.end() ? std::string() : *it);
    }
  }
  MemoFile file;
  addHolders(file, {{"report.2023"}});
  EXPECT_EQ(file.holderOfFile_("/m/./sub/../report.mxh"), file.holderAt_(0));
  EXPECT_EQ(file.holderOfFile_("/m/report.mxh", file.holderAt_(0)), nullptr);
  EXPECT_EQ(file.holderOfFile_("/m/Report.mxh"), nullptr);
}

TEST(HolderFiles, NewNamesFindAFreeFile) {
  struct Case {
    StringList holders;
    std::string wanted;
    std::string given;
    StringList fields = {};  // of the holder being named
  };
  const Case cases[] = {
      {{"a"}, "a", "a_00"},  // the unique-name rule alone while the file is free
      {{"a.1"}, "A.2", "A.2"},
      {{"report.2023"}, "report.2024", "report_2024"},
      {{"v1.2 notes"}, "v1.3 notes", "v1_3 notes"},
      {{"new.x"}, "new", "new_01"},
      {{"report.2023", "report_2024"}, "report.2024", "report_2024_01"},
      // A path of its own does not follow the name: no name frees it.
      {{"g"}, "h", "h", {"FlagAbsolutePath=\"true\"", "Filename=\"/m/g.mxh\""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.wanted);
    MemoFile file;
    std::vector<HolderSpec> holders;
    for (const std::string& name : c.holders) holders.push_back({name});
    addHolders(file, holders);
    std::unique_ptr<MemoHolder> holder = file.createHolder();
    holder->aFields = c.fields;
    EXPECT_EQ(file.freeHolderName_(*holder, c.wanted), c.given);
  }
  // A listed holder keeps its own name when its file is free.
  MemoFile file;
  addHolders(file, {{"CSV"}});
  EXPECT_EQ(file.freeHolderName_(*file.holderAt_(0), "csv"), "csv");
  // New holders are named so as well.
  addHolders(file, {{"new.x"}});
  EXPECT_EQ(file.newHolderAt_(-1)->getName(), "new_01");
}

// Holders at a path of their own are found there again; a package, which
// is unpacked elsewhere, finds them beside its memo file.
TEST(HolderFiles, AnOwnPathIsWrittenToTheMemoFileNotToAPackage) {
  FixedServices services;
  ScratchDir dir;
  MemoFile file;
  file.putFileName_(dir.file("work.mxa"));
  file.addHolder_(file.createHolder(), "plain");
  std::unique_ptr<MemoHolder> far = file.createHolder();
  far->aFields = {"FlagAbsolutePath=\"true\"", "Filename=\"/else/a&b.mxh\"",
                  "FlagReadOnly=\"true\""};
  file.addHolder_(std::move(far), "g");
  const std::string text = mxaText(file);
  EXPECT_NE(text.find("  <Holder name=\"plain\">\r\n    <Field FlagLoaded=\"false\" />\r\n"
                      "  </Holder>\r\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("  <Holder name=\"g\">\r\n    <Field FlagLoaded=\"false\" />\r\n"
                      "    <Field FlagReadOnly=\"true\"/>\r\n"
                      "    <Field FlagAbsolutePath=\"true\"/>\r\n"
                      "    <Field Filename=\"/else/a&amp;b.mxh\"/>\r\n  </Holder>\r\n"),
            std::string::npos)
      << text;

  StringList log;
  ASSERT_GT(file.saveAs_(dir.file("work.mxa"), log), 0);
  MemoFile read;
  StringList errors;
  ASSERT_EQ(readMemoFile_(read, dir.file("work.mxa"), errors), 0);
  EXPECT_EQ(read.findHolder_("g")->getFileName(), "/else/a&b.mxh");
  EXPECT_TRUE(read.findHolder_("g")->isReadOnlyHolder());
  EXPECT_EQ(read.findHolder_("plain")->getFileName(), dir.file("plain.mxh"));

  ASSERT_GT(read.writePackage_(dir.file("work.maz"), log), 0);
  std::string packed, unpacked;
  ASSERT_EQ(readFileBytes_(dir.file("work.maz"), packed), 0);
  ASSERT_EQ(inflateBytes_(packed, unpacked), 0);
  EXPECT_EQ(unpacked.find("FlagAbsolutePath"), std::string::npos);
}

// A memo file read from dir/old with the fixture holder "Ideas" beside it;
// "Archive" and "a&b" have no file.
struct OldFolder {
  ScratchDir dir;
  std::string old = dir.file("old");
  MemoFile file;
  StringList log;

  OldFolder() {
    std::filesystem::create_directory(old);
    std::filesystem::copy_file(fixture("golden.mxa"), old + "/work.mxa");
    std::filesystem::copy_file(fixture("Ideas.mxh"), old + "/Ideas.mxh");
    EXPECT_EQ(readMemoFile_(file, old + "/work.mxa", log), 0);
  }
};

TEST(MemoFileLoading, HoldersLoadFromBesideTheMemoFile) {
  FixedServices services;
  OldFolder f;
  MemoHolder& ideas = *f.file.findHolder_("Ideas");
  MemoHolder& archive = *f.file.findHolder_("Archive");
  EXPECT_EQ(f.file.ensureHolderLoaded_(ideas, f.log), 0);
  EXPECT_TRUE(ideas.flagLoaded);
  EXPECT_EQ(ideas.countOfNodes(), 2);
  EXPECT_EQ(f.file.ensureHolderLoaded_(archive, f.log), -1);
  EXPECT_FALSE(archive.flagLoaded);
  EXPECT_EQ(f.log, (StringList{"Not Found MemoHolder: " + f.old + "/Archive.mhz"}));

  f.dir.write("old/a&b.mxh", "<Holder name=\"a&amp;b\"><Record></Wrong>");
  f.log.clear();
  EXPECT_EQ(f.file.ensureHolderLoaded_(*f.file.findHolder_("a&b"), f.log), -2);
  EXPECT_FALSE(f.log.empty());
}

TEST(MemoFileSaving, SaveAsIntoAnotherFolderLoadsHoldersFromTheOldOneFirst) {
  for (const char* name : {"work.mxv", "work.maz"}) {
    SCOPED_TRACE(name);
    FixedServices services;
    OldFolder f;
    const std::string target = f.dir.file(name);
    const int size = f.file.saveAs_(target, f.log);
    EXPECT_GT(size, 0);

    MemoHolder& ideas = *f.file.findHolder_("Ideas");
    EXPECT_TRUE(ideas.flagLoaded);
    EXPECT_EQ(ideas.countOfNodes(), 2);
    EXPECT_EQ(ideas.getFileName(), f.dir.file("Ideas.mxh"));  // saved next to the new name
    EXPECT_EQ(f.file.getFilename(), target);
    EXPECT_EQ(f.file.getName(), "work");
    if (target.ends_with(".mxv")) {
      const std::string written = readFile(target);
      EXPECT_EQ(written, mxaText(f.file));
      EXPECT_EQ(size, static_cast<int>(written.size()));
    }
  }
}

TEST(MemoFileSaving, SameFolderLeavesHoldersUnreadAndFailuresKeepTheName) {
  FixedServices services;
  OldFolder f;
  EXPECT_GT(f.file.saveAs_(f.old + "/copy.mxa", f.log), 0);
  EXPECT_FALSE(f.file.findHolder_("Ideas")->flagLoaded);
  EXPECT_TRUE(f.log.empty());

  EXPECT_EQ(f.file.saveAs_(f.dir.file("x.txt"), f.log), -1);
  EXPECT_FALSE(std::filesystem::exists(f.dir.file("x.txt")));
  EXPECT_EQ(f.file.getFilename(), f.old + "/copy.mxa");
  EXPECT_FALSE(f.file.findHolder_("Ideas")->flagLoaded);

  for (const char* name : {"gone/x.mxa", "gone/x.maz"}) {
    SCOPED_TRACE(name);
    std::string why;
    EXPECT_EQ(f.file.saveAs_(f.dir.file(name), f.log, &why), -1);
    EXPECT_EQ(why, "cannot create a temporary file for " + f.dir.file(name) + ": " +
                       std::strerror(ENOENT));
    EXPECT_EQ(f.file.getFilename(), f.old + "/copy.mxa");
    EXPECT_EQ(f.file.getName(), "copy");
  }
}

}  // namespace
}  // namespace vrk
