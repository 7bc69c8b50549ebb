#include "script/TPPAParser.h"

#include <gtest/gtest.h>

namespace vrk {
namespace {

// Tokens as "kind:text" joined by blanks.
std::string tokens(std::string_view text) {
  static const char* kinds[] = {"end", "comment", "str", "hex", "int", "real", "id", "sym"};
  std::string out;
  for (TPPAParser p(text); p.kind() != TokenKind::End; p.nextToken()) {
    if (!out.empty()) out += ' ';
    out += kinds[static_cast<int>(p.kind())];
    out += ':';
    out += p.token();
  }
  return out;
}

TEST(TPPAParser, Tokens) {
  struct Row {
    const char* text;
    const char* expected;
  };
  const Row rows[] = {
      {"a:=b1_+12", "id:a sym::= id:b1_ sym:+ int:12"},
      {"x<=y<>z>=w..v", "id:x sym:<= id:y sym:<> id:z sym:>= id:w sym:.. id:v"},
      {"1.5 2e3 2.5E-3 7e+1", "real:1.5 real:2e3 real:2.5E-3 real:7e+1"},
      {"1..5", "real:1 sym:.. int:5"},
      {"3.x", "real:3 sym:. id:x"},
      {"3e x", "int:3 id:e id:x"},
      {"$1F $ $g", "hex:$1F sym:$ sym:$ id:g"},
      {"'it''s' 'a'#13#$0A'b'", "str:'it''s' str:'a' str:#13 str:#$0A str:'b'"},
      {"# #$", "str:# str:#$"},
      {"'open to the end", "str:'open to the end"},
      {"a // note ; b\nc", "id:a comment:// note ; b id:c"},
      {"\x01x\x20\x1fy", "id:x id:y"},
      {"\x95\x5c", "sym:\x95 sym:\\"},  // a double-byte character outside a string: two bytes
      {"'\x95\x5c'", "str:'\x95\x5c'"},
  };
  for (const Row& row : rows) EXPECT_EQ(tokens(row.text), row.expected) << row.text;
}

TEST(TPPAParser, MatchAndOffset) {
  TPPAParser p("  begin End");
  EXPECT_EQ(p.offset(), 2u);
  EXPECT_FALSE(p.match_("end"));
  EXPECT_TRUE(p.match_("BEGIN"));
  EXPECT_EQ(p.tokenUpper(), "END");
  EXPECT_EQ(p.offset(), 8u);
  EXPECT_TRUE(p.match_("end"));
  EXPECT_EQ(p.kind(), TokenKind::End);
}

TEST(TPPAParser, StringValues) {
  struct Row {
    const char* token;
    std::string value;
  };
  const Row rows[] = {
      {"'abc'", "abc"},
      {"''", ""},
      {"'it''s'", "it's"},
      {"''''", "'"},
      {"'open", "open"},
      {"#65", "A"},
      {"#1234", "{"},
      {"#$41", "A"},
      {"#$1FF", ""},
      {"#300", ""},
      {"#0", std::string(1, '\0')},
      {"#", ""},
      {"#$", ""},
      {"#255", "\xff"},
  };
  for (const Row& row : rows) EXPECT_EQ(decodeStringToken_(row.token), row.value) << row.token;
}

TEST(TPPAParser, IntegerLiterals) {
  EXPECT_EQ(integerLiteral_("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(integerLiteral_("9223372036854775808"), 0);
  EXPECT_EQ(integerLiteral_("$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_EQ(integerLiteral_("$000000000000000000001"), 1);
  EXPECT_EQ(integerLiteral_("$10000000000000000"), 0);
}

}  // namespace
}  // namespace vrk
