// Tokenizer, tag splitting and attribute joining.
#include <gtest/gtest.h>

#include "markup/TTAGNode.h"

namespace vrk {
namespace {

StringList words(const StringList& lines, bool keepBreaks = false) {
  StringList out;
  toWordList_(lines, out, keepBreaks);
  return out;
}

TEST(TTAGNodeWordList, CutsLinesIntoTagAndTextWords) {
  struct Case {
    const char* what;
    StringList lines;
    bool keepBreaks;
    StringList expected;
  } cases[] = {
      {"memo lines", {"a<BR/>", "b<BR/>"}, false, {"a", "<BR/>", "b", "<BR/>"}},
      {"text joins across a break", {"x", "y<a>"}, false, {"xy", "<a>"}},
      {"blank line between tags", {"<a>", "", "<b>"}, false, {"<a>", "<b>"}},
      {"indentation", {"  <a>"}, false, {"<a>"}},
      {"quoted > stays in the tag", {"<Field k=\"a>b\" />"}, false, {"<Field k=\"a>b\" />"}},
      {"quoted break is kept", {"<a k=\"x", "y\">"}, false, {"<a k=\"x\r\ny\">"}},
      {"break inside a tag is removed", {"<a", "b>"}, false, {"<ab>"}},
      {"single quotes are plain", {"<a k='x>y'><b>"}, false, {"<a k='x>", "y'>", "<b>"}},
      {"trailing text and open tag dropped", {"a<b>c<d"}, false, {"a", "<b>", "c"}},
      {"unterminated quote dropped", {"<a>", "<b k=\"v>"}, false, {"<a>"}},
      {"Shift_JIS text", {"\x95\x5c\x83\x5c<BR/>"}, false, {"\x95\x5c\x83\x5c", "<BR/>"}},
      {"no lines", {}, false, {}},
      {"breaks kept outside tags", {"a", "<b>c"}, true, {"a", "<CR/>", "<b>", "c", "<CR/>"}},
      {"blank line kept untrimmed",
       {"<a>", "  ", "<b>"},
       true,
       {"<a>", "<CR/>", "  ", "<CR/>", "<b>", "<CR/>"}},
      {"break pairs",
       {"a\r\r\rb\n\rc<d>"},
       true,
       {"a", "<CR/>", "<CR/>", "b", "<CR/>", "c", "<d>", "<CR/>"}},
      {"no break word inside a tag", {"<a", "b>"}, true, {"<ab>", "<CR/>"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(words(c.lines, c.keepBreaks), c.expected) << c.what;
  }
}

// Words far longer than the room the scanner keeps are handed over whole; the
// words after them must not inherit anything of them.
TEST(TTAGNodeWordScanner, LongWordsComeOutWholeAndLeaveNothingBehind) {
  const std::string text(300000, 'x');
  const std::string blank(300000, ' ');
  const std::string tag = "<Field k=\"" + text + "\" />";
  struct Case {
    const char* what;
    std::string bytes;
    bool keepBreaks;
    StringList expected;
  } cases[] = {
      {"long text", text + "<BR/>y<BR/>", false, {text, "<BR/>", "y", "<BR/>"}},
      {"long tag", "a" + tag + "b<c>", false, {"a", tag, "b", "<c>"}},
      {"long blank run", "<a>" + blank + "<b>z<c>", false, {"<a>", "<b>", "z", "<c>"}},
      {"long line before a break", text + "\r\nq\r\n", true, {text, "<CR/>", "q", "<CR/>"}},
  };
  for (const Case& c : cases) {
    for (const std::size_t piece : {std::size_t(1) << 12, c.bytes.size()}) {
      StringList out;
      WordScanner scanner(out, c.keepBreaks);
      for (std::size_t at = 0; at < c.bytes.size(); at += piece)
        scanner.feed(std::string_view(c.bytes).substr(at, piece));
      EXPECT_EQ(out, c.expected) << c.what << " in pieces of " << piece;
    }
  }
}

TEST(TTAGNodeWordList, AppendsToExistingWords) {
  StringList out{"old"};
  toWordList_({"<a>"}, out, false);
  EXPECT_EQ(out, (StringList{"old", "<a>"}));
}

TEST(TTAGNodeSplitTag, NameAttributesAndFlags) {
  struct Case {
    const char* word;
    std::string name;
    StringList attrs;
    bool isEmptyElement;
    bool isEndTag;
  } cases[] = {
      {"<Record name = \"n\">", "Record", {"name=\"n\""}, false, false},
      {"<x a b>", "x", {"a=\"\"", "b"}, false, false},
      {"<x a= b c>", "x", {"a=\"\"", "b=\"\"", "c"}, false, false},
      {"<x k= \"v\" j ='w'>", "x", {"k=\"v\"", "j='w'"}, false, false},
      {"<x k=v \"q\" y>", "x", {"k=v", "\"q\"", "y"}, false, false},
      {"<Record name=\"&quot;q&quot;\">", "Record", {"name=\"\"q\"\""}, false, false},
      {"<x t=\"a &amp;lt; b\">", "x", {"t=\"a &lt; b\""}, false, false},
      {"<Field k=\"a b\" />", "Field", {"k=\"a b\""}, true, false},
      {"  <a\tb='1 2'>  ", "a", {"b='1 2'"}, false, false},
      {"<BR/>", "BR", {}, true, false},
      {"</Record>", "Record", {}, false, true},
      {"</ >", "", {}, false, true},
      {"<>", "", {}, false, false},
      {"<   />", "", {}, true, false},
      {"<!-- c -->", "!--", {"c=\"\"", "--"}, false, false},
      {"<?xml version=\"1.0\"?>", "?xml", {"version=\"1.0\"?"}, false, false},
  };
  for (const Case& c : cases) {
    const SplitTag tag = splitTag_(c.word);
    EXPECT_EQ(tag.name, c.name) << c.word;
    EXPECT_EQ(tag.attrs, c.attrs) << c.word;
    EXPECT_EQ(tag.isEmptyElement, c.isEmptyElement) << c.word;
    EXPECT_EQ(tag.isEndTag, c.isEndTag) << c.word;
  }
}

TEST(TTAGNodeJoinAttrs, TrimsTokensAndKeepsTheLastOneAsItIs) {
  EXPECT_EQ(joinAttrs_({" k ", " = ", " \"v\" ", " bare "}), (StringList{"k=\"v\"", "bare"}));
  EXPECT_EQ(joinAttrs_({"k", "=v"}), (StringList{"k=v"}));
  EXPECT_EQ(joinAttrs_({}), StringList{});
}

}  // namespace
}  // namespace vrk
