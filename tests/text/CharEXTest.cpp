#include "text/CharEX.h"

#include <gtest/gtest.h>

#include "text/SjisSamples.h"

namespace vrk {
namespace {

using namespace sjis;
constexpr auto npos = std::string_view::npos;

TEST(CharEXTest, TrimRemovesBytesUpToBlankAtBothEnds) {
  struct Case {
    std::string text, left, right, both;
  } cases[] = {
      {" \t a b \r\n", "a b \r\n", " \t a b", "a b"},
      {std::string("\x01x\x20\0", 4), std::string("x \0", 3), "\x01x", "x"},
      {" \x95", "\x95", " \x95", "\x95"},  // a lone lead byte is not blank
      {"", "", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(trimLeft_(c.text), c.left);
    EXPECT_EQ(trimRight_(c.text), c.right);
    EXPECT_EQ(trim_(c.text), c.both);
    EXPECT_EQ(isBlank_(c.text), c.both.empty());
  }
}

TEST(CharEXTest, CaseMappingLeavesDoubleByteCharactersAlone) {
  struct Case {
    std::string text, lower, upper;
  } cases[] = {
      {"AbZ@[`{", "abz@[`{", "ABZ@[`{"},
      {"X" + kA + "Y" + kDi, "x" + kA + "y" + kDi, "X" + kA + "Y" + kDi},
      {kHyo + "Q" + kPo + "q", kHyo + "q" + kPo + "q", kHyo + "Q" + kPo + "Q"},
      {"A\x83", "a\x83", "A\x83"},  // lone lead byte at the end
  };
  for (const Case& c : cases) {
    EXPECT_EQ(lowerCase_(c.text), c.lower);
    EXPECT_EQ(upperCase_(c.text), c.upper);
  }
}

TEST(CharEXTest, CompareIgnoringCaseOnlyFoldsSingleByteLetters) {
  struct Case {
    std::string a, b;
    bool same;
  } cases[] = {
      {"Memo", "mEMO", true},     {"", "", true},       {"ab", "abc", false}, {kA, kDi, false},
      {kA + "X", kA + "x", true}, {"a", "\x81", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(sameText_(c.a, c.b), c.same) << c.a << " / " << c.b;
    EXPECT_EQ(startsWithText_(c.a + "tail", c.b), c.same) << c.a << " / " << c.b;
  }
  EXPECT_TRUE(startsWith_("abc", "ab"));
  EXPECT_FALSE(startsWith_("abc", "AB"));
  EXPECT_FALSE(startsWith_(kHyo, "\x95"));  // half a character is no prefix
}

TEST(CharEXTest, EndsWithNeedsACharacterBoundary) {
  EXPECT_FALSE(endsWith_(kHyo, "\\"));
  EXPECT_FALSE(endsWith_("dir" + kSo, "\\"));
  EXPECT_TRUE(endsWith_("dir" + kSo + "\\", "\\"));
  EXPECT_TRUE(endsWith_("a" + kHyo, kHyo));
  EXPECT_TRUE(endsWith_("abc", ""));
  EXPECT_FALSE(endsWith_("c", "abc"));
}

TEST(CharEXTest, FindCharOfSkipsTrailBytes) {
  const std::string text = kHyo + "\\" + kPo + "|" + kSo;
  struct Case {
    std::string text, set;
    std::size_t from, first, last;
  } cases[] = {
      {text, "\\|", 0, 2, 5},   {text, "|", 0, 5, 5},
      {text, "\\", 3, npos, 2}, {kHyo + kSo + kPo, "\\|", 0, npos, npos},
      {"a,b,c", ",", 2, 3, 3},  {"", ",", 0, npos, npos},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(findCharOf_(c.text, c.set, c.from), c.first) << c.set;
    EXPECT_EQ(findLastCharOf_(c.text, c.set), c.last) << c.set;
  }
}

TEST(CharEXTest, FindTextMatchesWholeCharactersOnly) {
  struct Case {
    std::string text, needle;
    std::size_t from;
    bool ignoreCase;
    std::size_t at;
  } cases[] = {
      {kA + "A", "A", 0, false, 2},  {kDi + "A", "a", 0, true, 2},
      {kDi, "a", 0, false, npos},    {kDi + "A", "A", 0, false, 2},
      {"xAbCab", "ab", 0, true, 1},  {"xAbCab", "ab", 2, true, 4},
      {"xAbCab", "ab", 0, false, 4}, {kHyo + "x", "\x95", 0, false, npos},
      {"abc", "", 0, false, npos},   {kPo + kHyo, kHyo, 0, false, 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(findText_(c.text, c.needle, c.from, c.ignoreCase), c.at) << c.needle;
  }
}

TEST(CharEXTest, ReplaceAllWorksLeftToRightOnCharacters) {
  struct Case {
    std::string text, from, to;
    bool ignoreCase;
    std::string result;
  } cases[] = {
      {kHyo + "\\" + kSo, "\\", "/", false, kHyo + "/" + kSo},
      {"aAbA", "a", "x", true, "xxbx"},
      {"aAbA", "a", "x", false, "xAbA"},
      {"aaa", "aa", "b", false, "ba"},
      {"abab", "ab", "abab", false, "abababab"},
      {"abc", "", "x", false, "abc"},
      {kA + "a", "a", "", true, kA},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(replaceAll_(c.text, c.from, c.to, c.ignoreCase), c.result) << c.text;
  }
}

}  // namespace
}  // namespace vrk
