// Tag tree reader (XML and dictionary modes), attribute access, writing and
// the tag dictionary.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "markup/TTAGNode.h"
#include "text/CharEX.h"

namespace vrk {
namespace {

// Shift_JIS bytes of the Japanese messages.
const std::string kEndTagFirst =  // いきなり終了タグがあらわれた。
    "\x82\xa2\x82\xab\x82\xc8\x82\xe8\x8f\x49\x97\xb9\x83\x5e\x83\x4f\x82\xaa\x82\xa0\x82\xe7"
    "\x82\xed\x82\xea\x82\xbd\x81\x42";
const std::string kMismatch =  // " タグの開始と終了が一致しない。"
    "\x20\x83\x5e\x83\x4f\x82\xcc\x8a\x4a\x8e\x6e\x82\xc6\x8f\x49\x97\xb9\x82\xaa\x88\xea\x92"
    "\x76\x82\xb5\x82\xc8\x82\xa2\x81\x42";
const std::string kUnknownTag =  // "未知のタグを見つけた "
    "\x96\xa2\x92\x6d\x82\xcc\x83\x5e\x83\x4f\x82\xf0\x8c\xa9\x82\xc2\x82\xaf\x82\xbd\x20";
const std::string kCurrentNil =  // "ERROR カレントタグが nil になった。恐らくタグの入れ子が不一致"
    "ERROR \x83\x4a\x83\x8c\x83\x93\x83\x67\x83\x5e\x83\x4f\x82\xaa nil \x82\xc9\x82\xc8\x82\xc1"
    "\x82\xbd\x81\x42\x8b\xb0\x82\xe7\x82\xad\x83\x5e\x83\x4f\x82\xcc\x93\xfc\x82\xea\x8e\x71"
    "\x82\xaa\x95\x73\x88\xea\x92\x76";
const std::string kUnknownClass =  // "　未知の型定義"
    "\x81\x40\x96\xa2\x92\x6d\x82\xcc\x8c\x5e\x92\xe8\x8b\x60";

struct Read {
  std::unique_ptr<TTAGNode> root = std::make_unique<TTAGNode>();
  StringList errors;
  int result = 0;
};

Read readXML(const StringList& words) {
  Read r;
  r.result = TTAGNode::_FromXMLWordList_aOUT_(r.root.get(), words, r.errors);
  return r;
}

Read readHTML(const StringList& words) {
  Read r;
  r.result = TTAGNode::fromHTMLWordList_(r.root.get(), words, r.errors);
  return r;
}

TEST(TTAGNodeXMLMode, BuildsTheTreeOfAHolderFile) {
  StringList words;
  toWordList_({"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>", "<Holder name=\"h\">",
               "  <Record name=\"\x95\x5c\">", "    <Field k=\"v\" />",
               "    <Comment>c1<BR/>c2<BR/></Comment>", "  </Record>", "  <Record name=\"b\">",
               "  </Record>", "</Holder>"},
              words, false);
  const Read r = readXML(words);
  ASSERT_EQ(r.result, 0);
  EXPECT_TRUE(r.errors.empty());
  EXPECT_FALSE(r.root->aAttrs.has_value());
  ASSERT_EQ(r.root->count(), 2u);  // declaration and Holder
  EXPECT_EQ(r.root->childAt(0)->tagName, "?xml");

  TTAGNode* holder = r.root->findTag_("Holder");
  ASSERT_NE(holder, nullptr);
  EXPECT_EQ(holder->aParent, r.root.get());
  EXPECT_EQ(holder->endTagName, "Holder");
  EXPECT_EQ(holder->getAttr_("name"), "\"h\"");
  ASSERT_EQ(holder->count(), 2u);
  EXPECT_EQ(holder->textAt(0), "<Record name=\"\x95\x5c\">");

  TTAGNode* record = holder->findTag_("Record");
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->getAttr_("NAME"), "\"\x95\x5c\"");
  TTAGNode* field = record->findTag_("Field");
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->count(), 0u);
  EXPECT_EQ(field->endTagName, "");  // empty elements are not entered, so never closed
  TTAGNode* comment = record->findTag_("Comment");
  ASSERT_NE(comment, nullptr);
  EXPECT_EQ(comment->count(), 4u);
  EXPECT_EQ(comment->text(), "c1c2");
  EXPECT_NE(comment->findTag_("BR"), nullptr);

