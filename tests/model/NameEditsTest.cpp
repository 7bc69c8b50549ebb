// The rename dialog's edits: date words, marks, cut words, counting, and
// path-like names with double-byte characters whose trail byte is "\".
#include <gtest/gtest.h>

#include "model/NameEdits.h"
#include "platform/SJ.h"

namespace vrk {
namespace {

constexpr LocalTime kToday{2024, 5, 15, 9, 30, 0, 0};

struct DateCase {
  const char* name;
  LocalTime date;
};

TEST(NameDateWord, TheFirstWordsDigitsAreFilledUpFromToday) {
  const FixedClock clock(kToday);
  const LocalTime today{2024, 5, 15, 0, 0, 0, 0};
  const DateCase cases[] = {
      {"Meeting", today},                            // no digits
      {"3 shopping", {2024, 5, 3, 0, 0, 0, 0}},      // a day of this month
      {"45 shopping", today},                        // not below 32
      {"07x", {2024, 5, 7, 0, 0, 0, 0}},             // digits among letters
      {"105", {2024, 1, 5, 0, 0, 0, 0}},             // month and day
      {"0105 plan", {2024, 1, 5, 0, 0, 0, 0}},       //
      {"1300", today},                               // month 13
      {"30105", {2023, 1, 5, 0, 0, 0, 0}},           // last digit of the year
      {"240105", {2024, 1, 5, 0, 0, 0, 0}},          // year in the century
      {"0240105", {2024, 1, 5, 0, 0, 0, 0}},         // year from 2000
      {"2023/12/31 x", {2023, 12, 31, 0, 0, 0, 0}},  // full date
      {"20240230", today},                           // 30 February
      {"20240105103000", {2024, 1, 5, 0, 0, 0, 0}},  // the time is not the calendar's
      {"  20200202  later", {2020, 2, 2, 0, 0, 0, 0}},
      {"memo 20240105", today},  // only the first word counts
  };
  for (const DateCase& c : cases) EXPECT_EQ(dateOfName_(c.name, clock), c.date) << c.name;
}

TEST(NameDateWord, SetPutsTheDateIntoTheFirstWordWithADigit) {
  const struct {
    const char* text;
    const char* result;
  } cases[] = {
      {"20240105 meeting", "20240107 meeting"},
      {"20240105", "20240107"},
      {"Memo 20240105 x", "Memo 20240107 x"},
      {"Memo 5", "Memo 20240107"},
      {"Meeting notes", "20240107 notes"},
      {"Meeting notes more", "20240107 notes more"},
      {"Meeting", "20240107 "},  // the caller trims
      {"Meeting ", "20240107 "},
  };
  for (const auto& c : cases) EXPECT_EQ(putDateWord_(c.text, "20240107"), c.result) << c.text;
}

TEST(NameDateWord, YearStepsKeepTheDayInsideTheMonth) {
  EXPECT_EQ(addYears_({2024, 2, 29, 0, 0, 0, 0}, 1), (LocalTime{2025, 2, 28, 0, 0, 0, 0}));
  EXPECT_EQ(addYears_({2024, 2, 29, 0, 0, 0, 0}, -1), (LocalTime{2023, 2, 28, 0, 0, 0, 0}));
  EXPECT_EQ(addYears_({2023, 3, 31, 0, 0, 0, 0}, 1), (LocalTime{2024, 3, 31, 0, 0, 0, 0}));
}

TEST(NameWords, MarksAndCutsWorkOnTheirWord) {
  const std::string star = SJ("★");
  EXPECT_EQ(putMark1_("abc ", star), star + " abc ");  // untrimmed
  EXPECT_EQ(putMark1_(putMark1_("name", star), star), star + " " + star + " name");
  EXPECT_EQ(putMark2_(" a b c ", star), "a " + star + " b c");
  EXPECT_EQ(putMark2_("a ", star), "a " + star + " ");
  EXPECT_EQ(putMark3_("a b c d", star), "a b " + star + " c d");
  EXPECT_EQ(putMark3_("a", star), "a  " + star + " ");
  EXPECT_EQ(cutWord1_("a b c"), "b c");
  EXPECT_EQ(cutWord1_("abc "), "");
  EXPECT_EQ(cutWord2_("a b c"), "a c");
  EXPECT_EQ(cutWord2_("abc "), "abc ");  // a one-word name keeps a blank
  EXPECT_EQ(cutWord3_("a b c d"), "a b d");
  EXPECT_EQ(cutWord3_("a b c"), "a b ");
}

TEST(NameWords, CountingStepsOnlyAWordWithDigits) {
  const struct {
    const char* text;
    bool second, up;
    const char* result;
  } cases[] = {
      {"memo09 a", false, true, "memo10 a"},
      {"memo10", false, false, "memo09"},
      {"9", false, true, "0"},              // no digit is added
      {" abc  x ", false, true, "abc  x"},  // left as it is, trimmed
      {"a9 b  c", false, true, "a0 b  c"},  // the rest keeps its blanks
      {"a19", false, true, "a20"},
      {"  n01  rest ", false, false, "n00 rest"},
      {"x0 y5", false, false, "x9 y5"},  // the first word only
      {" 7 ", false, true, "8"},
      {"Page 09 x", true, true, "Page 10 x"},
      {"Page 10", true, false, "Page 09"},
      {"Page 9a", true, true, "Page 9a"},
      {"Page", true, true, "Page"},
  };
  for (const auto& c : cases) {
    const std::string got = c.second ? countWord2_(c.text, c.up) : countWord1_(c.text, c.up);
    EXPECT_EQ(got, c.result) << c.text;
  }
  EXPECT_EQ(countWord1_(SJ("表1 ソ"), true), SJ("表2 ソ"));  // trail bytes 0x5C
}

TEST(NamePaths, FileNamePartsAndTensOfTheBase) {
  EXPECT_EQ(extractNamePart_("C:\\data\\memo.txt"), "memo.txt");
  EXPECT_EQ(extractNamePart_("MemoNode:x"), "x");
  EXPECT_EQ(extractNamePart_("/home/u/a.b"), "a.b");
  // ソ is 83 5C: its trail byte is not a separator.
  EXPECT_EQ(extractNamePart_(SJ("C:\\データ\\ソフト表")), SJ("ソフト表"));
  EXPECT_EQ(extractNamePart_(SJ("ソフト")), SJ("ソフト"));
  EXPECT_EQ(removeNameExt_("memo.txt"), "memo");
  EXPECT_EQ(removeNameExt_("C:\\a.d\\memo"), "C:\\a.d\\memo");
  EXPECT_EQ(removeNameExt_(SJ("ソ.txt")), SJ("ソ"));

  EXPECT_EQ(countTens_("scan05.jpg", true), "scan15.jpg");
  EXPECT_EQ(countTens_("scan95.jpg", true), "scan05.jpg");
  EXPECT_EQ(countTens_("scan15.jpg", false), "scan05.jpg");
  EXPECT_EQ(countTens_("C:\\d1\\scan05.jpg", true), "C:\\d1\\scan15.jpg");
  EXPECT_EQ(countTens_("9.txt", true), "9.txt");  // no digit before the last one
}

TEST(NamePaths, CuttingToDelimitersIsCharacterAware) {
  const std::string once = cutNameHead_("C:\\data\\memo.txt");
  EXPECT_EQ(once, ":\\data\\memo.txt");
  EXPECT_EQ(cutNameHead_(once), "\\data\\memo.txt");  // CH2
  EXPECT_EQ(cutNameTail_("memo.txt"), "memo.");
  EXPECT_EQ(cutNameHead_("abc def"), " def");
  EXPECT_EQ(cutNameTail_("abc def"), "abc ");
  EXPECT_EQ(cutNameHead_("abcdef"), "def");
  EXPECT_EQ(cutNameTail_("abcdef"), "ab");
  EXPECT_EQ(cutNameHead_("abc"), "bc");
  EXPECT_EQ(cutNameTail_("abc"), "ab");
  EXPECT_EQ(cutNameHead_("ab"), "ab");
  // The 5C bytes of ソ and 表 never stop a cut.
  EXPECT_EQ(cutNameHead_(SJ("ソソソ.x")), ".x");
  EXPECT_EQ(cutNameTail_(SJ("a.表表")), "a.");

  EXPECT_EQ(cutHeadChar_(SJ("日本")), SJ("本"));
  EXPECT_EQ(cutTailChar_(SJ("日本")), SJ("日"));
  EXPECT_EQ(cutTailChar_(SJ("aソ")), "a");
  EXPECT_EQ(cutHeadChar_("a"), "");
  EXPECT_EQ(cutTailChar_(""), "");
}

TEST(NameHistory, AnEqualEntryMovesToTheFront) {
  StringList history{"b", "A"};
  pushFrontUnique_(history, "a", true);
  EXPECT_EQ(history, (StringList{"a", "b"}));

  StringList words;
  for (int i = 0; i < 11; ++i) pushFrontUnique_(words, std::to_string(i), false, 10);
  EXPECT_EQ(words.size(), 10u);
  EXPECT_EQ(words.front(), "10");
  EXPECT_EQ(words.back(), "1");  // the oldest went
  pushFrontUnique_(words, "5", false, 10);
  EXPECT_EQ(words.front(), "5");
  EXPECT_EQ(words.size(), 10u);
  pushFrontUnique_(words, "X", false, 10);
  pushFrontUnique_(words, "x", false, 10);  // letter case counts here
  EXPECT_EQ(words[0], "x");
  EXPECT_EQ(words[1], "X");
}

}  // namespace
}  // namespace vrk
