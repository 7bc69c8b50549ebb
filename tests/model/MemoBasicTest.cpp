// Records: fields, the Field and Comment elements, attaching and saving contents.
#include <gtest/gtest.h>

#include <filesystem>

#include "model/ModelTestSupport.h"
#include "model/TContent.h"
#include "platform/SJ.h"
#include "support/MapDownloader.h"
#include "text/Basic.h"

namespace vrk {
namespace {

using modeltest::FixedServices;
using modeltest::readFile;
using modeltest::ScratchDir;

// The first element of markup lines, as the tag reader builds it.
struct ReadElement {
  explicit ReadElement(const StringList& lines) {
    StringList words, errors;
    toWordList_(lines, words, false);
    EXPECT_EQ(TTAGNode::_FromXMLWordList_aOUT_(&root, words, errors), 0);
  }
  const TTAGNode& element() const { return *root.childAt(0); }
  TTAGNode root;
};

TEST(MemoBasicFields, PutGetRemove) {
  MemoBasic record;
  EXPECT_EQ(record.putField_("FileName", "\"a\""), 0);
  EXPECT_EQ(record.putField_("Other", "1"), 1);
  EXPECT_EQ(record.putField_("filename", "\"b\""), 0);  // keys ignore letter case
  EXPECT_EQ(record.getField_("FILENAME"), "\"b\"");
  EXPECT_EQ(record.getFilename(), "b");
  EXPECT_EQ(record.aFields[0], "FileName=\"b\"");
  EXPECT_EQ(record.getIndexField_("File"), -1);  // a prefix is not a key
  EXPECT_EQ(record.putField_("Other", ""), 1);   // empty value deletes
  EXPECT_EQ(record.getIndexField_("Other"), -1);
  EXPECT_EQ(record.putField_("New", ""), 1);  // ...but appends a missing key
  EXPECT_EQ(record.aFields[1], "New=");
  EXPECT_EQ(record.removeField_("filename"), "FileName=\"b\"");
  EXPECT_EQ(record.removeField_("filename"), "");
  record.putReadOnly_(true);
  EXPECT_TRUE(record.isReadOnly());
  record.putField_("FlagReadOnly", "true");  // without quotes it is not the flag
  EXPECT_FALSE(record.isReadOnly());
}

TEST(MemoBasicFields, WrittenAttributesReadBackAsWritten) {
  struct Case {
    std::string field;
    std::string attribute;  // as written
    std::string readBack;   // field line after reading
  };
  const Case cases[] = {
      {"k=v", "k=\"v\"", "k=\"v\""},
      {"k=\"a\"b\"", "k=\"a&quot;b\"", "k=\"a\"b\""},
      {"my key=a<b", "my_key=\"a&lt;b\"", "my_key=\"a<b\""},
      {"  pad = \"x\"  ", "pad=\"x\"", "pad=\"x\""},
      {"q'\"k>=1", "q__k_=\"1\"", "q__k_=\"1\""},
      {"tab\tkey=v", "tab_key=\"v\"", "tab_key=\"v\""},
      {"amp=a&b>c", "amp=\"a&amp;b&gt;c\"", "amp=\"a&b>c\""},
      {"empty=", "empty=\"\"", "empty=\"\""},
      {SJ("表=ソ"), SJ("表=\"ソ\""), SJ("表=\"ソ\"")},
  };
  for (const Case& c : cases) {
    MemoBasic record;
    record.aFields = {c.field, "no equals sign"};
    StringList lines;
    EXPECT_EQ(record.writeFields_(lines, "  "), 1) << c.field;
    EXPECT_EQ(lines, StringList{"    <Field " + c.attribute + " />"}) << c.field;
    MemoBasic back;
    back.readFieldTag_(ReadElement(lines).element());
    EXPECT_EQ(back.aFields, StringList{c.readBack}) << c.field;
  }
}

TEST(MemoBasicFields, BlankFieldsAreNotWritten) {
  MemoBasic record;
  StringList lines;
  EXPECT_EQ(record.writeFields_(lines, ""), -1);
  record.aFields = {"  ", ""};
  EXPECT_EQ(record.writeFields_(lines, ""), -1);
  // Lines without "=" (read from a bare attribute) make no attribute: an empty
  // element would not read back the same.
  record.aFields = {"bare", "key\"value\""};
  EXPECT_EQ(record.writeFields_(lines, ""), -1);
  EXPECT_TRUE(lines.empty());
}

TEST(MemoBasicFields, LaterFieldElementsMerge) {
  ReadElement read({"<Field a=\"2\" b=\"3\" bare />"});
  MemoBasic empty;
  empty.readFieldTag_(read.element());
  EXPECT_EQ(empty.aFields, (StringList{"a=\"2\"", "b=\"3\"", "bare"}));
  MemoBasic filled;
  filled.aFields = {"A=\"1\""};
  filled.readFieldTag_(read.element());
  EXPECT_EQ(filled.aFields, (StringList{"A=\"2\"", "b=\"3\""}));
}

TEST(MemoBasicComment, WrittenEscapedAndReadUpToTheLastBreak) {
  MemoBasic record;
  StringList lines;
  EXPECT_EQ(record.writeComment_(lines, ""), -1);
  record.aComment = StringList{" ", ""};
  EXPECT_EQ(record.writeComment_(lines, ""), -1);
  EXPECT_TRUE(lines.empty());
  record.aComment = StringList{"a<b", "", "\"q\""};
  EXPECT_EQ(record.writeComment_(lines, "  "), 3);
  EXPECT_EQ(lines, (StringList{"    <Comment>", "a&lt;b<BR/>", "<BR/>", "&quot;q&quot;<BR/>",
                               "    </Comment>"}));
  MemoBasic back;
  back.readCommentTag_(ReadElement(lines).element());
  EXPECT_EQ(back.aComment, record.aComment);
  back.readCommentTag_(ReadElement({"<Comment>", "x<BR/>", "tail", "</Comment>"}).element());
  EXPECT_EQ(back.aComment, StringList{"x"});
}

TEST(MemoBasicRecord, ColourAndTemporaryDirectory) {
  MemoBasic record;
  EXPECT_EQ(record.getColor(), 0xFFFFFFu);
  record.putField_("Color", "\"clRed\"");
  EXPECT_EQ(record.getColor(), 0x0000FFu);
  record.putField_("Color", "\"$123456\"");
  EXPECT_EQ(record.getColor(), 0x123456u);

  const char* saved = std::getenv("TMPDIR");
  const std::string savedValue = saved ? saved : "";
  ::setenv("TMPDIR", "/var/tmpdir", 1);
  EXPECT_EQ(record.getTempDir(), "/var/tmpdir/");
  {
    ScopedModelServices services({.tempDir = "/setting/temp"});
    EXPECT_EQ(record.getTempDir(), "/setting/temp/");
  }
  ::unsetenv("TMPDIR");
  EXPECT_EQ(record.getTempDir(), "/tmp/");
  if (saved) ::setenv("TMPDIR", savedValue.c_str(), 1);
}

TEST(MemoBasicRecord, AssignCopiesEverythingAndDropsWhatTheSourceLacks) {
  MemoBasic source;
  source.aFields = {"k=\"v\""};
  source.aMemo = {"memo"};
  source.aComment = StringList{"c"};
  source.loadContentStream_("bytes", "image/png", "binary");
  auto copy = source.deepCopy();
  auto* record = dynamic_cast<MemoBasic*>(copy.get());
  ASSERT_TRUE(record);
  EXPECT_EQ(record->aFields, source.aFields);
  EXPECT_EQ(record->aMemo, source.aMemo);
  EXPECT_EQ(record->aComment, source.aComment);
  ASSERT_TRUE(record->aContent);
  EXPECT_NE(record->aContent.get(), source.aContent.get());
  EXPECT_EQ(record->aContent->aData, "bytes");

  record->assign_(MemoBasic());
  EXPECT_TRUE(record->aFields.empty());
  EXPECT_TRUE(record->aComment && record->aComment->empty());
  EXPECT_FALSE(record->aContent);
}

// --- attaching files

struct AttachRow {
  const char* extensions;
  const char* type;
  const char* encoding;
  bool toMemo;
};
const AttachRow kAttachRows[] = {
    {".jpe .jpg .jpeg .JPG", "image/jpeg", "binary", false},
    {".bmp", "image/bmp", "binary", false},
    {".png", "image/png", "binary", false},
    {".tif", "image/tiff", "binary", false},
    {".gif", "image/gif", "binary", false},
    {".ico", "image/ico", "binary", false},
    {".wmf .emf", "image/x-wmf", "binary", false},
    {".txt .log .TXT", "text/plain", "8bit", true},
    {".asm .awk .csh .dtd .sh .eml .el .lsp .lisp .ini .bat .wsh .pas .inc .pl .bas .c .cpp .h "
     ".hpp .py .rb .php .csv",
     "text/plain", "8bit", true},
    {".cr2 .lt2 .pz3 .pz2 .pp2 .hd2 .fc2", "text/plain", "Poser", true},
    {".tv", "text/plain", "PoserLike", true},
    {".html .htm .shtml .shtm .phtml .phtm", "text/html", "8bit", true},
    {".xml", "text/xml", "8bit", true},
    {".sgm .sgml", "test/sgml", "8bit", true},
    {".css", "text/css", "8bit", true},
    {".js", "text/javascript", "8bit", true},
    {".java", "text/x-java-source", "8bit", true},
    {".tex", "application/x-tex", "8bit", true},
    {".doc .cc .jsx .z", "application/octet-stream", "binary", false},
};

TEST(MemoBasicLoadContent, EveryExtensionGoesWhereTheTableSays) {
  ScratchDir dir;
  const std::string bytes = "line1\r\nline2\r\n";
  for (const AttachRow& row : kAttachRows) {
    StringList extensions;
    splitText_(row.extensions, " ", extensions);
    for (const std::string& ext : extensions) {
      const std::string path = dir.write("f" + ext, bytes);
      MemoBasic record;
      record.aMemo = {"old"};
      const int result = record.loadContent_(path, "");
      EXPECT_EQ(record.getField_("Content-Type"), quoted_(row.type)) << ext;
      EXPECT_EQ(record.getField_("Content-Transfer-Encoding"), quoted_(row.encoding)) << ext;
      EXPECT_EQ(record.getFilename(), path) << ext;
      if (row.toMemo) {
        EXPECT_EQ(result, 0) << ext;
        EXPECT_EQ(record.aMemo, (StringList{"line1", "line2"})) << ext;
        EXPECT_FALSE(record.aContent) << ext;
      } else {
        EXPECT_EQ(result, static_cast<int>(bytes.size())) << ext;
        ASSERT_TRUE(record.aContent) << ext;
        EXPECT_EQ(record.aContent->aData, bytes) << ext;
        EXPECT_EQ(record.aContent->contentType, row.type) << ext;
        EXPECT_EQ(record.aMemo, StringList{"old"}) << ext;
      }
    }
  }
}

TEST(MemoBasicLoadContent, WithoutExtensionIsBinaryAndTheGivenNameIsStored) {
  ScratchDir dir;
  MemoBasic record;
  EXPECT_EQ(record.loadContent_(dir.write("README", "abc"), "./README"), 3);
  EXPECT_EQ(record.getField_("Content-Type"), "\"application/octet-stream\"");
  EXPECT_EQ(record.getField_("Filename"), "\"./README\"");
}

TEST(MemoBasicLoadContent, FileAddressesAreLocalPaths) {
  ScratchDir dir;
  const std::string path = dir.write("n.txt", "x\n");
  MemoBasic record;
  EXPECT_EQ(record.loadContent_("file://" + path, ""), 0);
  EXPECT_EQ(record.aMemo, StringList{"x"});
  EXPECT_EQ(record.getFilename(), "file://" + path);
}

TEST(MemoBasicLoadContent, FailureCodesLeaveTheRecordUnchanged) {
  ScratchDir dir;
  MapDownloader downloader;  // knows no page
  ScopedModelServices services({.downloader = &downloader, .tempDir = dir.path()});
  // A file that exists but cannot be read: the kernel refuses reads of
  // unmapped memory at offset 0.
  std::filesystem::create_symlink("/proc/self/mem", dir.file("unreadable.txt"));
  std::filesystem::create_symlink("/proc/self/mem", dir.file("unreadable.png"));
  struct Case {
    std::string source;
    int code;
  };
  const Case cases[] = {
      {dir.file("missing.txt"), -6},          {"file://" + dir.file("missing.png"), -7},
      {"http://example.com/missing.png", -8}, {"HTTPS://example.com/", -8},
      {dir.file("unreadable.txt"), -2},       {dir.file("unreadable.png"), -2},
  };
  for (const Case& c : cases) {
    MemoBasic record;
    EXPECT_EQ(record.loadContent_(c.source, ""), c.code) << c.source;
    EXPECT_TRUE(record.aFields.empty()) << c.source;
  }
  EXPECT_EQ(downloader.requested,
            (std::vector<std::string>{"http://example.com/missing.png", "HTTPS://example.com/"}));
}

TEST(MemoBasicLoadContent, DownloadsIntoTheTemporaryDirectoryAndDeletesTheCopy) {
  ScratchDir dir;
  MapDownloader downloader;
  downloader.pages["http://example.com/pic.png"] = "PNGDATA";
  downloader.pages["http://example.com/a.txt"] = "t1\r\nt2\r\n";
  ScopedModelServices services({.downloader = &downloader, .tempDir = dir.path()});
  MemoBasic record;
  EXPECT_EQ(record.loadContent_("http://example.com/pic.png", ""), 7);
  EXPECT_EQ(record.aContent->aData, "PNGDATA");
  EXPECT_EQ(record.getFilename(), "http://example.com/pic.png");
  EXPECT_EQ(record.loadContent_("http://example.com/a.txt", ""), 0);
  EXPECT_EQ(record.aMemo, (StringList{"t1", "t2"}));
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

// --- saving contents

TEST(MemoBasicSaveContent, BinaryDataTextAndLinkPages) {
  ScratchDir dir;
  MemoBasic record;
  record.putField_("Content-Transfer-Encoding", "\"binary\"");
  EXPECT_EQ(record.saveContent_(dir.file("p.png")), -2);  // no data

  record.loadContentStream_(std::string("\0\1\2", 3), "image/png", "binary");
  EXPECT_EQ(record.saveContent_(dir.file("new/sub/p.png")), 3);  // folders made
  EXPECT_EQ(readFile(dir.file("new/sub/p.png")), std::string("\0\1\2", 3));
  EXPECT_EQ(record.saveContent_(dir.file("p.png.z")), -2);  // a .z only for a .z content
  record.putField_("Filename", "\"/from/p.Z\"");
  EXPECT_EQ(record.saveContent_(dir.file("p.png.z")), 3);

  record.putField_("Content-Transfer-Encoding", "\"8bit\"");
  EXPECT_EQ(record.saveContent_(dir.file("empty.txt")), -1);  // no memo
  record.aMemo = {SJ("表"), "b"};
  EXPECT_EQ(record.saveContent_(dir.file("t.txt")), 7);  // bytes, CR LF included
  EXPECT_EQ(readFile(dir.file("t.txt")), SJ("表") + "\r\nb\r\n");
  record.putField_("Filename", "\"/from/t.txt\"");
  EXPECT_EQ(record.saveContent_(dir.file("t.z")), -1);
  dir.write("file", "");
  EXPECT_EQ(record.saveContent_(dir.file("file/below/t.txt")), -1);  // folder cannot be made

  record.putField_("Content-Transfer-Encoding", "\"URL\"");
  record.putField_("Filename", "\"http://example.com/\"");
  StringList page;
  writeLinkHTML_(page, record.getName(), record.getField_("Filename"));
  const std::string expected = linesToBytes_(page);
  EXPECT_EQ(record.saveContent_(dir.file("link.html")), static_cast<int>(expected.size()));
  EXPECT_EQ(readFile(dir.file("link.html")), expected);
}

TEST(MemoBasicSaveContent, BlankImageAndMimeMemo) {
  MemoBasic record;
  const int size = record.makeBlankImage();
  ASSERT_TRUE(record.aContent && record.aContent->aData);
  EXPECT_EQ(size, static_cast<int>(record.aContent->aData->size()));
  EXPECT_TRUE(record.aContent->aData->starts_with("BM"));
  EXPECT_EQ(record.getField_("Content-Type"), "\"image/bmp\"");
  EXPECT_EQ(record.getField_("Content-Transfer-Encoding"), "\"binary\"");
  EXPECT_EQ(record.aContent->transferEncoding, "8bit");

  record.aFields.clear();  // a content without Content-Type is dropped
  EXPECT_EQ(record.parseContentFromMemo(), -1);
  EXPECT_FALSE(record.aContent);

  record.aMemo = {"Content-Type: text/plain", "", "hello"};
  EXPECT_EQ(record.parseContentFromMemo(), 0);
  ASSERT_TRUE(record.aContent);
  EXPECT_EQ(record.aContent->contentType, "text/plain");
  EXPECT_EQ(record.aContent->aData, "hello\r\n");
  record.putField_("Content-Type", "\"text/plain\"");
  record.aMemo = {"Content-Type: text/html", "", "other"};
  EXPECT_EQ(record.parseContentFromMemo(), 0);  // parsed once only
  EXPECT_EQ(record.aContent->aData, "hello\r\n");
}

}  // namespace
}  // namespace vrk