  EXPECT_TRUE(holder->childAt(1)->aAttrs.has_value());
  EXPECT_EQ(holder->childAt(1)->count(), 0u);  // blank text between tags gives nothing
}

TEST(TTAGNodeXMLMode, DecodesTextOnceAndLeavesOpenElements) {
  const Read r = readXML({"<a>", "a &amp;lt; b", "<b>"});
  EXPECT_EQ(r.result, 0);
  TTAGNode* a = r.root->findTag_("a");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->textAt(0), "a &lt; b");
  EXPECT_NE(a->findTag_("b"), nullptr);
  EXPECT_EQ(readXML({}).result, 0);
}

TEST(TTAGNodeXMLMode, ErrorsStopTheReadWithExactLines) {
  struct Case {
    const char* what;
    StringList words;
    StringList errors;
  } cases[] = {
      {"surplus end tag at the top",
       {"</Record>"},
       {"0:</Record>", kMismatch + " Record in TTAGNode._fromXMLWorldList_aOUT_"}},
      {"end tag names compare with case",
       {"<Record>", "</record>"},
       {"1:</record>", kMismatch + "Record record in TTAGNode._fromXMLWorldList_aOUT_"}},
      {"end tag after the root was closed",
       {"</ >", "</a>"},
       {"1:</a>", kEndTagFirst + "a  in TTAGNode._fromXMLWorldList_aOUT_"}},
      {"start tag after the root was closed",
       {"</ >", "<a>"},
       {"ERROR Current TAG is nil. Probabry TAG's ireko not matichline number = 1 word=<a> in  "
        "_FromXMLWordList_aOUT_ "}},
      {"text after the root was closed; a declaration cannot be added",
       {"</ >", "<?xml v?>", "t"},
       {"ERROR: self = nil word = <?xml v?> in TTAGNode.addNew___ ", "2:t",
        "?xml aTTNC = nil in TTAGNode._FromXMLWordList_aOUT_"}},
      {"a word without a name", {"<a>", "<  >"}, {}},
  };
  for (const Case& c : cases) {
    const Read r = readXML(c.words);
    EXPECT_EQ(r.result, -1) << c.what;
    EXPECT_EQ(r.errors, c.errors) << c.what;
  }
}

TEST(TTAGNodeXMLMode, KeepsTheTreeBuiltBeforeAnErrorAndAppendsToErrors) {
  Read r;
  r.errors = {"earlier"};
  r.result = TTAGNode::_FromXMLWordList_aOUT_(r.root.get(), {"<a>", "x", "</b>", "<c>"}, r.errors);
  EXPECT_EQ(r.result, -1);
  EXPECT_EQ(r.errors.size(), 3u);
  EXPECT_EQ(r.errors[0], "earlier");
  ASSERT_NE(r.root->findTag_("a"), nullptr);
  EXPECT_EQ(r.root->findTag_("a")->text(), "x");
  EXPECT_EQ(r.root->findTag_("a")->endTagName, "b");
  EXPECT_EQ(r.root->findTag_("c"), nullptr);
}

TEST(TTAGNodeXMLMode, NoRootMeansNoCurrentElement) {
  StringList errors;
  EXPECT_EQ(TTAGNode::_FromXMLWordList_aOUT_(nullptr, {"t"}, errors), -1);
  EXPECT_EQ(errors, (StringList{"0:t", " aTTNC = nil in TTAGNode._FromXMLWordList_aOUT_"}));
}

