// Memo nodes: the Record element, parents, paths, links and templates.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/ModelTestSupport.h"
#include "model/TContent.h"
#include "platform/SJ.h"
#include "text/Basic.h"
#include "text/CharEX.h"

namespace vrk {
namespace {

using modeltest::FixedServices;
using modeltest::readBack;
using modeltest::ScratchDir;
using modeltest::storedText;

// A real holder named "notes", listed in a memo file stored at memoFilePath:
// the holder's file lies beside it, and its nodes inherit from both.
struct HolderInFile {
  explicit HolderInFile(std::string_view memoFilePath = "/data/memo/notes.mxa")
      : holder(listed(memoFile, memoFilePath)) {}
  MemoNode* addNode(std::string_view name) {
    std::unique_ptr<MemoNode> node = holder.createNode();
    MemoNode* raw = node.get();
    holder.addNode_(std::move(node), name);
    return raw;
  }

  MemoFile memoFile;
  MemoHolder& holder;  // owned by memoFile

 private:
  static MemoHolder& listed(MemoFile& file, std::string_view path) {
    file.putField_("Filename", quoted_(path));
    file.addHolder_(file.createHolder(), "notes");
    return *file.findHolder_("notes");
  }
};

StringList stored(std::initializer_list<std::string_view> utf8) {
  StringList out;
  for (std::string_view line : utf8) out.push_back(utf8LiteralToSjis(line));
  return out;
}

struct GoldenCase {
  const char* title;
  const char* name;
  StringList fields;
  StringList memo;
  std::optional<StringList> comment;
  std::optional<std::string> data;
  const char* golden;
  // After reading the element back; fields default to those written.
  std::optional<StringList> fieldsBack;
  StringList memoBack;
  std::optional<std::string> dataBack;
};

std::string bytes0to57() {
  std::string out;
  for (char c = 0; c < 58; ++c) out += c;
  return out;
}

const std::string kThreeBytes("\xff\x00\x5c", 3);

TEST(MemoNodeRecord, GoldenBytesReadBackThroughTheTagReader) {
  FixedServices services;
  HolderInFile notes;
  const std::string uid = "20241208_101010123_37454011";
  const GoldenCase cases[] = {
      {"text node with escapes, fields and a comment",
       "表 & <x>",
       {"UID=\"" + uid + "\"", "Created=\"20241208 101010123\"", "Note=\"say \"hi\" & <go>\""},
       stored({"first line", "second line & more", "表示 \\ ソ", "  <indented>"}),
       stored({"a comment", "", "●見出し"}),
       std::nullopt,
       R"(  <Record name="表 &amp; &lt;x&gt;">
    <Field UID="20241208_101010123_37454011" Created="20241208 101010123" Note="say &quot;hi&quot; &amp; &lt;go&gt;" />
first line<BR/>
second line &amp; more<BR/>
表示 \ ソ<BR/>
  &lt;indented&gt;<BR/>
    <Comment>
a comment<BR/>
<BR/>
●見出し<BR/>
    </Comment>
  </Record>
)",
       std::nullopt,
       stored({"first line", "second line & more", "表示 \\ ソ", "  <indented>"}),
       std::nullopt},
      {"3-byte binary content; its memo text is lost",
       "pic",
       {"Content-Type=\"image/png\"", "Filename=\"/img/p.png\"",
        "Content-Transfer-Encoding=\"binary\""},
       {"stale"},
       std::nullopt,
       kThreeBytes,
       R"(  <Record name="pic">
    <Field Content-Type="image/png" Filename="/img/p.png" Content-Transfer-Encoding="base64" />
/wBc<BR/>
  </Record>
)",
       std::nullopt,
       {},
       kThreeBytes},
      {"58-byte binary content: a full line and a padded one",
       "bytes",
       {"Content-Transfer-Encoding=\"binary\"", "Content-Type=\"application/octet-stream\""},
       {},
       std::nullopt,
       bytes0to57(),
       R"(  <Record name="bytes">
    <Field Content-Transfer-Encoding="base64" Content-Type="application/octet-stream" />
AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKissLS4vMDEyMzQ1Njc4<BR/>
OQ==<BR/>
  </Record>
)",
       std::nullopt,
       {},
       bytes0to57()},
      {"link node: neither memo nor data",
       "linked",
       {"Content-Type=\"image/png\"", "Filename=\"./p.png\"",
        "Content-Transfer-Encoding=\"binary\"", "FlagLink=\"true\""},
       {"x"},
       StringList{"kept"},
       kThreeBytes,
       R"(  <Record name="linked">
    <Field Content-Type="image/png" Filename="./p.png" Content-Transfer-Encoding="binary" FlagLink="true" />
    <Comment>
kept<BR/>
    </Comment>
  </Record>
)",
       std::nullopt,
       {},
       std::nullopt},
      {"URL node with a Filename carries no memo",
       "site",
       {"Content-Transfer-Encoding=\"URL\"", "Filename=\"http://example.com/a?b=1&c=2\""},
       {"<p>old</p>"},
       std::nullopt,
       std::nullopt,
       R"(  <Record name="site">
    <Field Content-Transfer-Encoding="URL" Filename="http://example.com/a?b=1&amp;c=2" />
  </Record>
)",
       std::nullopt,
       {},
       std::nullopt},
      {"the template node keeps FlagLink without Filename",
       " * ",
       {"FlagLink=\"true\"", "Content-Transfer-Encoding=\"binary\""},
       {},
       std::nullopt,
       kThreeBytes,
       R"(  <Record name="*">
    <Field FlagLink="true" Content-Transfer-Encoding="binary" />
  </Record>
)",
       std::nullopt,
       {},
       std::nullopt},
      {"Filename=\"\" is no link: the picture is embedded",
       "nolink",
       {"Filename=\"\"", "FlagLink=\"true\"", "Content-Transfer-Encoding=\"binary\""},
       {},
       std::nullopt,
       kThreeBytes,
       R"(  <Record name="nolink">
    <Field Filename="" Content-Transfer-Encoding="base64" />
/wBc<BR/>
  </Record>
)",
       StringList{"Filename=\"\"", "Content-Transfer-Encoding=\"binary\""},
       {},
       kThreeBytes},
      {"Filename=\"\" on a URL node keeps its memo",
       "page",
       {"Content-Transfer-Encoding=\"URL\"", "Filename=\"\""},
       {"<a href=x>"},
       std::nullopt,
       std::nullopt,
       R"(  <Record name="page">
    <Field Content-Transfer-Encoding="URL" Filename="" />
&lt;a href=x&gt;<BR/>
  </Record>
)",
       std::nullopt,
       {"<a href=x>"},
       std::nullopt},
  };
  for (const GoldenCase& c : cases) {
    SCOPED_TRACE(c.title);
    MemoNode* node = notes.addNode(utf8LiteralToSjis(c.name));
    node->aFields = c.fields;
    node->aMemo = c.memo;
    node->aComment = c.comment;
    if (c.data) node->loadContentStream_(*c.data, "", "");
    StringList lines;
    node->writeRecord_(lines, "  ");
    EXPECT_EQ(linesToBytes_(lines), storedText(c.golden));
    EXPECT_EQ(node->aFields, c.fields);  // the node's own fields are untouched
    if (c.data) {
      EXPECT_TRUE(node->aMemo.empty());
    }

    MemoNode back(&notes.holder);
    EXPECT_EQ(readBack(lines, back), trim_(utf8LiteralToSjis(c.name)));
    EXPECT_EQ(back.aFields, c.fieldsBack.value_or(c.fields));
    EXPECT_EQ(back.aMemo, c.memoBack);
    EXPECT_EQ(back.aComment.value_or(StringList{}), c.comment.value_or(StringList{}));
    EXPECT_EQ(back.aContent ? back.aContent->aData : std::nullopt, c.dataBack);
  }
}

