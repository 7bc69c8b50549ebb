// The settings' property stream: a round trip of every property, the stream
// of an independent writer (Free Pascal's TWriter, tests/fixtures/print), and
// streams that are cut, corrupt or carry what the reader does not know.
#include "print/PropertyStream.h"

#include <gtest/gtest.h>

#include "text/FileIO.h"

namespace vrk {
namespace {

TStringsPrinter everythingSet() {
  TStringsPrinter p;
  p.setColumnCount_(3);
  p.setColumnSpace_(7);
  p.setFileName_(
      "c:\\memo\\"
      "\x95\x5C"
      ".txt");  // 表: a trail byte "\"
  p.setFirstLineNumber_(123456);
  p.setFirstPageNumber_(300);
  p.setFont_({"\x82\x6C\x82\x72 Gothic", 11, true, true, false, true, 128, 0x0000FF});
  p.setFooter_(std::string(300, 'f'));  // longer than a short string
  p.setFooterAlign_(TStringsPrinterHeaderAlign::haCenter);
  p.setHeader_("%p/%F");
  p.setHeaderAlign_(TStringsPrinterHeaderAlign::haRight);
  p.setLastLine_(40000);
  p.setLastPage_(-5);  // clamped to 1
  p.setLineNumber_(true);
  p.setLineRangeOption_(TStringsPrinterRangeOption::roLimited);
  p.setMarginBottom_(1);
  p.setMarginLeft_(2);
  p.setMarginRight_(3);
  p.setMarginTop_(4);
  p.setMarginLine_(5);
  p.setPageOption_(TStringsPrinterPageOption::poEven);
  p.setRangeOption_(TStringsPrinterRangeOption::roLimited);
  p.setStartLine_(9);
  p.setStartPage_(8);
  return p;
}

TEST(PropertyStream, RoundTripOfEveryProperty) {
  const TStringsPrinter p = everythingSet();
  const std::string bytes = writeStringsPrinterStream_(p);
  EXPECT_EQ(bytes.substr(0, 36), std::string("TPF0\x0FTStringsPrinter\x0FStringsPrinter1", 36));
  EXPECT_EQ(bytes.substr(bytes.size() - 2), std::string("\0\0", 2));
  TStringsPrinter back;
  EXPECT_EQ(readStringsPrinterStream_(bytes, back), 0);
  EXPECT_TRUE(back == p);
  for (int size = 6; size <= 30; ++size) {  // every size the dialog offers
    TStringsPrinter f;
    f.setFont_({"x", size});
    TStringsPrinter g;
    readStringsPrinterStream_(writeStringsPrinterStream_(f), g);
    EXPECT_EQ(g.font().size, size);
  }
}

TEST(PropertyStream, ReadsTheStreamOfFreePascalsWriter) {
  std::string bytes;
  ASSERT_EQ(readFileBytes_(std::string(VRK_FIXTURES) + "/print/fpc-writer.bin", bytes), 0);
  TStringsPrinter p;
  ASSERT_EQ(readStringsPrinterStream_(bytes, p), 0);
  EXPECT_EQ(p.columnCount(), 2);
  EXPECT_EQ(p.columnSpace(), 100);  // 300 clamped
  EXPECT_EQ(p.fileName(), "memo : text/plain");
  EXPECT_EQ(p.firstLineNumber(), 70000);
  EXPECT_EQ(p.firstPageNumber(), 5);
  const TStringsPrinterFont font{"IPAGothic", 12, true, false, true, false, 128, 255};
  EXPECT_TRUE(p.font() == font);
  EXPECT_EQ(p.footer(), "- %p -");
  EXPECT_EQ(p.footerAlign(), TStringsPrinterHeaderAlign::haCenter);
  EXPECT_EQ(p.header(), "%F  %y/%m/%d");
  EXPECT_EQ(p.headerAlign(), TStringsPrinterHeaderAlign::haRight);
  EXPECT_EQ(p.lastLine(), 999999);
  EXPECT_EQ(p.lastPage(), 12);
  EXPECT_TRUE(p.lineNumber());
  EXPECT_EQ(p.lineRangeOption(), TStringsPrinterRangeOption::roLimited);
  EXPECT_EQ(p.marginBottom(), 15);
  EXPECT_EQ(p.marginLeft(), 20);
  EXPECT_EQ(p.marginRight(), 10);
  EXPECT_EQ(p.marginTop(), 25);
  EXPECT_EQ(p.marginLine(), 1);
  EXPECT_EQ(p.pageOption(), TStringsPrinterPageOption::poOdd);
  EXPECT_EQ(p.rangeOption(), TStringsPrinterRangeOption::roLimited);
  EXPECT_EQ(p.startLine(), 3);
  EXPECT_EQ(p.startPage(), 2);
}

// Bytes of a stream put together by hand.
std::string prop(std::string_view name, std::string_view typed) {
  return std::string(1, static_cast<char>(name.size())) + std::string(name) + std::string(typed);
}
std::string stream(std::string_view props) {
  return std::string("TPF0\x0FTStringsPrinter\x01X") + std::string(props) + std::string("\0\0", 2);
}

TEST(PropertyStream, SkipsUnknownPropertiesOfEveryValueType) {
  using namespace std::string_literals;
  const std::string props =
      prop("U1", "\x05"s + std::string(10, '\x01')) +  // extended
      prop("U2", "\x0A\x03\x00\x00\x00xyz"s) +         // binary
      prop("U3", "\x01\x02\x05\x06\x02hi\x00"s) +      // list
      prop("U4",
           "\x0E\x01\x02"
           "Ab\x02\x07\x00\x00"s) +                              // collection of one item
      prop("U5", "\x13\x01\x02\x03\x04\x05\x06\x07\x08"s) +      // int64
      prop("U6", "\x0F\x00\x00\x80\x3F"s) +                      // single
      prop("U8", "\x11" + std::string(8, '\0')) +                // date
      prop("U7", "\x0D"s) +                                      // nil
      prop("Header", "\x12\x02\x00\x00\x00\x42\x30\x44\x30"s) +  // wide string "あい"
      prop("Footer", "\x14\x03\x00\x00\x00\xE3\x81\x86"s) +      // UTF-8 "う"
      prop("Font.Style",
           "\x0B\x08"
           "fsItalic\x00"s) +
      prop("Font.Size", "\x02\x09"s) + prop("Font.Name", "\x06\x01Q"s) +
      prop("Font.Color",
           "\x07\x05"
           "clRed"s) +
      prop("ColumnCount", "\x03\x02\x00"s) + prop("LineNumber", "\x09"s);
  TStringsPrinter p;
  ASSERT_EQ(readStringsPrinterStream_(stream(props), p), 0);
  EXPECT_EQ(p.header(), "\x82\xA0\x82\xA2");
  EXPECT_EQ(p.footer(), "\x82\xA4");
  EXPECT_TRUE(p.font() == (TStringsPrinterFont{"Q", 9, false, true, false, false, 1, 0x0000FF}));
  EXPECT_EQ(p.columnCount(), 2);
  EXPECT_TRUE(p.lineNumber());
}

TEST(PropertyStream, StopsAtTheFirstBadValueKeepingWhatWasRead) {
  using namespace std::string_literals;
  struct Case {
    const char* name;
    std::string bad;
  };
  const Case cases[] = {
      {"long string past the end", prop("Header",
                                        "\x0C\xFF\xFF\xFF\x7F"
                                        "ab"s)},
      {"negative length", prop("Header", "\x0C\xFF\xFF\xFF\xFF"s)},
      {"wide string past the end", prop("Header", "\x12\x00\x00\x00\x40"s)},
      {"unknown value type", prop("Header", "\x63"s)},
      {"integer for an enumeration", prop("PageOption", "\x02\x01"s)},
      {"unknown enumeration", prop("PageOption", "\x07\x05poAll"s)},
      {"name past the end", "\x40Head"s},
      {"deep list", prop("U", std::string(200, '\x01'))},
  };
  for (const Case& c : cases) {
    TStringsPrinter p;
    const std::string bytes =
        stream(prop("ColumnCount", "\x02\x03"s) + c.bad + prop("ColumnSpace", "\x02\x09"s));
    EXPECT_EQ(readStringsPrinterStream_(bytes, p), -1) << c.name;
    EXPECT_EQ(p.columnCount(), 3) << c.name;
    EXPECT_EQ(p.columnSpace(), 4) << c.name;
  }
  // Every cut of a whole stream reads safely as far as it goes.
  const std::string whole = writeStringsPrinterStream_(everythingSet());
  for (std::size_t n = 0; n + 1 < whole.size(); ++n) {
    TStringsPrinter p;
    EXPECT_EQ(readStringsPrinterStream_(std::string_view(whole).substr(0, n), p), -1) << n;
  }
  TStringsPrinter p;
  EXPECT_EQ(readStringsPrinterStream_("TPF1", p), -1);
}

}  // namespace
}  // namespace vrk