TEST(TTAGNodeDictionaryMode, BuildsByKindAndUpperCasesNames) {
  const Read r = readHTML({"<!DOCTYPE html>", "<html>", "<!-- c -->", "<body bgcolor=\"w\">", "<p>",
                           "&amp;", "<br/>", "<TD>", "x", "</td>", "</body>", "</html>"});
  ASSERT_EQ(r.result, 0) << (r.errors.empty() ? "" : r.errors.back());
  ASSERT_EQ(r.root->count(), 2u);
  EXPECT_EQ(r.root->childAt(0)->tagName, "!DOCTYPE");
  TTAGNode* html = r.root->findTag_("HTML");
  ASSERT_NE(html, nullptr);
  EXPECT_EQ(html->aDef, aTagDict().find_("html"));
  TTAGNode* comment = html->findTag_("!--");
  ASSERT_NE(comment, nullptr);
  EXPECT_EQ(*comment->aAttrs, (StringList{"c=\"\"", "--"}));

  TTAGNode* body = html->findTag_("BODY");
  ASSERT_NE(body, nullptr);
  EXPECT_EQ(body->endTagName, "BODY");
  ASSERT_EQ(body->count(), 4u);  // P, text, BR and TD: kinds 3 and 4 are not entered
  EXPECT_EQ(body->textAt(1), "&amp;");
  EXPECT_EQ(body->textAt(2), "<br/>");
  EXPECT_EQ(body->findTag_("TD")->text(), "x");
  EXPECT_EQ(body->findTag_("TD")->endTagName, "TD");
}

TEST(TTAGNodeDictionaryMode, ErrorsStopTheReadWithExactLines) {
  struct Case {
    const char* what;
    StringList words;
    StringList errors;
  } cases[] = {
      {"declaration is unknown",
       {"<?xml version=\"1.0\"?>"},
       {"0:<?xml version=\"1.0\"?>", kUnknownTag + "?XML in TTAGNode._FromWordList_aDict_"}},
      {"end tag differs",
       {"<b>", "</I>"},
       {"1:</I>", kMismatch + "B I in TTAGNode._fromWorldList_aDict_"}},
      {"tag after the root was closed",
       {"</ >", "<b>"},
       {kCurrentNil + " line number = 1 word=<b> in  _FromWordList_aDict_aOUT_ "}},
      {"text after the root was closed",
       {"</ >", "x"},
       {"1:x", " in TTAGNode._FromWordList_aDict_"}},
  };
  for (const Case& c : cases) {
    const Read r = readHTML(c.words);
    EXPECT_EQ(r.result, -1) << c.what;
    EXPECT_EQ(r.errors, c.errors) << c.what;
  }

  const Read closedTwice = readHTML({"</ >", "</b>"});
  EXPECT_EQ(closedTwice.result, -1);
  ASSERT_FALSE(closedTwice.errors.empty());
  EXPECT_EQ(closedTwice.errors.front(), "1:</b>");
}

TEST(TTAGNodeDictionaryMode, RefusesADefinitionOfAnotherClass) {
  struct OtherDef : TDEFTAG {
    using TDEFTAG::TDEFTAG;
  };
  TagDictionary dict;
  dict.add_("Odd", "1", std::make_unique<OtherDef>("ODD"));
  TTAGNode root;
  StringList errors;
  EXPECT_EQ(TTAGNode::_FromWordList_aDict_(&root, {"<odd>"}, dict, errors), -1);
  EXPECT_EQ(errors,
            (StringList{"0:<odd>", "ODD" + kUnknownClass + " in TTAGNode._FromWordList_aDict_"}));
  EXPECT_EQ(root.count(), 0u);
}

