// Directory walks over a scratch tree with a hidden file, a name in kanji, a
// name Shift_JIS cannot hold and a symbolic link back to the top.
#include "platform/DirectoryWalk.h"

#include <stdlib.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "text/SjisSamples.h"

namespace vrk {
namespace {

namespace fs = std::filesystem;
using namespace sjis;

class DirectoryWalkTest : public ::testing::Test {
 protected:
  // top/a.txt  top/.hidden  top/表.txt  top/😀.txt  top/e/
  // top/sub/b.txt  top/sub/deep/c.txt  top/sub/loop -> top  top/sub/gone -> nowhere
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "vrk-walk-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    top_ = pattern;
    fs::create_directories(top_ + "/sub/deep");
    fs::create_directories(top_ + "/e");
    for (const char* name : {"a.txt", ".hidden", "\xE8\xA1\xA8.txt", "\xF0\x9F\x98\x80.txt",
                             "sub/b.txt", "sub/deep/c.txt"})
      std::ofstream(top_ + "/" + name) << "x";
    fs::create_directory_symlink(top_, top_ + "/sub/loop");
    fs::create_symlink(top_ + "/nowhere", top_ + "/sub/gone");
  }
  void TearDown() override {
    std::error_code ignored;
    if (!top_.empty()) fs::remove_all(top_, ignored);
  }

  static StringList sorted(StringList lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
  }
  static std::ptrdiff_t indexOf(const StringList& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) - lines.begin();
  }

  std::string top_;
};

TEST_F(DirectoryWalkTest, FilesOfOneDirectory) {
  StringList lines{"kept"};
  EXPECT_EQ(listDirFiles_(lines, top_), 3);
  lines.erase(lines.begin());
  EXPECT_EQ(sorted(lines),
            sorted({top_ + "/.hidden", top_ + "/a.txt", top_ + "/" + kHyo + ".txt"}));

  // A directory ending in a separator gets none added.
  lines.clear();
  EXPECT_EQ(listDirFiles_(lines, top_ + "/sub/"), 2);
  EXPECT_EQ(sorted(lines), sorted({top_ + "/sub/b.txt", top_ + "/sub/gone"}));

  lines.clear();
  EXPECT_EQ(listDirFiles_(lines, top_ + "/none"), 0);
  EXPECT_TRUE(lines.empty());
}

TEST_F(DirectoryWalkTest, FilesOfTheTreeDepthFirst) {
  bool breakFlag = false;
  int pumped = 0;
  StringList lines;
  EXPECT_EQ(listFiles_(lines, top_, breakFlag, [&] { ++pumped; }), 6);
  const std::string sub = top_ + "/sub/";
  EXPECT_EQ(sorted(lines), sorted({top_ + "/.hidden", top_ + "/a.txt", top_ + "/" + kHyo + ".txt",
                                   sub + "b.txt", sub + "gone", sub + "deep/c.txt"}));
  // The files below sub come in one run: sub was walked when it was met.
  const auto first = std::find_if(lines.begin(), lines.end(),
                                  [&](const std::string& l) { return l.starts_with(sub); });
  EXPECT_TRUE(
      std::all_of(first, first + 3, [&](const std::string& l) { return l.starts_with(sub); }));
  EXPECT_EQ(pumped, 4);  // before sub, deep, loop (not walked) and e

  lines.clear();
  EXPECT_EQ(listFiles_(lines, top_ + "/none", breakFlag), 0);
  EXPECT_TRUE(lines.empty());
}

TEST_F(DirectoryWalkTest, DirectoriesAfterTheirSubdirectories) {
  bool breakFlag = false;
  StringList lines;
  EXPECT_EQ(listDirs_(lines, top_, breakFlag), 4);
  EXPECT_EQ(sorted(lines),
            sorted({top_ + "/e", top_ + "/sub", top_ + "/sub/deep", top_ + "/sub/loop"}));
  EXPECT_LT(indexOf(lines, top_ + "/sub/deep"), indexOf(lines, top_ + "/sub"));
  EXPECT_LT(indexOf(lines, top_ + "/sub/loop"), indexOf(lines, top_ + "/sub"));
}

TEST_F(DirectoryWalkTest, BreakFlagStopsAfterTheDescent) {
  // x holds two directories with a file each: whichever comes first is walked
  // whole, then the flag set before it stops everything.
  fs::remove_all(top_);
  fs::create_directories(top_ + "/x/y");
  fs::create_directories(top_ + "/x/z");
  std::ofstream(top_ + "/x/y/f") << "x";
  std::ofstream(top_ + "/x/z/f") << "x";

  bool breakFlag = false;
  StringList lines;
  EXPECT_EQ(listFiles_(lines, top_, breakFlag, [&] { breakFlag = true; }), 1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(lines[0] == top_ + "/x/y/f" || lines[0] == top_ + "/x/z/f") << lines[0];

  breakFlag = false;
  lines.clear();
  EXPECT_EQ(listDirs_(lines, top_, breakFlag, [&] { breakFlag = true; }), 0);
  EXPECT_TRUE(lines.empty());

  breakFlag = false;
  EXPECT_EQ(listDirs_(lines, top_, breakFlag), 3);
  EXPECT_EQ(lines.back(), top_ + "/x");
}

}  // namespace
}  // namespace vrk
