#include "text/LineLists.h"

#include <gtest/gtest.h>

#include "platform/DesktopActions.h"
#include "platform/Path.h"
#include "support/RecordingDesktopShell.h"
#include "support/ScriptedPrompter.h"
#include "text/SjisSamples.h"

namespace vrk {
namespace {

using namespace sjis;

TEST(LineListsTest, CutCharacters) {
  struct Case {
    std::string text;
    int n;
    std::string chars, head1, tail1;
  } cases[] = {
      {"abc", 0, "abc", "bc", "ab"},
      {"abc", -1, "abc", "bc", "ab"},
      {"abc", 1, "bc", "bc", "ab"},
      {"abc", 3, "", "bc", "ab"},
      {"abc", 5, "", "bc", "ab"},
      {"a", 1, "", "", ""},
      {"", 1, "", "", ""},
      {kHyo + "ab", 2, "b", "ab", kHyo + "a"},
      {kHyo + kSo, 1, kSo, kSo, kHyo},
      {"a" + kSo, 1, kSo, kSo, "a"},  // the last byte is a trail "\"
      {kHyo, 1, "", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cutHeadChars_(c.text, c.n), c.chars) << c.text << " " << c.n;
    EXPECT_EQ(cutHead1_(c.text), c.head1) << c.text;
    EXPECT_EQ(cutTail1_(c.text), c.tail1) << c.text;
  }
}

TEST(LineListsTest, CutToDelimiter) {
  const std::string delimiters = " \\/:.\t";
  struct Case {
    std::string text, head, tail;
  } cases[] = {
      {"abcdef", "def", "ab"},
      {"ab", "ab", "ab"},
      {"abc", "bc", "ab"},
      {"abcd", "bcd", "ab"},
      {"abc def", " def", "abc "},
      {"   ", "   ", "   "},
      {"", "", ""},
      {"/usr/local/bin", "/local/bin", "/usr/local/"},
      // The trail byte "\" of 表 is no delimiter.
      {"a" + kHyo + "bcd", "bcd", "a"},
      {"abc" + kHyo + "d", kHyo + "d", "ab"},
      // A cut stopped by the length bound inside 表 takes the whole character.
      {"x" + kHyo + "yz", "yz", "x"},
      {"a" + kHyo + "x", kHyo + "x", "a"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cutHeadTo_(c.text, delimiters), c.head) << c.text;
    EXPECT_EQ(cutTailTo_(c.text, delimiters), c.tail) << c.text;
  }
}

TEST(LineListsTest, Counting) {
  struct Case {
    std::string text, word;
    int count;
  } cases[] = {
      {"aaa", "aa", 1}, {"abcabc", "abc", 2},   {"", "a", 0},       {"a", "", 0},
      {"aA", "a", 1},   {kHyo + "\\", "\\", 1}, {kA + "A", "A", 1},
  };
  for (const Case& c : cases) EXPECT_EQ(countOf_(c.text, c.word), c.count) << c.text;

  EXPECT_EQ(countWord_({"Abc abc", "ABC", "", kA + "a"}, "aBc"), 3);
  EXPECT_EQ(countWord_({kA + "a"}, "A"), 1);  // the "A" inside ア does not count
  EXPECT_EQ(countWord_({}, "a"), 0);
}

TEST(LineListsTest, InPlaceEdits) {
  StringList lines{" a ", "\tb", "", kHyo + " "};
  EXPECT_EQ(trimLines_(&lines), 4);
  EXPECT_EQ(lines, (StringList{"a", "b", "", kHyo}));

  lines = {"a", "", " \t", "b"};
  EXPECT_EQ(deleteBlankLines_(&lines), 2);
  EXPECT_EQ(lines, (StringList{"a", "b"}));

  lines = {"a", ""};
  EXPECT_EQ(prefixEachLine_(&lines, "> ", false), 2);
  EXPECT_EQ(lines, (StringList{"> a", "> "}));
  lines = {"a", ""};
  EXPECT_EQ(prefixEachLine_(&lines, "> ", true), 2);
  EXPECT_EQ(lines, (StringList{"> a", ""}));

  lines = {"a", ""};
  EXPECT_EQ(appendEachLine_(&lines, ";"), 2);
  EXPECT_EQ(lines, (StringList{"a;", ";"}));

  lines = {"abc", kHyo + "x", "a"};
  cutHeadEachLine_(&lines, 0);
  EXPECT_EQ(lines, (StringList{"abc", kHyo + "x", "a"}));
  cutHeadEachLine_(&lines, 1);
  EXPECT_EQ(lines, (StringList{"bc", "x", ""}));

  lines = {"a", "b", "c"};
  reverseLines_(&lines);
  EXPECT_EQ(lines, (StringList{"c", "b", "a"}));
}

TEST(LineListsTest, MissingListIsLeftAlone) {
  EXPECT_EQ(trimLines_(nullptr), -1);
  EXPECT_EQ(prefixEachLine_(nullptr, "x", false), -1);
  EXPECT_EQ(appendEachLine_(nullptr, "x"), -1);
  EXPECT_EQ(numberLines_(nullptr, "", 1), -1);
  EXPECT_EQ(deleteBlankLines_(nullptr), 0);
  EXPECT_EQ(sortUnique_(nullptr), 0);
  EXPECT_EQ(markDuplicates_(nullptr), 0);
  cutHeadEachLine_(nullptr, 1);
  reverseLines_(nullptr);
}

TEST(LineListsTest, NumberLinesThroughTheCheckedFormatter) {
  struct Case {
    std::string format;
    int start;
    int result;
    StringList lines;
  } cases[] = {
      {"%.3d ", 1, 2, {"001 a", "002 b"}},
      {"", 1, 2, {"00000001:a", "00000002:b"}},
      {"  ", 0, 2, {"00000000:a", "00000001:b"}},
      {"[%X]", 255, 2, {"[FF]a", "[100]b"}},
      {"%d%%", -1, 2, {"-1%a", "0%b"}},
      {"no number ", 1, 2, {"no number a", "no number b"}},
      // Refused formats change nothing.
      {"%s", 1, -1, {"a", "b"}},
      {"%d %d", 1, -1, {"a", "b"}},
      {"%n", 1, -1, {"a", "b"}},
      {"%999d", 1, -1, {"a", "b"}},
  };
  for (const Case& c : cases) {
    StringList lines{"a", "b"};
    EXPECT_EQ(numberLines_(&lines, c.format, c.start), c.result) << c.format;
    EXPECT_EQ(lines, c.lines) << c.format;
  }
}

TEST(LineListsTest, SortUniqueAndMarkDuplicates) {
  StringList lines{"b", "A", "a", "B", "a", "c", "a"};
  EXPECT_EQ(sortUnique_(&lines), 2);
  EXPECT_EQ(lines, (StringList{"A", "a", "B", "b", "c"}));  // case variants both kept

  struct Case {
    StringList lines, marked;
    int count;
  } cases[] = {
      {{"a", "a", "a", "b"}, {"a", "* a", "* a", "b"}, 2},
      // Compared with the line before as it was, not as it was marked.
      {{"a", "a", "* a"}, {"a", "* a", "* a"}, 1},
      {{"a", "A", "a"}, {"a", "A", "a"}, 0},
      {{}, {}, 0},
  };
  for (Case& c : cases) {
    EXPECT_EQ(markDuplicates_(&c.lines), c.count);
    EXPECT_EQ(c.lines, c.marked);
  }
}

TEST(LineListsTest, HexDump) {
  const std::string header16 = "#Address :Sum:00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F ";
  struct Case {
    std::string bytes;
    int width;
    StringList dump;
  } cases[] = {
      {"", 16, {"#size=0", header16}},
      {"ABC", 16, {"#size=3", header16, "0000000000:C6:41 42 43 "}},
      {std::string(17, '\xFF'),
       16,
       {"#size=17", header16, "0000000000:F0:" + std::string(16 * 3, ' '), "0000000010:FF:FF "}},
      {"ABC", 0, {"#size=3", header16, "0000000000:C6:41 42 43 "}},
      {"ABC", -4, {"#size=3", header16, "0000000000:C6:41 42 43 "}},
      {std::string("AB\0", 3),
       2,
       {"#size=3", "#Address :Sum:00 01 ", "0000000000:83:41 42 ", "0000000002:00:00 "}},
  };
  // Fill the 17-byte case's first line: FF for each of the 16 bytes.
  for (std::size_t k = 0; k < 16; ++k) cases[2].dump[2].replace(14 + k * 3, 2, "FF");
  for (const Case& c : cases) {
    StringList lines{"kept"};
    EXPECT_EQ(hexDump_(lines, c.bytes, c.width), static_cast<int>(c.bytes.size()));
    StringList expected{"kept"};
    expected.insert(expected.end(), c.dump.begin(), c.dump.end());
    EXPECT_EQ(lines, expected) << c.bytes.size() << " bytes, width " << c.width;
  }
}

}  // namespace
}  // namespace vrk