TEST(TTAGNodeWrite, WritesThroughTheDefinitions) {
  const Read r = readHTML({"junk", "<HTML>", "<HEAD>", "<title>", "T", "<B>", "x", "</B>",
                           "</TITLE>", "</HEAD>", "<BODY bgcolor=\"w\">", "<!-- c -->", "<P>",
                           "para", "<A href=\"x\">", "link", "</A>", "</BODY>", "</HTML>"});
  ASSERT_EQ(r.result, 0);
  StringList lines;
  r.root->writeTree_(lines);
  EXPECT_EQ(lines, (StringList{"<HTML>", "<HEAD>", "<TITLE>", "T", "<B>", "</TITLE>", "</HEAD>",
                               "<BODY bgcolor=\"w\" >", "<!-- c=\"\" -- >", "<P>", "para",
                               "<A href=\"x\" >", "link", "</A>", "</BODY>", "</HTML>"}));

  // Without definitions (an XML tree) no element writes anything.
  StringList none;
  readXML({"<a>", "t", "<b/>", "</a>"}).root->writeTree_(none);
  EXPECT_TRUE(none.empty());
}

TEST(TTAGNodeDeepNesting, WriteAndFreeWithoutRecursion) {
  // Deeper than any reader builds: made by hand.
  constexpr std::size_t kDepth = 200000;
  const TDEFTAG* div = aTagDict().find_("DIV");
  ASSERT_NE(div, nullptr);
  for (const bool withDefs : {true, false}) {
    auto root = std::make_unique<TTAGNode>();
    TTAGNode* current = root.get();
    for (std::size_t i = 0; i < kDepth; ++i)
      current = withDefs ? TTAGNode::addNew___(current, div, {}, "<DIV>")
                         : TTAGNode::addNew___(current, "DIV", {}, "<DIV>");
    current->addText_("x");
    StringList lines;
    root->writeTree_(lines);
    if (withDefs) {
      ASSERT_EQ(lines.size(), 2 * kDepth + 1);
      EXPECT_EQ(lines[kDepth], "x");
      EXPECT_EQ(lines.back(), "</DIV>");
      root->clearTree();
      EXPECT_EQ(root->count(), 0u);
    } else {
      EXPECT_TRUE(lines.empty());  // freed by the destructor
    }
  }
}

// A few bytes a tag would otherwise build millions of elements.
TEST(TTAGNodeDeepNesting, ReadersRefuseNestingPastTheLimit) {
  const auto nested = [](std::size_t depth) {
    StringList words(depth, "<DIV>");
    words.push_back("x");
    words.insert(words.end(), depth, "</DIV>");
    return words;
  };
  for (const bool html : {true, false}) {
    SCOPED_TRACE(html ? "dictionary mode" : "XML mode");
    const auto read = [html](const StringList& words) {
      return html ? readHTML(words) : readXML(words);
    };
    // End tags give the depth back: two chains at the limit, one after the other.
    StringList twice = nested(1024);
    const StringList second = nested(1024);
    twice.insert(twice.end(), second.begin(), second.end());
    const Read ok = read(twice);
    EXPECT_EQ(ok.result, 0);
    EXPECT_TRUE(ok.errors.empty());
    EXPECT_EQ(ok.root->count(), 2u);

    const Read deep = read(nested(1025));
    EXPECT_EQ(deep.result, -1);
    EXPECT_EQ(deep.errors,
              (StringList{"1024:<DIV>",
                          std::string("tags nested deeper than 1024 in TTAGNode.") +
                              (html ? "_fromWorldList_aDict_" : "_fromXMLWorldList_aOUT_")}));
  }
}

