// Holder files: the golden ".mxh", ".mhz" against Python's zlib, xmllint,
// files that do not parse, settings values, and the reader's details.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>

#include "model/ContentsTestSupport.h"
#include "model/HolderFileIO.h"
#include "model/ModelTestSupport.h"
#include "model/MemoHolder.h"
#include "model/TContent.h"
#include "platform/SJ.h"
#include "text/Basic.h"

namespace vrk {
namespace {

using contenttest::hasProgram;
using contenttest::runCapture;
using modeltest::FixedServices;
using modeltest::readFile;
using modeltest::ScratchDir;
using modeltest::storedText;

const std::string kGolden = std::string(VRK_FIXTURES) + "/holder/golden.mxh";

struct Listed {
  explicit Listed(std::string_view name = "Ideas") {
    auto made = std::make_unique<MemoHolder>(&list);
    holder = made.get();
    list.addChild_(std::move(made), name);
  }
  TObjectParent list;
  MemoHolder* holder = nullptr;
};

StringList sjLines(std::initializer_list<std::string_view> utf8) {
  StringList out;
  for (std::string_view line : utf8) out.push_back(utf8LiteralToSjis(line));
  return out;
}

MemoNode* addNode(MemoHolder& holder, std::string_view name, StringList fields) {
  std::unique_ptr<MemoNode> node = holder.createNode();
  MemoNode* raw = node.get();
  raw->aFields = std::move(fields);
  holder.addNode_(std::move(node), name);
  return raw;
}

// Every setting the writer writes, a template, made and added records, a
// child, an embedded and a linked content, names and text that need escaping.
void buildGolden(MemoHolder& holder) {
  holder.aFields = {
      "FormatNumber=\"No.%03d\"",  "FlagReadOnly=\"false\"",     "NewNodeOption=\"select\"",
      "SelectNodeName=\"*\"",      "ModeNodesMngr=\"TreeView\"", "Color=\"clRed\"",
      "QueryNode=\"memo & more\"",
  };
  addNode(holder, "*", {"Created=\"19990101 000000000\"", "FlagLink=\"true\""})->aMemo = {
      "%NODE.NAME% template"};
  MemoNode* daily = holder.newNode();
  daily->removeField_("FlagLink");
  daily->aMemo = sjLines({"first line", "second & <more> \"quoted\"", "表示ソフト"});
  daily->aComment = sjLines({"a comment", "●見出し"});
  MemoNode* child = holder.newChild_(daily);
  child->removeField_("FlagLink");
  child->putMarked_(true);
  MemoNode* photo = addNode(holder, "photo",
                            {"Content-Type=\"image/png\"", "Filename=\"C:\\img\\p.png\"",
                             "Content-Transfer-Encoding=\"binary\""});
  photo->aContent = std::make_unique<TContent>();
  photo->aContent->aData = std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) + std::string(50, 'x');
  addNode(holder, utf8LiteralToSjis("表 & <x>"), {"Note=\"say \"hi\"\""});
  addNode(holder, "link", {"FlagLink=\"true\"", "Filename=\"./pics/a.jpg\""})->aMemo = {"gone"};
  holder.putCurNode_(daily);
  holder.flagAutoSave = true;
  holder.SaveMinutes = 10;
}

// The golden file is made by this test's builder; VRK_UPDATE_GOLDEN=1 writes
// it anew after a deliberate change of the format.
TEST(HolderFileIOGolden, BuildSaveLoadAndSaveAgainGiveTheSameBytes) {
  FixedServices services;
  ScratchDir dir;
  Listed built;
  buildGolden(*built.holder);
  const std::string first = dir.file("first.mxh");
  const int length = built.holder->saveFile_(first);
  if (std::getenv("VRK_UPDATE_GOLDEN"))
    std::filesystem::copy_file(first, kGolden, std::filesystem::copy_options::overwrite_existing);
  const std::string golden = readFile(kGolden);
  ASSERT_FALSE(golden.empty());
  EXPECT_EQ(readFile(first), golden);
  EXPECT_EQ(length, static_cast<int>(golden.size()));

  Listed loaded;
  StringList errors;
  ASSERT_EQ(readHolderFile_(*loaded.holder, kGolden, errors), 0) << errors.front();
  EXPECT_TRUE(loaded.holder->flagLoaded);
  const std::string again = dir.file("again.mxh");
  loaded.holder->saveFile_(again);
  EXPECT_EQ(readFile(again), replaceAll_(golden, "CountSave=\"1\"", "CountSave=\"2\""));

  const MemoHolder& h = *loaded.holder;
  ASSERT_EQ(h.countOfNodes(), 6);
  EXPECT_EQ(h.getCurNode(), h.nodeAt_(1));
  EXPECT_EQ(h.nodeAt_(2)->getParentNode(), h.nodeAt_(1));
  EXPECT_EQ(h.nodeAt_(3)->aContent->aData, built.holder->nodeAt_(3)->aContent->aData);
  EXPECT_EQ(h.nodeAt_(1)->aComment, built.holder->nodeAt_(1)->aComment);
  EXPECT_EQ(h.getField_("QueryNode"), "\"memo & more\"");
  EXPECT_TRUE(h.flagAutoSave);
  EXPECT_EQ(h.SaveMinutes, 10);
}

TEST(HolderFileIOGolden, XmllintAcceptsIt) {
  if (!hasProgram("xmllint")) GTEST_SKIP() << "xmllint is not installed";
  EXPECT_EQ(std::system(("xmllint --noout '" + kGolden + "'").c_str()), 0);
}

// Python's zlib stands for every other implementation of the stream.
TEST(HolderFileIOCompressed, WrittenAndReadAgainstPythonsZlib) {
  if (!hasProgram("python3")) GTEST_SKIP() << "python3 is not installed";
  FixedServices services;
  ScratchDir dir;
  const std::string golden = readFile(kGolden);

  Listed saved;
  ASSERT_EQ(readHolderFile_(*saved.holder, kGolden, *std::make_unique<StringList>()), 0);
  const std::string ours = dir.file("ours.mhz");
  ASSERT_GT(saved.holder->saveFile_(ours), 0);
  StringList lines;
  saved.holder->writeFile_(lines);
  const std::optional<std::string> inflated = runCapture(
      "python3 -c \"import sys,zlib; sys.stdout.buffer.write(zlib.decompress(open(sys.argv[1],"
      "'rb').read()))\" '" +
      ours + "'");
  ASSERT_TRUE(inflated);
  EXPECT_EQ(*inflated, linesToBytes_(lines));

  // Bare, after a four-byte prefix, and under the other extension: content decides.
  const std::string make =
      "python3 -c \"import sys,zlib,struct; d=open(sys.argv[1],'rb').read(); "
      "open(sys.argv[2],'wb').write(zlib.compress(d)); "
      "open(sys.argv[3],'wb').write(struct.pack('<I',len(d))+zlib.compress(d))\" '" +
      kGolden + "' '" + dir.file("bare.mhz") + "' '" + dir.file("prefixed.mxh") + "'";
  ASSERT_EQ(std::system(make.c_str()), 0);
  std::filesystem::copy_file(kGolden, dir.file("plain.mhz"));
  for (const char* name : {"bare.mhz", "prefixed.mxh", "plain.mhz"}) {
    SCOPED_TRACE(name);
    Listed loaded;
    StringList errors;
    ASSERT_EQ(readHolderFile_(*loaded.holder, dir.file(name), errors), 0);
    StringList back;
    loaded.holder->writeFile_(back);
    EXPECT_EQ(linesToBytes_(back), golden);
  }
}

TEST(HolderFileIOFailedParse, ReadsNothingAndIsNeverWrittenOver) {
  std::string packedBroken;
  deflateBytes_("<Holder name=\"x\"><Record name=\"a\"></Wrong></Holder>", packedBroken);
  std::string packedGood;
  deflateBytes_(readFile(kGolden), packedGood);
  struct Case {
    const char* title;
    std::string bytes;
    int code;
  };
  const Case cases[] = {
      {"tags that do not match", "<Holder name=\"x\"><Record name=\"a\"></Wrong></Holder>", -3},
      {"no Holder element", "<File name=\"x\"></File>", -3},
      {"neither text nor zlib", "garbage", -2},
      {"an empty file", "", -2},
      {"a compressed file whose text does not parse", packedBroken, -3},
      {"a cut zlib stream", packedGood.substr(0, packedGood.size() / 2), -2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    FixedServices services;
    ScratchDir dir;
    const std::string path = dir.write("h.mxh", c.bytes);
    Listed listed;
    MemoHolder& holder = *listed.holder;
    addNode(holder, "kept", {"UID=\"1\""});
    holder.putField_("Color", "\"clRed\"");

    StringList errors;
    EXPECT_EQ(readHolderFile_(holder, path, errors), c.code);
    EXPECT_FALSE(errors.empty());
    EXPECT_TRUE(holder.flagParseFailed);
    EXPECT_FALSE(holder.flagLoaded);
    EXPECT_EQ(holder.countOfNodes(), 1);
    EXPECT_EQ(holder.aFields, StringList{"Color=\"clRed\""});

    EXPECT_EQ(holder.saveFile_(path), -2);
    EXPECT_EQ(holder.CountSave, 0);
    EXPECT_EQ(readFile(path), c.bytes);

    dir.write("h.mxh", readFile(kGolden));
    EXPECT_EQ(readHolderFile_(holder, path, errors), 0);
    EXPECT_FALSE(holder.flagParseFailed);
    EXPECT_GT(holder.saveFile_(path), 0);
  }
}

// Input made to cost far more than its size: refused early, or read whole with
// no more than it needs.
TEST(HolderFileIOBounds, BombsDeepNestingAndLongLines) {
  const std::string head = "<Holder name=\"h\"><Record name=\"n\">";
  const std::string tail = "<BR/></Record></Holder>";
  std::string bomb;  // a small file that would inflate to 80 MiB of blanks
  {
    DeflateStream stream(
        [&bomb](std::string_view piece) {
          bomb += piece;
          return 0;
        },
        InflateLimit(SIZE_MAX, SIZE_MAX, 1));
    const std::string zeros(std::size_t(1) << 20, '\0');
    stream.feed(head);
    for (int i = 0; i < 80; ++i) stream.feed(zeros);
    stream.feed(tail);
    ASSERT_EQ(stream.finish(), 0);
  }
  ASSERT_LT(bomb.size(), 200000u);
  std::string deep = head;
  for (int i = 0; i < 2000; ++i) deep += "<a>";
  for (int i = 0; i < 2000; ++i) deep += "</a>";
  deep += tail;
  struct Case {
    const char* title;
    std::string bytes;
    int code;
    std::string error;
  } cases[] = {
      {"a zlib bomb", bomb, -2,
       "not a holder file: inflated data too large for its compressed size"},
      {"nesting past the limit", deep, -3,
       "tags nested deeper than 1024 in TTAGNode._fromXMLWorldList_aOUT_"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    Listed listed;
    addNode(*listed.holder, "kept", {});
    StringList errors;
    EXPECT_EQ(readHolderBytes_(*listed.holder, c.bytes, errors), c.code);
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors.back(), c.error);
    EXPECT_TRUE(listed.holder->flagParseFailed);
    EXPECT_EQ(listed.holder->countOfNodes(), 1);
  }

  const std::string line(std::size_t(3) << 20, 'x');
  Listed listed;
  StringList errors;
  ASSERT_EQ(readHolderBytes_(*listed.holder, head + line + tail, errors), 0);
  ASSERT_EQ(listed.holder->countOfNodes(), 1);
  EXPECT_TRUE(listed.holder->nodeAt_(0)->aMemo == StringList{line});
}

TEST(HolderFileIOFailedParse, AMissingFileIsNoParseFailure) {
  Listed listed;
  StringList errors;
  EXPECT_EQ(readHolderFile_(*listed.holder, "/no/such/holder.mxh", errors), -1);
  EXPECT_FALSE(listed.holder->flagParseFailed);
  EXPECT_EQ(errors.size(), 1u);
}

TEST(HolderFileIOSettings, RawOnlyWhenSafeAndAlwaysReadBack) {
  struct Case {
    std::string stored;
    std::string written;  // after "<Field QueryNode="
  };
  const Case cases[] = {
      {"\"memo\"", "\"memo\""},
      {"\"two words\"", "\"two words\""},
      {"\"a\"\"b\"", "\"a\"\"b\""},  // balanced quotes stay raw
      {"bare", "\"bare\""},
      {"\"a & b\"", "\"a &amp; b\""},
      {"\"a\"b\"", "\"a&quot;b\""},
      {"\"<tag>\"", "\"<tag>\""},
      {"\"two\r\nlines\"", "\"two\r\nlines\""},
      {"\"open", "\"open\""},
      {"\"a\" \"b\"", "\"a&quot; &quot;b\""},  // a blank between quoted runs
      {"\"a\">\"b\"", "\"a&quot;&gt;&quot;b\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    FixedServices services;
    Listed listed;
    listed.holder->putField_("QueryNode", c.stored);
    StringList lines;
    listed.holder->writeFile_(lines);
    const std::string text = linesToBytes_(lines);
    EXPECT_NE(text.find("  <Field QueryNode=" + c.written + "/>\r\n"), std::string::npos) << text;

    Listed back;
    StringList errors;
    ASSERT_EQ(readHolderBytes_(*back.holder, text, errors), 0);
    EXPECT_EQ(unquote_(back.holder->getField_("QueryNode")), unquote_(c.stored));
  }

  // Half a character before the closing quote would swallow it: it is dropped,
  // and the file stays readable.
  FixedServices services;
  Listed listed;
  listed.holder->putField_("QueryNode", "\"half\x83\"");
  StringList lines;
  listed.holder->writeFile_(lines);
  const std::string text = linesToBytes_(lines);
  EXPECT_NE(text.find("  <Field QueryNode=\"half&quot;\"/>\r\n"), std::string::npos) << text;
  Listed back;
  StringList errors;
  ASSERT_EQ(readHolderBytes_(*back.holder, text, errors), 0);
  EXPECT_EQ(back.holder->getField_("QueryNode"), "\"half\"\"");
}

TEST(HolderFileIOSettings, WhichSettingsAreWrittenAndHowTheyReadBack) {
  FixedServices services;
  Listed listed;
  MemoHolder& holder = *listed.holder;
  holder.aFields = {"SelectNodeName=\"T\"",           "QueryNode=\"Q\"",
                    "ModeNodesMngr=\"CheckListBox\"", "FileExt=\".mxh\"",
                    "FormatDate=\"yyyyMMdd\"",        "FlagSameName=\"true\""};
  MemoNode* current = addNode(holder, "a & b", {});
  holder.putCurNode_(current);
  StringList lines;
  holder.writeSettings_(lines, "");
  EXPECT_EQ(lines, (StringList{
                       "  <Field curIndex=\"a &amp; b\"/>",
                       "  <Field NewNodeName=\"Daily\"/>",
                       "  <Field FlagSameName=\"true\"/>",
                       "  <Field QueryNode=\"Q\"/>",
                       "  <Field SelectNodeName=\"T\"/>",
                       "  <Field flagSort=\"false\"/>",
                       "  <Field flagAscending=\"true\"/>",
                       "  <Field flagAccount=\"false\"/>",
                       "  <Field flagAutoReLoad=\"false\"/>",
                       "  <Field ReloadMinutes=\"0\"/>",
                       "  <Field TimeReLoad=\"20241208 101010\"/>",
                       "  <Field flagAutoSave=\"false\"/>",
                       "  <Field SaveMinutes=\"0\"/>",
                       "  <Field TimeSaved=\"20241208 101010\"/>",
                       "  <Field CountSave=\"0\"/>",
                   }));

  Listed back;
  StringList errors;
  holder.writeFile_(lines);
  ASSERT_EQ(readHolderBytes_(*back.holder, linesToBytes_(lines), errors), 0);
  EXPECT_EQ(back.holder->getModeNodesMngr(), "\"Nodes\"");
  EXPECT_EQ(back.holder->getCurNode()->getName(), "a & b");

  for (const auto& [field, ascending] :
       {std::pair{"", true}, {"<Field flagAscending=\"false\"/>", false}}) {
    Listed sorted;
    ASSERT_EQ(readHolderBytes_(*sorted.holder,
                               std::string("<Holder name=\"h\">") + field + "</Holder>", errors),
              0);
    EXPECT_EQ(sorted.holder->getFlagAscending(), ascending) << field;
    EXPECT_EQ(sorted.holder->getField_("flagAscending"), ascending ? "\"true\"" : "\"false\"");
  }
}

TEST(HolderFileIORead, StrayTextNamelessRecordsMembersAndFileOrder) {
  FixedServices services;
  const std::string text = storedText(
      "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\n"
      "<Holder name=\"h\">\n"
      "  <Field curIndex=\"a\" flagSort=\"true\"/>\n"
      "  <BR/>\n"
      "  <Field ReloadMinutes=\"7\" CountSave=\"3\" TimeSaved=\"20230102 030405\"/>\n"
      "  <Record name=\"z\"><Field UID=\"1\" />memo<BR/>dropped</Record>\n"
      "  stray words\n"
      "  <Record name=\"\"></Record>\n"
      "  <Record name=\"a\"></Record>\n"
      "  <Unknown/>\n"
      "</Holder>\n");
  Listed listed;
  MemoHolder& holder = *listed.holder;
  StringList errors;
  ASSERT_EQ(readHolderBytes_(holder, text, errors), 0);
  ASSERT_EQ(holder.countOfNodes(), 3);
  EXPECT_EQ(holder.nodeAt_(0)->getName(), "z");  // file order, though flagSort is set
  EXPECT_TRUE(holder.getFlagSort());
  EXPECT_EQ(holder.nodeAt_(0)->aMemo, (StringList{"memo", "  stray words  "}));  // breaks go
  EXPECT_EQ(holder.nodeAt_(1)->getName(), "20241208 101010 \"\"");
  EXPECT_EQ(holder.getCurNode(), holder.nodeAt_(2));
  EXPECT_EQ(holder.aMemo, StringList{""});  // a <BR/> after an element
  EXPECT_EQ(holder.ReloadMinutes, 7);
  EXPECT_EQ(holder.CountSave, 3);
  EXPECT_EQ(holder.TimeSaved, (LocalTime{2023, 1, 2, 3, 4, 5, 0}));
  EXPECT_EQ(holder.TimeReLoad, services.clock.now());  // absent: the time of reading
}

TEST(HolderFileIOSave, AnUnknownExtensionWritesNothingButCounts) {
  FixedServices services;
  ScratchDir dir;
  Listed listed;
  EXPECT_EQ(listed.holder->saveFile_(dir.file("x.txt")), -1);
  EXPECT_EQ(listed.holder->CountSave, 1);
  EXPECT_FALSE(std::filesystem::exists(dir.file("x.txt")));
  EXPECT_GT(listed.holder->saveFile_(dir.file("X.MHZ")), 0);
}

// Half a character (a lead byte without its trail) cannot be written so that
// the file reads back: it is dropped, and the save says so once.
TEST(HolderFileIOSave, HalfCharactersAreDroppedAndReportedOncePerSave) {
  FixedServices services;
  ScratchDir dir;
  Listed listed;
  MemoHolder& holder = *listed.holder;
  addNode(holder, "clean", {})->aMemo = {utf8LiteralToSjis("表示")};
  addNode(holder, "memo", {})->aMemo = {"ab\x81"};
  addNode(holder, "comment", {})->aComment = StringList{"x\x81<y"};
  addNode(holder, "field", {"Note=\"a\x82 b\""});
  const std::string path = dir.file("h.mxh");
  ASSERT_GT(holder.saveFile_(path), 0);
  EXPECT_EQ(holder.aWriteLosses,
            StringList{"Half characters dropped on save: MemoHolder \"Ideas\", MemoNode \"memo\" "
                       "and 2 more"});

  Listed back;
  StringList errors;
  ASSERT_EQ(readHolderFile_(*back.holder, path, errors), 0);
  EXPECT_EQ(back.holder->findNode_("clean")->aMemo, StringList{utf8LiteralToSjis("表示")});
  EXPECT_EQ(back.holder->findNode_("memo")->aMemo, StringList{"ab"});
  EXPECT_EQ(back.holder->findNode_("comment")->aComment, StringList{"x<y"});
  EXPECT_EQ(back.holder->findNode_("field")->getField_("Note"), "\"a b\"");
  ASSERT_GT(back.holder->saveFile_(path), 0);
  EXPECT_TRUE(back.holder->aWriteLosses.empty());
}

TEST(HolderFileIOSave, AFailedWriteLeavesTheOldFileAndNoTemporary) {
  FixedServices services;
  ScratchDir dir;
  Listed listed;
  // Random text does not compress, so either file runs into the size limit.
  std::mt19937 random(7);
  std::unique_ptr<MemoNode> big = listed.holder->createNode();
  big->aMemo.assign(64, std::string(1024, ' '));
  for (std::string& line : big->aMemo)
    for (char& c : line) c = static_cast<char>('!' + random() % 90);
  for (const char* name : {"h.mxh", "h.mhz"}) {
    SCOPED_TRACE(name);
    const std::string path = dir.file(name);
    Listed small;
    addNode(*small.holder, "small", {});
    ASSERT_GT(small.holder->saveFile_(path), 0);
    const std::string before = readFile(path);

    Listed large;
    large.holder->addNode_(big->cloneNode(), "big");
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 16384;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    std::string why;
    const int result = large.holder->saveFile_(path, &why);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(result, -1);
    EXPECT_EQ(why, "cannot write " + path + ": " + std::strerror(EFBIG));
    EXPECT_EQ(readFile(path), before);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            2);
}

}  // namespace
}  // namespace vrk
