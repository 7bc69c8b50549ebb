#include "platform/Path.h"

#include <gtest/gtest.h>

namespace vrk {
namespace {

TEST(PathTest, SplitsAtEitherSeparatorButNeverAtATrailByte) {
  struct Case {
    std::string path, name, dir, ext;
  } cases[] = {
      {"C:\\memo\\a.mxh", "a.mxh", "C:\\memo\\", ".mxh"},
      {"/home/u/b.tar.gz", "b.tar.gz", "/home/u/", ".gz"},
      {"dir/\x95\x5C.txt", "\x95\x5C.txt", "dir/", ".txt"},  // 表 ends in 0x5C
      {"\x83\x5C\\x", "x", "\x83\x5C\\", ""},                 // ソ then a real separator
      {"C:name", "name", "C:", ""},
      {"noext", "noext", "", ""},
      {"a.d/noext", "noext", "a.d/", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(extractFileName_(c.path), c.name) << c.path;
    EXPECT_EQ(extractFilePath_(c.path), c.dir) << c.path;
    EXPECT_EQ(extractFileExt_(c.path), c.ext) << c.path;
  }
  EXPECT_EQ(changeFileExt_("a.d/x.mxh", ".mhz"), "a.d/x.mhz");
  EXPECT_EQ(changeFileExt_("a.d/x", ".bmp"), "a.d/x.bmp");
}

TEST(PathTest, AbsoluteFormsAndNormalizing) {
  EXPECT_TRUE(isAbsolutePath_("/x"));
  EXPECT_TRUE(isAbsolutePath_("\\x"));
  EXPECT_TRUE(isAbsolutePath_("d:\\x"));
  EXPECT_FALSE(isAbsolutePath_("x\\y"));
  EXPECT_FALSE(isAbsolutePath_(""));
  EXPECT_EQ(normalizePath_("a\\b\\\x95\x5C"), "a/b/\x95\x5C");
  EXPECT_EQ(normalizePath_("file:///home/u/x"), "/home/u/x");
  EXPECT_EQ(normalizePath_("FILE://localhost/home/u/x"), "/home/u/x");
}

TEST(PathTest, ExpandResolvesDotSteps) {
  EXPECT_EQ(expandFileName_(".\\pic\\a.bmp", "/home/u/memo"), "/home/u/memo/pic/a.bmp");
  EXPECT_EQ(expandFileName_("../b", "/home/u/memo/"), "/home/u/b");
  EXPECT_EQ(expandFileName_("/abs/./c", "/home"), "/abs/c");
  EXPECT_EQ(expandFileName_("../../..", "/a"), "/");
  EXPECT_EQ(expandFileName_("x", "C:\\w"), "C:/w/x");
}

TEST(PathTest, OsNamesAreUtf8AndUnconvertibleNamesAreReported) {
  EXPECT_EQ(toOsPath_("memo\\\x95\x5C.mxh"), std::string("memo/\xE8\xA1\xA8.mxh"));
  EXPECT_EQ(toOsPath_("bad\xFF"), std::nullopt);
  EXPECT_EQ(fromOsPath_("/tmp/\xE8\xA1\xA8"), std::string("/tmp/\x95\x5C"));
  EXPECT_EQ(fromOsPath_("/tmp/\xF0\x9F\x98\x80"), std::nullopt);
}

}  // namespace
}  // namespace vrk
