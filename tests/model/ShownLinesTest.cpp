// Committing a text box against the bytes it was filled with.
#include "model/ShownLines.h"

#include <gtest/gtest.h>

namespace vrk {
namespace {

// ED40 and FA5C are the same character to the bridge (U+7E8A); 85 40 and a
// lone FD are no Shift_JIS at all.
const std::string kNec = "\xED\x40";
const std::string kIbm = "\xFA\x5C";
const std::string kRaw = "raw \x85\x40 \xFD";
const std::string kHyo = "\x95\x5C";                             // 表
const std::string kKou = "\xE7\xBA\x8A";                         // U+7E8A as the box shows it
const std::string kRawShown = "raw \xEF\x9E\x85@ \xEF\x9F\xBD";  // U+F785, U+F7FD
const std::string kEmoji = "\xF0\x9F\x98\x80";                   // U+1F600

TEST(ShownLines, TheBoxShowsEachLineThroughTheBridge) {
  EXPECT_EQ(boxText_({kNec, kIbm, kRaw, "", kHyo}),
            kKou + "\n" + kKou + "\n" + kRawShown + "\n\n\xE8\xA1\xA8");
  EXPECT_EQ(boxText_({}), "");
  EXPECT_EQ(boxText_({""}), "");
}

TEST(ShownLines, CommitsKeepTheBytesOfEveryLineLeftAsShown) {
  const StringList stored{"first", kNec, kIbm, kRaw, "last"};
  const struct {
    const char* name;
    std::string edited;
    StringList expected;
  } cases[] = {
      {"untouched", boxText_(stored), stored},
      {"one line edited",
       "first\n" + kKou + "\n" + kKou + "!\n" + kRawShown + "\nlast",
       {"first", kNec, kIbm + "!", kRaw, "last"}},
      {"a line inserted at the front",
       "new\nfirst\n" + kKou + "\n" + kKou + "\n" + kRawShown + "\nlast",
       {"new", "first", kNec, kIbm, kRaw, "last"}},
      {"a line inserted in between",
       "first\n" + kKou + "\n\xE8\xA1\xA8\n" + kKou + "\n" + kRawShown + "\nlast",
       {"first", kNec, kHyo, kIbm, kRaw, "last"}},
      {"a line appended", boxText_(stored) + "\n", {"first", kNec, kIbm, kRaw, "last", ""}},
      {"a line removed",
       "first\n" + kKou + "\n" + kRawShown + "\nlast",
       {"first", kNec, kRaw, "last"}},
      {"both ends edited: the middle finds its bytes by text, in order",
       "FIRST\n" + kKou + "\n" + kKou + "\n" + kRawShown + "\nLAST",
       {"FIRST", kNec, kIbm, kRaw, "LAST"}},
      {"lines swapped",
       "first\n" + kRawShown + "\n" + kKou + "\n" + kKou + "\nlast",
       {"first", kRaw, kNec, kIbm, "last"}},
      {"a stored line is used once: a copy goes through the bridge",
       "first\n" + kKou + "\n" + kKou + "\n" + kKou + "\n" + kRawShown + "\nlast",
       {"first", kNec, kIbm, kIbm, kRaw, "last"}},
      {"everything removed", "", {}},
      {"a carriage return typed stays in its line", "first\r\nlast", {"first\r", "last"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ShownLines shown;
    shown.fill_(stored, boxText_(stored));
    EXPECT_EQ(shown.commit_(c.edited), c.expected);
  }
}

TEST(ShownLines, ACharacterShiftJISCannotHoldIsRefusedAndNamed) {
  const StringList stored{"kept", kNec};
  ShownLines shown;
  shown.fill_(stored, boxText_(stored));
  EncodeFailure refused;
  EXPECT_EQ(shown.commit_("kept\n" + kKou + "\nab" + kEmoji + "c", &refused), std::nullopt);
  EXPECT_EQ(refused.character, kEmoji);
  EXPECT_EQ(refused.offset, 11u);  // "kept\n", three bytes, "\n", "ab"
  // A line the user left alone is never refused, only one typed.
  EXPECT_EQ(shown.commit_("kept!\n" + kKou), (StringList{"kept!", kNec}));
}

TEST(ShownLines, ABoxThatSplitLinesComparesWithEachStoredLine) {
  // A stored carriage return starts a new line in the box: the box's lines no
  // longer pair with the stored ones.
  const StringList stored{"a\rb", "c", kNec};
  ShownLines shown;
  shown.fill_(stored, "a\nb\nc\n" + kKou);
  EXPECT_EQ(shown.commit_("a\nb\nc\n" + kKou), stored);  // untouched
  EXPECT_EQ(shown.commit_("a\nb\nc!\n" + kKou), (StringList{"a", "b", "c!", kNec}));
  EXPECT_EQ(shown.commit_("a\rb\nc\n" + kKou + "\nd"), (StringList{"a\rb", "c", kNec, "d"}));
}

TEST(ShownLines, AnEmptyBoxTakesWhatIsTyped) {
  ShownLines shown;
  shown.fill_({}, "");
  EXPECT_EQ(shown.commit_(""), StringList{});
  EXPECT_EQ(shown.commit_(kKou + "\n"), (StringList{kIbm, ""}));  // the bridge's choice: FA5C
}

}  // namespace
}  // namespace vrk
