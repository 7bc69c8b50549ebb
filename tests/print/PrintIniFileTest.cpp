// "vrkprint.ini": sections, the hexadecimal lines of the settings, surplus
// keys, other sections kept, corrupt counts and lines.
#include "print/PrintIniFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "print/PropertyStream.h"
#include "text/Basic.h"
#include "text/FileIO.h"

namespace vrk {
namespace {

TEST(PrintIniFile, SectionsKeepTheirOwnKeys) {
  StringList lines = {"[Other]", "Property_c=2", "",   "[stringsprinter1]", "property_C=1",
                      "",        "[Last]",       "x=1"};
  EXPECT_EQ(iniSectionValue_(lines, "StringsPrinter1", "Property_c"), "1");
  EXPECT_EQ(iniSectionValue_(lines, "Other", "Property_c"), "2");
  EXPECT_EQ(iniSectionValue_(lines, "Last", "Property_c"), std::nullopt);
  iniSetSectionValue_(lines, "StringsPrinter1", "Property_d0", "AB");
  iniSetSectionValue_(lines, "StringsPrinter1", "Property_c", "3");
  iniSetSectionValue_(lines, "New", "k", "v");
  iniDeleteSectionKey_(lines, "Other", "property_c");
  const StringList expected = {
      "[Other]", "",   "[stringsprinter1]", "Property_c=3", "Property_d0=AB", "", "[Last]", "x=1",
      "[New]",   "k=v"};
  EXPECT_EQ(lines, expected);
}

TEST(PrintIniFile, HexLines) {
  std::string full;
  for (int i = 0; i < 32; ++i) full += "AB";
  EXPECT_EQ(bytesToHexLines_(std::string(33, '\xAB')), (StringList{full, "AB"}));
  EXPECT_EQ(hexLinesToBytes_({"5450", "zz4630", "a"}), std::string("TP\0F0", 5));
}

TEST(PrintIniFile, ShrinkingDeletesSurplusLinesAndKeepsOtherKeys) {
  const StringList hexOfDefaults = bytesToHexLines_(writeStringsPrinterStream_(TStringsPrinter()));
  const std::size_t needed = hexOfDefaults.size();
  StringList lines = {"[Other]", "Property_d20=keep", "[StringsPrinter1]", "Mine=1",
                      "Property_c=" + std::to_string(needed + 2)};
  for (std::size_t i = 0; i < needed + 2; ++i)
    lines.push_back("Property_d" + std::to_string(i) + "=00");
  writePrinterSettings_(lines, "StringsPrinter1", "Property", TStringsPrinter());
  EXPECT_EQ(iniSectionValue_(lines, "StringsPrinter1", "Property_c"), std::to_string(needed));
  EXPECT_EQ(iniSectionValue_(lines, "StringsPrinter1", "Property_d" + std::to_string(needed - 1)),
            hexOfDefaults.back());
  EXPECT_EQ(iniSectionValue_(lines, "StringsPrinter1", "Property_d" + std::to_string(needed)),
            std::nullopt);
  EXPECT_EQ(iniSectionValue_(lines, "StringsPrinter1", "Property_d" + std::to_string(needed + 1)),
            std::nullopt);
  EXPECT_EQ(iniSectionValue_(lines, "StringsPrinter1", "Mine"), "1");
  EXPECT_EQ(iniSectionValue_(lines, "Other", "Property_d20"), "keep");
  EXPECT_EQ(lines.size(), 5 + needed);
}

TEST(PrintIniFile, FiveStoredLinesShrinkToThree) {
  StringList lines = {"[StringsPrinter1]", "Property_c=5",   "Property_d0=A0",
                      "Property_d1=A1",    "Property_d2=A2", "Property_d3=A3",
                      "Property_d4=A4",    "[Next]",         "k=v"};
  writeStreamLines_(lines, "StringsPrinter1", "Property", {"B0", "B1", "B2"});
  const StringList expected = {"[StringsPrinter1]",
                               "Property_c=3",
                               "Property_d0=B0",
                               "Property_d1=B1",
                               "Property_d2=B2",
                               "[Next]",
                               "k=v"};
  EXPECT_EQ(lines, expected);
  writeStreamLines_(lines, "StringsPrinter1", "Property", {});
  EXPECT_EQ(lines, (StringList{"[StringsPrinter1]", "[Next]", "k=v"}));
}

TEST(PrintIniFile, CorruptCountsAndLines) {
  TStringsPrinter changed;
  changed.setColumnCount_(3);
  StringList lines;
  writePrinterSettings_(lines, "StringsPrinter1", "Property", changed);
  struct Case {
    const char* name;
    std::string count;
    int result, columns;
  };
  const Case cases[] = {
      {"whole", "", 0, 3},
      {"count not a number", "x", 1, 1},
      {"count zero", "0", 1, 1},
      {"count negative", "-4", 1, 1},
      {"count huge: stops at the first missing line", "2147483647", 0, 3},
      {"count too large for int", "99999999999", 1, 1},
      {"count two: a cut stream", "2", -1, 3},
  };
  for (const Case& c : cases) {
    StringList copy = lines;
    if (!c.count.empty()) iniSetSectionValue_(copy, "StringsPrinter1", "Property_c", c.count);
    TStringsPrinter p;
    EXPECT_EQ(readPrinterSettings_(copy, "StringsPrinter1", "Property", p), c.result) << c.name;
    EXPECT_EQ(p.columnCount(), c.columns) << c.name;
  }
  TStringsPrinter p;
  EXPECT_EQ(readPrinterSettings_({"[StringsPrinter1]"}, "StringsPrinter1", "Property", p), 1);
  EXPECT_TRUE(p == TStringsPrinter());
}

TEST(PrintIniFile, SavedAtomicallyBesideOtherSections) {
  const std::string dir = ::testing::TempDir() + "print-ini-" + std::to_string(::getpid()) + "/";
  std::filesystem::create_directories(dir);
  const std::string path = printIniPath_(dir);
  EXPECT_EQ(path, dir + "vrkprint.ini");
  ASSERT_EQ(writeFileAtomic_(path, "[Mine]\r\nA=1\r\n"), 0);
  TStringsPrinter p;
  p.setHeader_("%p");
  p.setHeaderAlign_(TStringsPrinterHeaderAlign::haLeft);
  ASSERT_EQ(savePrinterSettings_(path, kPrintIniSection, kPrintIniKey, p), 0);
  std::string bytes;
  ASSERT_EQ(readFileBytes_(path, bytes), 0);
  EXPECT_EQ(bytes.rfind("[Mine]\r\nA=1\r\n[StringsPrinter1]\r\nProperty_d0=545046300F5453", 0), 0u);
  TStringsPrinter back;
  EXPECT_EQ(loadPrinterSettings_(path, kPrintIniSection, kPrintIniKey, back), 0);
  EXPECT_TRUE(back == p);
  TStringsPrinter untouched;
  EXPECT_EQ(loadPrinterSettings_(dir + "missing.ini", kPrintIniSection, kPrintIniKey, untouched),
            1);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace vrk
