#include "text/StringEX.h"

#include <gtest/gtest.h>

#include "text/SjisSamples.h"

namespace vrk {
namespace {

using namespace sjis;

TEST(StringEXTest, QuoteAddsOnlyTheMissingQuotes) {
  struct Case {
    std::string text;
    char q;
    std::string quoted;
  } cases[] = {
      {"", '"', "\"\""},     {"\"", '"', "\""},
      {"a", '"', "\"a\""},   {"\"a", '"', "\"a\""},
      {"a\"", '"', "\"a\""}, {"\"a\"", '"', "\"a\""},
      {"x", '\'', "'x'"},    {kHyo, '\\', "\\" + kHyo + "\\"},
  };
  for (const Case& c : cases) EXPECT_EQ(quote_(c.text, c.q), c.quoted) << c.text;
}

TEST(StringEXTest, UnquoteNeedsTheOpeningQuote) {
  struct Case {
    std::string text;
    char q;
    std::string plain;
  } cases[] = {
      {"\"a\"", '"', "a"}, {"\"a", '"', "a"},     {"a\"", '"', "a\""}, {"\"", '"', ""},
      {"\"\"", '"', ""},   {"\"\"\"", '"', "\""}, {"", '"', ""},       {"\\" + kSo, '\\', kSo},
  };
  for (const Case& c : cases) EXPECT_EQ(unquote_(c.text, c.q), c.plain) << c.text;
}

TEST(StringEXTest, Entities) {
  struct Case {
    std::string text, html, xml;
  } cases[] = {
      {" a<b", "&nbsp;a&lt;b", " a&lt;b"},
      {"  a", "&nbsp; a", "  a"},
      {"a&b>\"c\"", "a&amp;b&gt;\"c\"", "a&amp;b&gt;&quot;c&quot;"},
      {"&lt;", "&amp;lt;", "&amp;lt;"},
      {kHyo + "<", kHyo + "&lt;", kHyo + "&lt;"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(escapeHTML_(c.text), c.html);
    EXPECT_EQ(escapeXML_(c.text), c.xml);
    EXPECT_EQ(unescapeXML_(c.xml), c.text);
  }
  // Half a character would claim the entity, the closing quote or "<BR/>"
  // written after it; a lead byte before a trail byte stays.
  EXPECT_EQ(escapeXML_("a\x83\"b\x83"), "a&quot;b");
  EXPECT_EQ(escapeXML_("\x83<\x83\x40"), "&lt;\x83\x40");
  EXPECT_EQ(escapeXML_("\x83\x81\""), "\x83\x81&quot;");  // a trail byte is never a lead
}

TEST(StringEXTest, UnescapeDecodesFiveEntitiesInOnePassEach) {
  struct Case {
    std::string text, plain;
  } cases[] = {
      {"&AMP;", "&"},
      {"&amp;lt;", "&lt;"},
      {"&amp;amp;", "&amp;"},
      {"&Lt;&GT;&QuOt;&NBSP;x", "<>\" x"},
      {"&copy; &#38;", "&copy; &#38;"},
      {"a<b", "a<b"},
  };
  for (const Case& c : cases) EXPECT_EQ(unescapeXML_(c.text), c.plain) << c.text;
}

TEST(StringEXTest, SplitPairs) {
  struct Case {
    SplitPair (*split)(std::string_view, std::string_view);
    std::string text, delimiters, head, rest;
  } cases[] = {
      {splitAt_, "a" + kHyo + "\\ b ", "\\", "a" + kHyo, "b"},
      {splitAt_, kPo + "|" + kPo, "|", kPo, kPo},
      {splitAt_, " x , y", ",", " x ", "y"},
      {splitAt_, "x,", ",", "x", ""},
      {splitAt_, "xy", ",", "xy", ""},
      {splitQuotedAt_, "  a \"b c\" d ", " ", "a", "\"b c\" d"},
      {splitQuotedAt_, "\"x, y\" , z", ",", "\"x, y\" ", "z"},
      {splitQuotedAt_, "'it''s, ok',x", ",", "'it''s, ok'", "x"},
      {splitQuotedAt_, "\"open, run", ",", "\"open, run", ""},
      {splitQuotedAt_, kPo + "|b", "|", kPo, "b"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.split(c.text, c.delimiters), SplitPair(c.head, c.rest)) << c.text;
  }
}

TEST(StringEXTest, SplitWordAtFirstBlankOrTab) {
  struct Case {
    std::string text, word, rest;
  } cases[] = {
      {"", "", ""},       {"a b  c ", "a", "b  c"}, {" a b", "", "a b"},
      {"a\tb", "a", "b"}, {"abc ", "abc", ""},      {"abc", "abc", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(splitWord_(c.text), SplitPair(c.word, c.rest)) << c.text;
}

TEST(StringEXTest, SplitLists) {
  struct Case {
    void (*split)(std::string_view, std::string_view, StringList&);
    std::string text, delimiters;
    StringList tokens;
  } cases[] = {
      {splitText_, "a,,b,", ",", {"a", "", "b"}},
      {splitText_, " a , b ", ",", {"a", " b "}},
      {splitText_, "", ",", {}},
      {splitText_, ",", ",", {""}},
      {splitText_, "\"a,b\"", ",", {"\"a", "b\""}},
      {splitText_, kSo + "\\x;y", "\\;", {kSo, "x", "y"}},
      {splitQuoted_, "a \"b c\" d", " ", {"a", "\"b c\"", "d"}},
      {splitQuoted_, "a  b", " ", {"a", "", "b"}},
      {splitQuoted_, "\"x \"\"y\"\" z\",w", ",", {"\"x \"\"y\"\" z\"", "w"}},
      {splitQuoted_, "'a,\"b',c", ",", {"'a,\"b'", "c"}},
      {splitQuoted_, "x,\"never, closed", ",", {"x", "\"never, closed"}},
      {splitQuoted_, kHyo + "\\" + kSo + "\\", "\\", {kHyo, kSo}},
      {splitQuoted_, "a, b ", ",", {"a", " b "}},
  };
  for (const Case& c : cases) {
    StringList list = {"stale"};
    c.split(c.text, c.delimiters, list);
    EXPECT_EQ(list, c.tokens) << c.text;
  }
}

TEST(StringEXTest, SafeFileNameReplacesOnlySingleByteCharacters) {
  EXPECT_EQ(safeFileName_("a\\b/c:d,e;f*g?h\"i<j>k|l.txt"), "a_b_c_d_e_f_g_h_i_j_k_l.txt");
  const std::string japanese = kHyo + kSo + kPo;
  EXPECT_EQ(safeFileName_(japanese + "|" + japanese), japanese + "_" + japanese);
}

TEST(StringEXTest, UrlToFileName) {
  struct Case {
    std::string address, name;
  } cases[] = {
      {" \t", "space.html"},
      {"http://www.example.co.jp", "httpwww.example.co.jp_index.html"},
      {"http://WWW.EXAMPLE.COM", "httpWWW.EXAMPLE.COM_index.html"},
      {"http://example.com/", "httpexample.comindex.html"},
      {"http://x.org/cgi/a.cgi?q=1", "httpx.orgcgia.cgi?q=1"},
      {"http://x.org/page.html", "httpx.orgpage.html"},
      {"<a.b>.zw", "a.b.zw_index.html"},  // last of the endings
      {"site.vg", "site.vg_index.html"},  // out of alphabetical order
      {"site.name", "site.name_index.html"},
      {"site.xyz", "site.xyz"},
      {"name.", "name._index.html"},
      {"noext", "noext"},
      {"c:\\" + kHyo + "\\x.jp", "c" + kHyo + "x.jp_index.html"},
  };
  for (const Case& c : cases) EXPECT_EQ(urlToFileName_(c.address), c.name) << c.address;
}

TEST(StringEXTest, DigitTests) {
  struct Case {
    std::string text;
    bool has, all;
    std::string digits;
  } cases[] = {
      {"", false, true, ""},
      {"a1b2", true, false, "12"},
      {"0123456789", true, true, "0123456789"},
      {kHyo + "/:", false, false, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(hasDigit_(c.text), c.has) << c.text;
    EXPECT_EQ(allDigits_(c.text), c.all) << c.text;
    EXPECT_EQ(digitsOf_(c.text), c.digits) << c.text;
  }
}

TEST(StringEXTest, Odometer) {
  struct Case {
    std::string text, inc, dec, incTens, decTens;
  } cases[] = {
      {"a9", "a0", "a8", "a9", "a9"},
      {"a99", "a00", "a98", "a09", "a89"},
      {"a00", "a01", "a99", "a10", "a90"},
      {"a10", "a11", "a09", "a20", "a00"},
      {"x19y", "x20y", "x18y", "x29y", "x09y"},
      {"file05", "file06", "file04", "file15", "file95"},
      {"file95", "file96", "file94", "file05", "file85"},
      {"7", "8", "6", "7", "7"},
      {"ab5cd7", "ab5cd8", "ab5cd6", "ab6cd7", "ab4cd7"},
      {"9-9", "9-0", "9-8", "0-9", "8-9"},
      {"abc", "abc", "abc", "abc", "abc"},
      {"", "", "", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(incDigits_(c.text), c.inc) << c.text;
    EXPECT_EQ(decDigits_(c.text), c.dec) << c.text;
    EXPECT_EQ(incTens_(c.text), c.incTens) << c.text;
    EXPECT_EQ(decTens_(c.text), c.decTens) << c.text;
  }
}

}  // namespace
}  // namespace vrk