// A Record element from markup lines, read into a fresh node.
void readRecord(MemoNode& node, const StringList& lines) { readBack(lines, node); }

TEST(MemoNodeRecord, ReaderDropsTrailingTextAndKeepsUnknownElementsAsText) {
  MemoNode node;
  readRecord(node, {"<Record name=\"n\">", "<Field a=\"1\" />", "one<BR/>", "<Other>x</Other>",
                    "<Field b=\"2\" a=\"3\" />", "two<BR/>", "tail", "</Record>"});
  EXPECT_EQ(node.aMemo, (StringList{"one", "<Other>x</Other>two"}));
  EXPECT_EQ(node.aFields, (StringList{"a=\"3\"", "b=\"2\""}));
  EXPECT_FALSE(node.aComment);

  MemoNode other;
  readRecord(other, {"<Holder>", "text<BR/>", "</Holder>"});
  EXPECT_TRUE(other.aMemo.empty());
}

// Markup the record does not know, written by hand or by other programs, is
// kept as the text it was written as, in the memo and in the comment, and
// then survives a save.
TEST(MemoNodeRecord, UnknownElementsInMemoAndCommentStayAsText) {
  struct Case {
    const char* title;
    std::string line;  // one line of markup inside the Record and inside its Comment
    StringList read;
  };
  const Case cases[] = {
      {"an element amid text", "before <b>bold</b> after<BR/>", {"before <b>bold</b> after"}},
      {"an empty element and attributes",
       "<img src=\"a.png\"/> and <a href=\"x\">y</a><BR/>",
       {"<img src=\"a.png\"/> and <a href=\"x\">y</a>"}},
      {"entities inside are text", "<i>a &amp; b</i><BR/>", {"<i>a & b</i>"}},
      {"nested, with a line break inside",
       "<b>one<i>two<BR/>three</i></b><BR/>",
       {"<b>one<i>two", "three</i></b>"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    MemoNode node;
    readRecord(node,
               {"<Record name=\"n\">", c.line, "<Comment>", c.line, "</Comment>", "</Record>"});
    EXPECT_EQ(node.aMemo, c.read);
    EXPECT_EQ(node.aComment, c.read);

    StringList written;
    node.writeRecord_(written, "");
    MemoNode back;
    readRecord(back, written);
    EXPECT_EQ(back.aMemo, c.read);
    EXPECT_EQ(back.aComment, c.read);
  }
}

TEST(MemoNodeRecord, Base64IsDecodedInAnyLetterCase) {
  for (const char* encoding : {"base64", "Base64", "BASE64"}) {
    MemoNode node;
    readRecord(node, {"<Record name=\"n\">",
                      std::string("<Field Content-Transfer-Encoding=\"") + encoding + "\" />",
                      "/wBc<BR/>", "</Record>"});
    ASSERT_TRUE(node.aContent) << encoding;
    EXPECT_EQ(node.aContent->aData, kThreeBytes) << encoding;
    EXPECT_EQ(node.getField_("Content-Transfer-Encoding"), "\"binary\"");
    EXPECT_TRUE(node.aMemo.empty());
  }
  MemoNode text;
  text.aMemo = {"/wBc"};
  EXPECT_EQ(text.decodeContent(), -1);
  EXPECT_EQ(text.aMemo, StringList{"/wBc"});
}

TEST(MemoNode, MarksContentFieldsAndInheritance) {
  HolderInFile notes;
  MemoNode* node = notes.addNode("n");
  EXPECT_FALSE(node->isMarked());
  node->putMarked_(true);
  EXPECT_TRUE(node->isMarked());
  EXPECT_EQ(node->getField_("flagMarked"), "\"true\"");
  EXPECT_EQ(node->getContentType(), "\"text\"");
  EXPECT_EQ(node->getContentEncoding(), "\"8bit\"");
  node->putContentType_("  image/png ");
  EXPECT_EQ(node->getContentType(), "\"image/png\"");

  notes.memoFile.putField_("Mail", "\"file\"");
  EXPECT_EQ(node->getFieldInherited_("Mail"), "\"file\"");
  notes.holder.putField_("Mail", "\"holder\"");
  EXPECT_EQ(node->getFieldInherited_("Mail"), "\"holder\"");
  node->putField_("Mail", "\"node\"");
  EXPECT_EQ(node->getFieldInherited_("mail"), "\"node\"");
  EXPECT_EQ(node->getFieldInherited_(""), "");

  EXPECT_FALSE(node->isReadOnlyInherited());
  notes.holder.putReadOnly_(true);
  EXPECT_TRUE(node->isReadOnlyInherited());
  notes.holder.putReadOnly_(false);
  EXPECT_FALSE(node->isReadOnlyInherited());
  notes.memoFile.putReadOnly_(true);
  EXPECT_TRUE(node->isReadOnlyInherited());
  node->putReadOnly_(false);  // the node's own flag decides once it has one
  EXPECT_FALSE(node->isReadOnlyInherited());
  MemoNode orphan;
  orphan.putReadOnly_(true);
  EXPECT_TRUE(orphan.isReadOnlyInherited());
  EXPECT_EQ(orphan.getHolderName(), "");
  EXPECT_EQ(node->getHolderName(), "notes");
}

TEST(MemoNode, CloneCopiesEverythingButIsNotListed) {
  HolderInFile notes;
  MemoNode* node = notes.addNode("n");
  node->aFields = {"k=\"v\""};
  node->aComment = StringList{"c"};
  node->loadContentStream_("data", "image/png", "binary");
  node->flagContentLoaded = true;
  std::unique_ptr<MemoNode> copy = node->cloneNode();
  EXPECT_EQ(copy->aOwner, &notes.holder);
  EXPECT_EQ(copy->getName(), "");
  EXPECT_EQ(copy->aFields, node->aFields);
  EXPECT_EQ(copy->aComment, node->aComment);
  EXPECT_EQ(copy->aContent->aData, "data");
  EXPECT_EQ(copy->getLevel(), -1);
  copy->clear();
  EXPECT_FALSE(copy->flagContentLoaded);
  EXPECT_TRUE(copy->aFields.empty());
  EXPECT_NE(dynamic_cast<MemoNode*>(node->deepCopy().get()), nullptr);
}

// --- parents

TEST(MemoNodeParents, SetParentGivesAParentWithoutUidANewOne) {
  FixedServices services;
  HolderInFile notes;
  MemoNode* parent = notes.addNode("parent");
  MemoNode* child = notes.addNode("child");
  child->setParentNode_(parent);
  EXPECT_EQ(parent->getField_("UID"), "\"20241208_101010123_37454011\"");
  EXPECT_EQ(child->getField_("ParentNodeID"), "\"20241208_101010123_37454011\"");
  EXPECT_EQ(child->getParentNode(), parent);
  EXPECT_EQ(parent->getParentNode(), nullptr);
  child->setParentNode_(nullptr);
  EXPECT_EQ(child->getParentNode(), nullptr);
}

// Nodes "a".."e" with UIDs "A".."E"; links maps a node to its parent's UID.
struct Outline {
  explicit Outline(std::initializer_list<std::pair<char, char>> links) {
    for (char c = 'a'; c <= 'e'; ++c) {
      MemoNode* node = notes.addNode(std::string(1, c));
      node->putField_("UID", quoted_(std::string(1, static_cast<char>(c - 'a' + 'A'))));
    }
    for (auto [node, parent] : links)
      at(node)->putField_("ParentNodeID", quoted_(std::string(1, parent)));
  }
  MemoNode* at(char name) { return notes.holder.findNode_(std::string(1, name)); }
  HolderInFile notes;
};

TEST(MemoNodeParents, ANodeOnACycleHasNoParent) {
  // a -> b -> c -> b (b and c form a cycle), d is its own parent, e -> X (unknown).
  Outline outline({{'a', 'B'}, {'b', 'C'}, {'c', 'B'}, {'d', 'D'}, {'e', 'X'}});
  EXPECT_EQ(outline.at('a')->getParentNode(), outline.at('b'));
  EXPECT_EQ(outline.at('b')->getParentNode(), nullptr);
  EXPECT_EQ(outline.at('c')->getParentNode(), nullptr);
  EXPECT_EQ(outline.at('d')->getParentNode(), nullptr);
  EXPECT_EQ(outline.at('e')->getParentNode(), nullptr);
}

// --- paths

TEST(MemoNodePaths, ResolveRelativeVariableAndParentForms) {
  HolderInFile notes("C:\\memo\\notes.mxa");
  MemoNode* vars = notes.addNode("*$");
  vars->aFields = {"$IMG=\"C:\\pics\\\"", "$BARE=\"C:\\pics\""};
  MemoNode* top = notes.addNode("top");
  top->aFields = {"UID=\"T\"", "Filename=\"C:\\a\\b.txt\""};
  MemoNode* middle = notes.addNode("middle");
  middle->aFields = {"UID=\"M\"", "ParentNodeID=\"T\"", "Filename=\"$parent\\sub\\\""};
  MemoNode* node = notes.addNode("node");
  node->aFields = {"UID=\"N\"", "ParentNodeID=\"M\""};
  struct Case {
    std::string value;
    std::string expected;
  };
  const Case cases[] = {
      {"", ""},
      {"D:\\as\\is.txt", "D:\\as\\is.txt"},
      {".\\a.txt", "C:/memo/a.txt"},
      {"..\\other\\b.txt", "C:/other/b.txt"},
      {"$IMG\\a.jpg", "C:/pics/a.jpg"},
      {"$img/a.jpg", "C:/pics/a.jpg"},  // field keys ignore letter case
      {"$NONE\\a.jpg", "/a.jpg"},       // an unknown variable leaves the rest
      {"$BARE\\a.jpg", "C:/a.jpg"},
      {"$IMG", "C:\\pics\\"},
      {"$parent\\x.txt", "C:/a/sub/x.txt"},  // through middle's own $parent form
      {"$PARENT", "C:/a/sub/"},
  };
  for (const Case& c : cases) {
    node->putField_("Filename", quoted_(c.value));
    EXPECT_EQ(node->getFilePath(), c.expected) << c.value;
  }
  EXPECT_EQ(top->resolvePath_("Missing"), "");
  middle->putField_("Filename", "\"$parent\\x.txt\"");
  EXPECT_EQ(middle->getFilePath(), "C:/a/x.txt");
  top->putField_("Filename", "\"$parent\\x.txt\"");  // top-level: the holder's folder
  EXPECT_EQ(top->getFilePath(), "C:/memo/x.txt");
}

TEST(MemoNodePaths, ParentCyclesAndMissingHolderEndTheWalk) {
  Outline outline({{'a', 'B'}, {'b', 'A'}});
  outline.notes.memoFile.putField_("Filename", "\"/home/u/m/h.mxa\"");
  for (char c : {'a', 'b'}) outline.at(c)->putField_("Filename", "\"$parent\\x\"");
  EXPECT_EQ(outline.at('a')->getFilePath(), "/home/u/m/x");
  MemoNode orphan;
  orphan.aFields = {"Filename=\"$IMG\""};
  EXPECT_EQ(orphan.getFilePath(), "$IMG");  // without holder the name stands for itself
}

TEST(MemoNodePaths, DotPathsLeaveTheCurrentDirectoryAlone) {
  HolderInFile notes("/srv/memo/h.mxa");
  MemoNode* node = notes.addNode("n");
  node->putField_("Filename", "\"./pics/../a.png\"");
  const auto before = std::filesystem::current_path();
  EXPECT_EQ(node->getFilePath(), "/srv/memo/a.png");
  EXPECT_EQ(std::filesystem::current_path(), before);
}

TEST(MemoNodePaths, MakePathRelativeToADirectory) {
  struct Case {
    std::string value;
    std::string base;
    std::string result;  // quoted value stored, empty when unchanged
  };
  const Case cases[] = {
      {"C:\\x\\y\\z.txt", "C:\\x\\w", "\"../y/z.txt\""},
      {"c:\\X\\z.txt", "C:\\x\\", "\"./z.txt\""},
      {"/home/u/p/a.jpg", "/home/u", "\"./p/a.jpg\""},
      {"/home/u/a.jpg", "/home/v/w/", "\"../../u/a.jpg\""},
      {"/home/U/a.jpg", "/home/u/", "\"../U/a.jpg\""},
      {"D:\\a.txt", "C:\\x", ""},
      {"./a.txt", "/home", ""},
      {"$IMG\\a.jpg", "/home", ""},
      {"http://example.com/a", "/home", ""},
      {"relative.txt", "/home", ""},
      {"", "/home", ""},
  };
  for (const Case& c : cases) {
    MemoNode node;
    node.putField_("Filename", quoted_(c.value));
    EXPECT_EQ(node.makePathRelative_("Filename", c.base), c.result) << c.value;
    EXPECT_EQ(node.getField_("Filename"), c.result.empty() ? quoted_(c.value) : c.result)
        << c.value;
  }
}

TEST(MemoNodePaths, MakeParentRelativeCodes) {
  HolderInFile notes("/m/h.mxa");
  MemoNode* parent = notes.addNode("parent");
  parent->aFields = {"UID=\"P\"", "Filename=\"/data/docs/index.txt\""};
  struct Case {
    std::string value;
    bool withParent;
    int code;
    std::string stored;
  };
  const Case cases[] = {
      {"", true, -10, ""},
      {"./a.txt", true, -9, "\"./a.txt\""},
      {"$IMG\\a.txt", true, -8, "\"$IMG\\a.txt\""},
      {"/else/a.txt", false, -3, "\"$Parent/a.txt\""},
      {"/DATA/docs/sub/a.txt", true, 0, "\"$Parent/sub/a.txt\""},
      {"C:\\data\\docs\\a.txt", true, -2, "\"$Parent/a.txt\""},
  };
  for (const Case& c : cases) {
    MemoNode* node = notes.addNode("n");
    if (!c.value.empty()) node->putField_("Filename", quoted_(c.value));
    if (c.withParent) node->putField_("ParentNodeID", "\"P\"");
    EXPECT_EQ(node->makeParentRelative_("Filename"), c.code) << c.value;
    EXPECT_EQ(node->getField_("Filename"), c.stored) << c.value;
  }
  MemoNode* child = notes.holder.findNode_("n_04");
  ASSERT_TRUE(child);
  EXPECT_EQ(child->getFilePath(), "/data/docs/sub/a.txt");  // and it resolves back
}

TEST(MemoNode, HeadlineIsTheFirstMarkedLine) {
  const std::string mark = SJ("●");
  struct Case {
    StringList memo;
    StringList comment;
    bool binary;
    std::string headline;
  };
  const Case cases[] = {
      {{"plain", "  " + mark + "Head  ", mark + "Second"}, {}, false, mark + "Head"},
      {{mark + "Memo"}, {mark + "Comment"}, true, mark + "Comment"},
      {{"none"}, {" x", " " + mark + " c "}, false, mark + " c"},
      {{"none"}, {"none"}, false, ""},
  };
  for (const Case& c : cases) {
    MemoNode node;
    node.aMemo = c.memo;
    node.aComment = c.comment;
    if (c.binary) node.putField_("Content-Transfer-Encoding", "\"binary\"");
    EXPECT_EQ(node.getHeadline(), c.headline);
  }
}

TEST(MemoNode, LinkedContentLoadsFromTheResolvedPathAndKeepsItsForm) {
  ScratchDir dir;
  dir.write("pic.png", "PNG");
  HolderInFile notes(dir.file("h.mxa"));
  MemoNode* node = notes.addNode("n");
  EXPECT_EQ(node->loadLinkedContent(), 0);  // no Filename: nothing happens
  EXPECT_FALSE(node->flagContentLoaded);
  node->aFields = {"Filename=\"./pic.png\"", "FlagLink=\"true\""};
  EXPECT_EQ(node->loadLinkedContent(), 4);
  EXPECT_TRUE(node->flagContentLoaded);
  EXPECT_EQ(node->aContent->aData, "PNG");
  EXPECT_EQ(node->getField_("Filename"), "\"./pic.png\"");
  EXPECT_EQ(node->getField_("Content-Type"), "\"image/png\"");
  node->putField_("Filename", "\"./gone.png\"");
  EXPECT_EQ(node->loadLinkedContent(), -5);  // loadContent_'s -6, plus one
}

TEST(MemoNode, TemplatePlaceholders) {
  FixedServices services;
  HolderInFile notes;
  MemoNode* target = notes.addNode("Target");
  MemoNode* tmpl = notes.addNode("*HTML");
  tmpl->aMemo = {"<h1>%node.name%</h1> %Holder.Name%", "%DATE% %TIME% %DATE%", "no placeholder",
                 "100% %unknown%"};
  StringList lines{"before"};
  EXPECT_EQ(tmpl->expandTemplate_(*target, lines), 0);
  EXPECT_EQ(lines, (StringList{"before", "<h1>Target</h1> notes", "2024/12/08 10:10:10 2024/12/08",
                               "no placeholder", "100% %unknown%"}));
  MemoNode orphan;
  orphan.aMemo = {"%HOLDER.NAME% of %NODE.NAME%"};
  lines.clear();
  orphan.expandTemplate_(notes.holder, lines);  // a holder can be the subject too
  EXPECT_EQ(lines, StringList{"%HOLDER.NAME% of notes"});
}

}  // namespace
}  // namespace vrk
