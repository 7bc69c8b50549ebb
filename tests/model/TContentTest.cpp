#include "model/TContent.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "model/ContentsTestSupport.h"
#include "platform/SJ.h"

namespace vrk {
namespace {

using contenttest::readBytes;
using contenttest::ScratchDir;
using contenttest::splitLines;

TContent* partAt(const TContent& content, std::size_t i) {
  return dynamic_cast<TContent*>(content.aParts->aChildren.objectAt(i));
}

std::vector<std::string> partNames(const TContent& content) {
  std::vector<std::string> names;
  if (content.aParts)
    for (const ChildEntry& entry : content.aParts->aChildren) names.push_back(entry.name);
  return names;
}

// Written by tests/fixtures/mime/make_multipart.py with Python's email package;
// the payloads below are the ones its header describes.
class PythonMultipartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string eml = readBytes(std::string(VRK_FIXTURES) + "/mime/multipart.eml");
    ASSERT_FALSE(eml.empty());
    message.parseMIME_(splitLines(eml));
    ASSERT_TRUE(message.aParts);
  }
  TContent message;
};

TEST_F(PythonMultipartTest, PartsAreNamedByFileNameOrType) {
  EXPECT_EQ(message.contentType, "multipart/mixed");
  const std::vector<std::string> names = partNames(message);
  ASSERT_EQ(names.size(), 5u);
  EXPECT_EQ(names[0], "text/plain");
  EXPECT_EQ(names[1], "multipart/alternative");
  EXPECT_EQ(names[2], "data.bin");
  EXPECT_NE(names[3], "data.bin") << "two parts with one file name share a name";
  EXPECT_TRUE(names[3].starts_with("data.bin"));
  // Its Content-Disposition is folded onto a continuation line.
  EXPECT_EQ(names[4], "long_" + std::string(80, 'n') + ".bin");
}

TEST_F(PythonMultipartTest, PayloadBytes) {
  std::string first, second;
  for (int k = 0; k < 700; ++k) first += static_cast<char>(k % 256);
  for (int k = 0; k < 701; ++k) second += static_cast<char>(255 - k % 256);
  const TContent* a = partAt(message, 2);
  const TContent* b = partAt(message, 3);
  ASSERT_TRUE(a && a->aData && b && b->aData);
  EXPECT_EQ(*a->aData, first);
  EXPECT_EQ(*b->aData, second);
  EXPECT_EQ(a->transferEncoding, "binary");
  EXPECT_EQ(a->contentType, "application/octet-stream");
  EXPECT_EQ(a->fileName, "data.bin");
  EXPECT_EQ(*partAt(message, 4)->aData, "ABC");

  // Text bodies keep every line up to the delimiter, each ended by CR LF.
  const TContent* text = partAt(message, 0);
  EXPECT_EQ(*text->aData, "hello\r\nworld\r\n\r\n");
  EXPECT_EQ(text->transferEncoding, "7bit");

  const TContent* alternative = partAt(message, 1);
  EXPECT_EQ(partNames(*alternative), (std::vector<std::string>{"text/plain", "text/html"}));
  EXPECT_EQ(*partAt(*alternative, 1)->aData, "<p>html</p>\r\n");
  EXPECT_EQ(partAt(*alternative, 1)->aOwner, alternative->aParts.get());
}

// Folded headers: the boundary and the file name stand on continuation lines.
TEST(ContentsMimeTest, ContinuationLinesCarryBoundaryAndFileName) {
  const std::string path = SJ("C:\\資料\\表.txt");  // 表 ends in the byte "\"
  TContent content;
  content.parseMIME_({"", "Content-Type: multipart/mixed;", "  boundary=\"b 1\"", "",
                      "preamble --b 1 inside a line", "--b 1",
                      "Content-Type: application/octet-stream", "Content-Transfer-Encoding: BASE64",
                      "Content-Disposition: attachment;", "\tfilename=\"" + path + "\"", "", "QUJD",
                      "  --b 1  ", "Content-Disposition: attachment; filename=\"" + path + "\"", "",
                      "text", "--b 1--", "--b 1", "after the end"});
  const std::vector<std::string> names = partNames(content);
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0], path);
  EXPECT_NE(names[1], path);
  EXPECT_EQ(content.aParts->findChild_(path), partAt(content, 0));
  EXPECT_EQ(*partAt(content, 0)->aData, "ABC");
  EXPECT_EQ(partAt(content, 0)->transferEncoding, "binary");
  EXPECT_EQ(*partAt(content, 1)->aData, "text\r\n");
}

