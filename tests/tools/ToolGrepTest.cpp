// vrk-tool grep over a memo file whose holders are read from their own files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/SjisBridge.h"
#include "support/ScratchDir.h"
#include "tools/ToolTestSupport.h"

namespace vrk {
namespace {

using tooltest::runTool;
using tooltest::ToolRun;

std::string holderText(const std::string& name, const std::string& records) {
  return utf8LiteralToSjis("<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<Holder name=\"" +
                           name + "\">\r\n" + records + "</Holder>\r\n");
}

// work.mxa: Ideas beside it, Far filed in another folder (read from there,
// not from beside the memo file), and Gone, listed only when asked.
struct GrepFolder {
  ScratchDir dir, elsewhere;
  std::string mxa = dir.file("work.mxa");
  explicit GrepFolder(bool withGone = false) {
    std::string holders =
        "<Holder name=\"Ideas\"><Field FlagLoaded=\"false\" /></Holder>\r\n"
        "<Holder name=\"Far\"><Field FlagLoaded=\"false\" FlagExtra=\"true\" Filename=\"" +
        elsewhere.file("Far.mxh") + "\" /></Holder>\r\n";
    if (withGone) holders += "<Holder name=\"Gone\"><Field FlagLoaded=\"false\" /></Holder>\r\n";
    dir.write("work.mxa", utf8LiteralToSjis("<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n"
                                            "<File name=\"work\">\r\n" +
                                            holders + "</File>\r\n"));
    dir.write("Ideas.mxh",
              holderText("Ideas",
                         "<Record name=\"表示\">\r\n<Field Key=\"ソ\" />\r\n"
                         "first line<BR/>\r\nsecond Line<BR/>\r\n</Record>\r\n"
                         "<Record name=\"line up\">\r\nnothing<BR/>\r\n</Record>\r\n"));
    elsewhere.write("Far.mxh",
                    holderText("Far", "<Record name=\"far\">\r\nfar line<BR/>\r\n</Record>\r\n"));
    // A decoy where a holder named Far would be looked for by its name.
    dir.write("Far.mxh",
              holderText("Far", "<Record name=\"decoy\">\r\ndecoy line<BR/>\r\n</Record>\r\n"));
  }
};

TEST(ToolGrep, HitsAsTheAllHoldersWindowListsThem) {
  GrepFolder f;
  const ToolRun run = runTool("grep '" + f.mxa + "' line");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "Ideas:表示:Memo:000001:      1: first line\n"
            "Ideas:line up:Name:line up\n"
            "Far:far:Memo:000001:      1: far line\n");
}

TEST(ToolGrep, OptionsAndExitCodes) {
  GrepFolder f;
  struct Case {
    const char* label;
    std::string args;
    int status;
    std::string out;
  } cases[] = {
      {"ignore case", "LINE --ignore-case", 0,
       "Ideas:表示:Memo:000001:      1: first line\n"
       "Ideas:表示:Memo:000002:      2: second Line\n"
       "Ideas:line up:Name:line up\n"
       "Far:far:Memo:000001:      1: far line\n"},
      {"case kept", "LINE", 1, ""},
      {"one holder", "line --holder far", 0, "Far:far:Memo:000001:      1: far line\n"},
      {"Shift_JIS keyword in a field", "ソ", 0, "Ideas:表示:Fields:000001:      1: Key=\"ソ\"\n"},
      {"trail byte of ソ is no backslash", "'\\'", 1, ""},
      {"no such holder", "line --holder nowhere", 2, ""},
      {"empty keyword", "''", 2, ""},
      {"missing keyword", "", 2, ""},
      {"holder without its value", "line --holder", 2, ""},
  };
  for (const Case& c : cases) {
    const ToolRun run = runTool("grep '" + f.mxa + "' " + c.args);
    EXPECT_EQ(run.status, c.status) << c.label << ": " << run.err;
    EXPECT_EQ(run.out, c.out) << c.label;
  }
  EXPECT_EQ(runTool("grep '" + f.dir.file("none.mxa") + "' line").status, 2);
  EXPECT_EQ(runTool("grep '" + f.dir.file("Ideas.mxh") + "' line").status, 2);
}

TEST(ToolGrep, AHolderThatCannotBeReadIsAnError) {
  GrepFolder f(true);
  const ToolRun run = runTool("grep '" + f.mxa + "' far");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "Far:far:Name:far\nFar:far:Memo:000001:      1: far line\n");
  EXPECT_NE(run.err.find(f.dir.file("Gone.mxh")), std::string::npos) << run.err;
}

}  // namespace
}  // namespace vrk
