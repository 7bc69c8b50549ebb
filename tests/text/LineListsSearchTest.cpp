// Matching and grepping lines: character boundaries and single-byte case folding.
#include <gtest/gtest.h>

#include "text/LineLists.h"
#include "text/SjisSamples.h"

namespace vrk {
namespace {

using namespace sjis;

TEST(LineListsMatch, Table) {
  struct Case {
    const char* label;
    std::string line;
    int mode;
    std::string keyword;
    bool ignore, negate, expected;
  } cases[] = {
      {"contains", "xabcx", kMatchContains, "abc", false, false, true},
      {"contains, case differs", "xABCx", kMatchContains, "abc", false, false, false},
      {"contains, ignore", "xABCx", kMatchContains, "abc", true, false, true},
      {"ignore, mixed", "Abc", kMatchContains, "aBC", true, false, true},
      {"empty keyword", "abc", kMatchContains, "", false, false, false},
      {"empty keyword, negated", "abc", kMatchContains, "", false, true, true},
      {"negated hit", "abc", kMatchContains, "b", false, true, false},
      {"full width never folds", "\x82\x60\x82\x61", kMatchContains, "ab", true, false, false},
      // Boundaries: the trail byte of ソ is "\", of ポ "|", of ア "A".
      {"backslash inside so", kSo, kMatchContains, "\\", false, false, false},
      {"backslash after so", kSo + "\\", kMatchContains, "\\", false, false, true},
      {"bar inside po", "a" + kPo, kMatchContains, "|", false, false, false},
      {"a inside a-katakana", kA, kMatchContains, "A", false, false, false},
      {"ignore: a-katakana is not di", kA, kMatchContains, kDi, true, false, false},
      {"ignore: di is not a-katakana", kDi, kMatchContains, kA, true, false, false},
      {"a-katakana itself", "x" + kA, kMatchContains, kA, true, false, true},
      {"across two characters", kHyo + kSo, kMatchContains, "\x5C\x83", false, false, false},
      {"found after a false start", kSo + "x\\", kMatchContains, "\\", false, false, true},
      {"head", "<img src=x>", kMatchHead, "<img", false, false, true},
      {"head, later", " <img", kMatchHead, "<img", false, false, false},
      {"head, ignore", "<IMG", kMatchHead, "<img", true, false, true},
      {"head, shorter line", "<im", kMatchHead, "<img", false, false, false},
      {"head, half a character", kSo, kMatchHead, "\x83", false, false, false},
      {"tail", "a.jpg", kMatchTail, ".jpg", false, false, true},
      {"tail, ignore", "A.JPG", kMatchTail, ".jpg", true, false, true},
      {"tail, trail byte", kSo, kMatchTail, "\\", false, false, false},
      {"tail, negated", "a.png", kMatchTail, ".jpg", false, true, true},
      {"unknown mode", "abc", 7, "a", false, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(matchLine_(c.line, c.mode, c.keyword, c.ignore, c.negate), c.expected) << c.label;
  }
}

TEST(LineListsGrep, NumberedNegatedAndMissingLists) {
  const StringList lines = {"<a href=1>", "text", "<img src=2>", "<A HREF=3>"};
  struct Case {
    const char* label;
    std::string keyword;
    bool ignore, numbered, negate;
    int mode;
    StringList expected;
  } cases[] = {
      {"plain", "href", false, false, false, kMatchContains, {"<a href=1>"}},
      {"ignore", "href", true, false, false, kMatchContains, {"<a href=1>", "<A HREF=3>"}},
      {"numbered",
       "href",
       true,
       true,
       false,
       kMatchContains,
       {"      1: <a href=1>", "      4: <A HREF=3>"}},
      {"negated head", "<", false, true, true, kMatchHead, {"      2: text"}},
      {"tail", ">", false, false, false, kMatchTail, {"<a href=1>", "<img src=2>", "<A HREF=3>"}},
  };
  for (const Case& c : cases) {
    StringList out = {"kept"};
    EXPECT_EQ(grepLines_(&lines, c.keyword, &out, c.ignore, c.numbered, c.negate, c.mode),
              static_cast<int>(c.expected.size()))
        << c.label;
    StringList expected = {"kept"};
    expected.insert(expected.end(), c.expected.begin(), c.expected.end());
    EXPECT_EQ(out, expected) << c.label;
  }
  StringList out;
  EXPECT_EQ(grepLines_(nullptr, "a", &out, false, false, false, kMatchContains), -9);
  EXPECT_EQ(grepLines_(&lines, "a", nullptr, false, false, false, kMatchContains), -8);
}

}  // namespace
}  // namespace vrk