TEST(ContentsMimeTest, BodiesWithoutClosingDelimiterOrBoundary) {
  TContent unclosed;
  unclosed.parseMIME_({"Content-Type: multipart/mixed; boundary=x", "", "--x",
                       "Content-Type: text/plain", "", "one", "--x", "Content-Type: text/html", "",
                       "two"});
  EXPECT_EQ(partNames(unclosed), std::vector<std::string>{"text/plain"});
  EXPECT_EQ(*partAt(unclosed, 0)->aData, "one\r\n");

  TContent noBoundary;
  noBoundary.parseMIME_({"Content-Type: multipart/mixed; charset=x", "", "--x", "one", "--x--"});
  EXPECT_FALSE(noBoundary.aParts);
  EXPECT_FALSE(noBoundary.aData);

  // The type keeps its letter case unless parameters follow it.
  TContent plain;
  plain.parseMIME_({"Content-Type: Text/Plain", "", "x"});
  EXPECT_EQ(plain.contentType, "Text/Plain");
  plain.parseMIME_({"Content-Type: Text/Plain; charset=x", "", "x"});
  EXPECT_EQ(plain.contentType, "text/plain");
}

// Parsing again must not keep the type, data or parts of an earlier entity.
TEST(ContentsMimeTest, ParsingReplacesEarlierEntity) {
  const StringList multipart{
      "Content-Type: multipart/mixed; boundary=x", "", "--x", "", "a", "--x--"};
  struct Case {
    StringList lines;
    std::optional<std::string> data;
  };
  for (const Case& c : std::vector<Case>{
           {{"Content-Type: text/plain", "", "x"}, "x\r\n"},
           {{"Content-Transfer-Encoding: base64", "", "QUI="}, "AB"},
           {multipart, std::nullopt},
       }) {
    TContent content;
    content.parseMIME_(multipart);
    ASSERT_TRUE(content.aParts);
    content.aData = std::string(500, 'z');
    content.parseMIME_(c.lines);
    EXPECT_EQ(content.aData, c.data);
    EXPECT_EQ(bool(content.aParts), c.lines == multipart);
  }
}

// Each level is a multipart holding the next one; the innermost is text.
StringList nestedMessage(int levels) {
  StringList lines{"Content-Type: text/plain", "", "leaf"};
  for (int level = levels; level-- > 0;) {
    const std::string boundary = "b" + std::to_string(level);
    StringList outer{"Content-Type: multipart/mixed; boundary=" + boundary, "", "--" + boundary};
    outer.insert(outer.end(), lines.begin(), lines.end());
    outer.push_back("--" + boundary + "--");
    lines = std::move(outer);
  }
  return lines;
}

TEST(ContentsMimeTest, NestingIsCapped) {
  const int levels = 2000;
  TContent root;
  root.parseMIME_(nestedMessage(levels));
  const TContent* content = &root;
  int depth = 0;
  while (content->aParts) {
    ASSERT_EQ(content->aParts->aChildren.size(), 1u);
    content = partAt(*content, 0);
    ++depth;
  }
  EXPECT_EQ(depth, kMaxMimeDepth + 1);
  // The deepest part keeps its lines, headers included, as opaque text.
  ASSERT_TRUE(content->aData);
  const std::string header =
      "Content-Type: multipart/mixed; boundary=b" + std::to_string(kMaxMimeDepth + 1) + "\r\n";
  EXPECT_TRUE(content->aData->starts_with(header));
  EXPECT_NE(content->aData->find("leaf\r\n"), std::string::npos);

  // A shallow message is parsed to its leaf.
  TContent shallow;
  shallow.parseMIME_(nestedMessage(3));
  EXPECT_EQ(*partAt(*partAt(*partAt(shallow, 0), 0), 0)->aData, "leaf\r\n");
}

TEST(ContentsTest, AssignCopiesDataAndParts) {
  TContent source;
  source.parseMIME_({"Content-Type: multipart/mixed; boundary=x", "", "--x",
                     "Content-Disposition: attachment; filename=a.txt", "", "a", "--x--"});
  source.aData = "bytes";
  source.fileName = "f";
  const std::unique_ptr<TObjectNamed> copied = source.deepCopy();
  auto* copy = dynamic_cast<TContent*>(copied.get());
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->aData, source.aData);
  EXPECT_EQ(copy->fileName, "f");
  EXPECT_EQ(copy->contentType, "multipart/mixed");
  ASSERT_TRUE(copy->aParts);
  EXPECT_NE(copy->aParts.get(), source.aParts.get());
  EXPECT_EQ(partNames(*copy), std::vector<std::string>{"a.txt"});
  EXPECT_EQ(*partAt(*copy, 0)->aData, "a\r\n");

  TContent empty;
  copy->assign_(empty);
  EXPECT_FALSE(copy->aData);
  EXPECT_FALSE(copy->aParts);
}

