// vrk-tool print: a holder's memo text through the text printer into a PDF,
// read back by pdftotext (an independent reader) page by page.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "model/ModelTestSupport.h"
#include "print/PrintIniFile.h"
#include "tools/ToolTestSupport.h"

namespace vrk {
namespace {

using modeltest::ScratchDir;
using tooltest::NoLeakCheckInTool;
using tooltest::runTool;
using tooltest::ToolRun;

const std::string kGyou = "\x8D\x73";  // 行

std::string holderFile() {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<Holder name=\"Notes\">\r\n"
      "  <Record name=\"Memo1\">\r\n    <Field UID=\"20241208_101010123_00000001\" />\r\n";
  for (int i = 1; i <= 100; ++i) text += kGyou + " " + std::to_string(i) + " line<BR/>\r\n";
  text +=
      "  </Record>\r\n  <Record name=\"Second\">\r\n"
      "    <Field UID=\"20241208_101010123_00000002\" />\r\nsecond memo<BR/>\r\n"
      "  </Record>\r\n</Holder>\r\n";
  return text;
}

bool havePrint() {
  if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) return false;
  return runTool("").err.find("print FILE") != std::string::npos;
}

std::string pageText(const std::string& pdf, int page) {
  const std::string out = pdf + ".txt";
  const std::string command = "pdftotext -f " + std::to_string(page) + " -l " +
                              std::to_string(page) + " '" + pdf + "' '" + out + "'";
  if (std::system(command.c_str()) != 0) return "(pdftotext failed)";
  return modeltest::readFile(out);
}

TEST(ToolPrint, TwoPagesWithHeadersFootersAndNumbers) {
  const NoLeakCheckInTool spared;
  if (!havePrint()) GTEST_SKIP() << "needs pdftotext (scripts/setup.sh) and a vrk-tool with Qt";
  const ScratchDir dir;
  const std::string holder = dir.write("notes.mxh", holderFile());
  TStringsPrinter settings;
  settings.setHeader_("%p/%f");
  settings.setHeaderAlign_(TStringsPrinterHeaderAlign::haLeft);
  settings.setFooter_("Page %p of the memo");
  settings.setFooterAlign_(TStringsPrinterHeaderAlign::haCenter);
  settings.setLineNumber_(true);
  settings.setMarginTop_(15);
  settings.setMarginBottom_(15);
  settings.setMarginLeft_(20);
  ASSERT_EQ(
      savePrinterSettings_(dir.file("vrkprint.ini"), kPrintIniSection, kPrintIniKey, settings), 0);
  const std::string pdf = dir.file("memo.pdf");

  const ToolRun run = runTool("print '" + holder + "' --pdf '" + pdf +
                              "' --node Memo1 --settings '" + dir.file("vrkprint.ini") + "'");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "{\"nodes\":1,\"pages\":2}\n");
  const std::string one = pageText(pdf, 1), two = pageText(pdf, 2);
  EXPECT_NE(one.find("1/Memo1 : text"), std::string::npos) << one;
  EXPECT_NE(one.find("Page 1 of the memo"), std::string::npos) << one;
  EXPECT_NE(one.find("1:"), std::string::npos) << one;
  EXPECT_NE(one.find("\xE8\xA1\x8C 1 line"), std::string::npos) << one;  // 行 in UTF-8
  EXPECT_EQ(one.find("\xE8\xA1\x8C 100 line"), std::string::npos) << one;
  EXPECT_NE(two.find("2/Memo1 : text"), std::string::npos) << two;
  EXPECT_NE(two.find("Page 2 of the memo"), std::string::npos) << two;
  EXPECT_NE(two.find("100:"), std::string::npos) << two;
  EXPECT_NE(two.find("\xE8\xA1\x8C 100 line"), std::string::npos) << two;

  // Every node of the holder, each from a new page.
  const ToolRun all = runTool("print '" + holder + "' --pdf '" + pdf + "' --settings '" +
                              dir.file("vrkprint.ini") + "'");
  ASSERT_EQ(all.status, 0) << all.err;
  EXPECT_EQ(all.out, "{\"nodes\":2,\"pages\":3}\n");
  const std::string three = pageText(pdf, 3);
  EXPECT_NE(three.find("1/Second : text"), std::string::npos) << three;
  EXPECT_NE(three.find("second memo"), std::string::npos) << three;
}

TEST(ToolPrint, UsageAndMissingInputs) {
  const NoLeakCheckInTool spared;
  if (!havePrint()) GTEST_SKIP() << "needs pdftotext (scripts/setup.sh) and a vrk-tool with Qt";
  const ScratchDir dir;
  const std::string holder = dir.write("notes.mxh", holderFile());
  const std::string pdf = dir.file("x.pdf");
  struct Case {
    const char* name;
    std::string args;
  };
  const Case cases[] = {
      {"no --pdf", "print '" + holder + "'"},
      {"no file", "print --pdf '" + pdf + "'"},
      {"missing node", "print '" + holder + "' --pdf '" + pdf + "' --node Nothing"},
      {"missing settings",
       "print '" + holder + "' --pdf '" + pdf + "' --settings '" + dir.file("none.ini") + "'"},
      {"missing file", "print '" + dir.file("none.mxh") + "' --pdf '" + pdf + "'"},
  };
  for (const Case& c : cases) EXPECT_EQ(runTool(c.args).status, 2) << c.name;
  // A PDF that cannot be written is an incomplete run.
  EXPECT_EQ(runTool("print '" + holder + "' --pdf '" + dir.file("no/such/dir/x.pdf") + "'").status,
            1);
}

}  // namespace
}  // namespace vrk