TEST(TTAGNode, AttributeAccess) {
  const Read r = readXML({"<x Name=\"n\" k = 'v' bare>"});
  const TTAGNode& x = *r.root->childAt(0);
  EXPECT_EQ(x.countOfAttrs(), 3);
  EXPECT_EQ(x.getAttr_("NAME"), "\"n\"");
  EXPECT_EQ(x.getAttr_("k"), "'v'");
  EXPECT_EQ(x.getAttr_("bare"), "");
  EXPECT_EQ(x.getAttr_("none"), "");
  EXPECT_EQ(x.getAttrAt_(2), "bare");
  EXPECT_EQ(x.getAttrAt_(3), "");
  EXPECT_EQ(x.getAttrAt_(-1), "");
  EXPECT_EQ(x.getAttrText(), "Name=\"n\"\r\nk='v'\r\nbare\r\n");

  struct Case {
    int index;
    int result;
    std::string key;
    std::string value;
  } cases[] = {{0, 0, "Name", "\"n\""}, {1, 1, "k", "'v'"}, {2, 0, "bare", ""}, {3, -2, "", ""}};
  for (const Case& c : cases) {
    std::string key, value;
    EXPECT_EQ(x.splitAttrAt_(c.index, key, value), c.result) << c.index;
    EXPECT_EQ(key, c.key) << c.index;
    EXPECT_EQ(value, c.value) << c.index;
  }

  TTAGNode* spaced = TTAGNode::addNew___(r.root.get(), "y", {" k = v "}, "<y>");
  std::string key, value;
  EXPECT_EQ(spaced->splitAttrAt_(0, key, value), 0);
  EXPECT_EQ(key + "|" + value, "k|v");

  const TTAGNode& root = *r.root;
  EXPECT_EQ(root.splitAttrAt_(0, key, value), -1);
  EXPECT_EQ(root.countOfAttrs(), 0);
  EXPECT_EQ(root.getAttr_("k"), "");
  EXPECT_EQ(root.getAttrText(), "");
}

TEST(TTAGNode, FindTagLooksAtDirectChildrenOnlyWithCase) {
  const Read r = readXML({"<a>", "<b>", "</b>", "</a>", "<a x=\"2\">", "</a>"});
  EXPECT_EQ(r.root->findTag_("a"), r.root->childAt(0));
  EXPECT_EQ(r.root->findTag_("A"), nullptr);
  EXPECT_EQ(r.root->findTag_("b"), nullptr);
  EXPECT_EQ(r.root->findTag_(" "), nullptr);
}

TEST(TTAGNode, AddNewWithoutCurrentReportsWhenAsked) {
  StringList errors;
  EXPECT_EQ(TTAGNode::addNew___(nullptr, "a", {}, "<a>", &errors), nullptr);
  EXPECT_EQ(errors, (StringList{"ERROR: self = nil word = <a> in TTAGNode.addNew___ "}));
  EXPECT_EQ(TTAGNode::addNew___(nullptr, aTagDict().find_("B"), {}, "<b>"), nullptr);
}

TEST(TTAGNodeDictionary, HoldsTheBuiltInTagsSortedWithTheirClasses) {
  const TagDictionary& dict = aTagDict();
  EXPECT_EQ(&dict, &aTagDict());
  ASSERT_EQ(dict.count(), 48u);
  StringList entries;
  for (std::size_t i = 0; i < dict.count(); ++i) entries.push_back(dict.entryAt(i));
  for (std::size_t i = 1; i < entries.size(); ++i) {
    EXPECT_LT(lowerCase_(entries[i - 1]), lowerCase_(entries[i]));
  }
  struct Case {
    const char* name;
    const char* entry;
    int kind;
  } cases[] = {{"a", "A=1", 1},     {"Title", "TITLE=2", 2},
               {"!--", "!--=3", 3}, {"!doctype", "!DOCTYPE=3", 3},
               {"br", "BR=4", 3},   {"NOFLAMES", "NOFLAMES=1", 1}};
  for (const Case& c : cases) {
    const TDEFTAG* def = dict.find_(c.name);
    ASSERT_NE(def, nullptr) << c.name;
    EXPECT_EQ(def->name(), upperCase_(c.name));
    const int kind = dynamic_cast<const TDEFTAG01*>(def)   ? 1
                     : dynamic_cast<const TDEFTAG02*>(def) ? 2
                     : dynamic_cast<const TDEFTAG03*>(def) ? 3
                                                           : 0;
    EXPECT_EQ(kind, c.kind) << c.name;
    EXPECT_NE(std::find(entries.begin(), entries.end(), c.entry), entries.end()) << c.entry;
  }
  EXPECT_EQ(dict.find_("NOFRAMES"), nullptr);
}

}  // namespace
}  // namespace vrk