TEST(ContentsTest, LoadFileAndStream) {
  ScratchDir dir;
  const std::string bytes("\0\x01\xFF\r\n", 5);
  contenttest::writeBytes(dir.file("表.bin"), bytes);  // UTF-8 name on disk
  TContent content;
  content.aData = std::string(100, 'z');
  const std::string stored = dir.path() + SJ("/表.bin");  // stored paths are Shift_JIS
  EXPECT_EQ(content.loadFile_(stored), 5);
  EXPECT_EQ(content.aData, bytes);
  EXPECT_EQ(content.fileName, stored);

  EXPECT_EQ(content.loadFile_(dir.file("missing")), -1);
  EXPECT_EQ(content.loadFile_(dir.path()), -2);
  EXPECT_EQ(content.fileName, stored);

  EXPECT_EQ(content.loadStream_("ab"), 2);
  EXPECT_EQ(content.aData, "ab");
}

std::uint32_t littleEndian(const std::string& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

TEST(ContentsTest, BlankBmpIsWhiteThirtyByThirty) {
  const std::string bmp = makeBlankBmp();
  ASSERT_EQ(bmp.size(), 2814u);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(littleEndian(bmp, 2, 4), bmp.size());
  const std::uint32_t pixels = littleEndian(bmp, 10, 4);
  EXPECT_EQ(littleEndian(bmp, 14, 4), 40u);  // header size
  EXPECT_EQ(littleEndian(bmp, 18, 4), 30u);  // width
  EXPECT_EQ(littleEndian(bmp, 22, 4), 30u);  // height
  EXPECT_EQ(littleEndian(bmp, 26, 2), 1u);   // planes
  EXPECT_EQ(littleEndian(bmp, 28, 2), 24u);  // bits per pixel
  EXPECT_EQ(littleEndian(bmp, 30, 4), 0u);   // uncompressed
  ASSERT_EQ(pixels + 30 * 92, bmp.size());
  for (std::size_t row = 0; row < 30; ++row)
    EXPECT_EQ(bmp.substr(pixels + row * 92, 90), std::string(90, '\xFF')) << "row " << row;
}

TEST(ContentsTest, LinkPageQuotesTheAddress) {
  struct Case {
    std::string raw, href;
  };
  for (const Case& c : std::vector<Case>{{"\"http://x/a b\"", "\"http://x/a b\""},
                                         {"http://x/a b", "\"http://x/a b\""},
                                         {"", "\"\""}}) {
    StringList lines{"kept"};
    writeLinkHTML_(lines, "a<b", c.raw);
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], "kept");
    EXPECT_EQ(lines[6], "    <title>a&lt;b</title>");
    EXPECT_EQ(lines[9], "    <a href=" + c.href + " >");
    EXPECT_EQ(lines[10], "      a&lt;b");
    EXPECT_EQ(lines[13], "</html>");
  }
}

TEST(ContentsTest, ShadowAddresses) {
  using Kind = ShadowAddress::Kind;
  struct Case {
    std::string text;
    Kind kind;
    std::string holder;
    bool byUID;
    std::string key;
  };
  const std::string kanjiName = SJ("表:ソ");  // trail bytes 0x5C, never a ":" test
  const std::vector<Case> cases = {
      {"MemoHolder:Archive:UID=20241208_100001000_00012345", Kind::holder, "Archive", true,
       "20241208_100001000_00012345"},
      {"memoholder: Archive : Node: x ", Kind::holder, "Archive ", false, "Node: x"},
      {"MemoNode:Index", Kind::node, "", false, "Index"},
      {"MEMONODE: UID=1:rest", Kind::node, "", true, "1"},
      {"MemoNode:" + kanjiName, Kind::node, "", false, SJ("表")},
      {"uid=1:MemoNode", Kind::none, "", false, ""},
      {"MemoNodes:Index", Kind::none, "", false, ""},
  };
  for (const Case& c : cases) {
    const ShadowAddress address = parseShadowAddress_(c.text);
    EXPECT_EQ(address.kind, c.kind) << c.text;
    EXPECT_EQ(address.holderName, c.holder) << c.text;
    EXPECT_EQ(address.byUID, c.byUID) << c.text;
    EXPECT_EQ(address.key, c.key) << c.text;
  }
}

}  // namespace
}  // namespace vrk
