// vrk-tool dump, convert and unpack on memo files, packages and holders.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "model/ModelTestSupport.h"
#include "text/UnitBasic.h"
#include "tools/ToolTestSupport.h"

namespace vrk {
namespace {

namespace fs = std::filesystem;
using modeltest::readFile;
using modeltest::ScratchDir;
using nlohmann::json;
using tooltest::runTool;
using tooltest::ToolRun;

constexpr const char* kFixed = " --time 20241208101010123 --seed 7";

std::string fixture(std::string_view name) {
  return std::string(VRK_FIXTURES) + "/memofile/" + std::string(name);
}

// The shell sees every path in single quotes ("a&b.mxh" is one of them).
std::string q(const std::string& path) { return "'" + path + "'"; }

json dump(const std::string& path) {
  const ToolRun run = runTool("dump " + q(path));
  EXPECT_EQ(run.status, 0) << path;
  return run.status == 0 ? json::parse(run.out) : json();
}

// work.mxa with Ideas.mxh beside it; Archive and a&b have no file.
struct MemoFolder {
  ScratchDir dir;
  std::string mxa = dir.file("work.mxa");
  MemoFolder() {
    fs::copy_file(fixture("golden.mxa"), mxa);
    fs::copy_file(fixture("Ideas.mxh"), dir.file("Ideas.mxh"));
  }
};

TEST(ToolDump, MemoFileWithHoldersLoadedFromBesideIt) {
  MemoFolder f;
  const json doc = dump(f.mxa);
  EXPECT_EQ(doc["kind"], "memofile");
  EXPECT_EQ(doc["name"], "work");
  EXPECT_EQ(doc["fields"][0], "Filename=\"" + f.mxa + "\"");
  EXPECT_EQ(doc["memo"], json::parse(R"(["表示 & memo"])"));
  ASSERT_EQ(doc["holders"].size(), 3u);

  const json& ideas = doc["holders"][0];
  EXPECT_EQ(ideas["name"], "Ideas");
  EXPECT_EQ(ideas["file"], f.dir.file("Ideas.mxh"));
  EXPECT_EQ(ideas["loaded"], true);
  ASSERT_EQ(ideas["nodes"].size(), 2u);
  const json& text = ideas["nodes"][0];
  EXPECT_EQ(text["name"], "20241208");
  EXPECT_EQ(text["memo"], json::parse(R"(["表示 first", "second & more"])"));
  EXPECT_EQ(text["comment"], json::parse(R"(["a comment"])"));
  EXPECT_TRUE(text["content"].is_null());
  const json& bytes = ideas["nodes"][1];
  EXPECT_TRUE(bytes["comment"].is_null());
  EXPECT_EQ(bytes["content"]["size"], 64);
  EXPECT_EQ(bytes["content"]["parts"], 0);
  EXPECT_EQ(bytes["content"]["type"], "application/octet-stream");  // from the record's fields
  EXPECT_EQ(bytes["content"]["encoding"], "binary");
  std::string payload;
  for (int i = 0; i < 64; ++i) payload += static_cast<char>(i);
  f.dir.write("payload", payload);
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(
      popen(("sha256sum " + f.dir.file("payload")).c_str(), "r"), pclose);
  char digest[65] = {};
  ASSERT_EQ(fread(digest, 1, 64, pipe.get()), 64u);
  EXPECT_EQ(bytes["content"]["sha256"], std::string(digest));

  const json& archive = doc["holders"][1];
  EXPECT_EQ(archive["loaded"], false);
  EXPECT_TRUE(archive["nodes"].empty());
  EXPECT_EQ(doc["errors"], json::array({"Not Found MemoHolder: " + f.dir.file("Archive.mhz"),
                                        "Not Found MemoHolder: " + f.dir.file("a&b.mxh")}));
}

TEST(ToolConvert, PackageIsReproducibleAndCarriesTheHolders) {
  MemoFolder f;
  const std::string maz = f.dir.file("work.maz");
  ASSERT_EQ(runTool("convert " + q(f.mxa) + " " + q(maz) + kFixed).status, 0);
  const std::string first = readFile(maz);
  ASSERT_EQ(runTool("convert " + q(f.mxa) + " " + q(maz) + kFixed).status, 0);
  EXPECT_EQ(readFile(maz), first);
  ASSERT_EQ(
      runTool("convert " + q(f.mxa) + " " + q(maz) + " --time 20241208101010123 --seed 8").status,
      0);
  EXPECT_NE(readFile(maz), first);  // the boundary's random digits

  const json original = dump(f.mxa);
  const json packed = dump(maz);
  EXPECT_EQ(packed["fields"][0], "Filename=\"" + f.mxa + "\"");  // as if unpacked beside it
  ASSERT_EQ(packed["holders"].size(), 3u);
  EXPECT_EQ(packed["holders"][0]["nodes"], original["holders"][0]["nodes"]);
  // Holders without a file are not packed as empty ones: they stay missing.
  EXPECT_EQ(packed["holders"][1]["loaded"], false);
  EXPECT_EQ(packed["errors"], original["errors"]);
}

TEST(ToolConvert, PackageToMemoFileWritesTheHolderFilesBesideIt) {
  MemoFolder f;
  const std::string maz = f.dir.file("work.maz");
  ASSERT_EQ(runTool("convert " + q(f.mxa) + " " + q(maz) + kFixed).status, 0);
  fs::create_directory(f.dir.file("out"));
  const std::string out = f.dir.file("out/copy.mxa");
  const ToolRun run = runTool("convert " + q(maz) + " " + q(out) + kFixed);
  ASSERT_EQ(run.status, 0);
  EXPECT_EQ(json::parse(run.out)["written"], json::array({out, f.dir.file("out/Ideas.mxh")}));
  const json copy = dump(out);
  EXPECT_EQ(copy["name"], "copy");
  EXPECT_EQ(copy["holders"][0]["nodes"], dump(f.mxa)["holders"][0]["nodes"]);
  EXPECT_EQ(copy["errors"], json::array({"Not Found MemoHolder: " + f.dir.file("out/Archive.mhz"),
                                         "Not Found MemoHolder: " + f.dir.file("out/a&b.mxh")}));
}

TEST(ToolConvert, HolderFormatsAndZWrapping) {
  ScratchDir dir;
  const json original = dump(fixture("Ideas.mxh"));
  EXPECT_EQ(original["kind"], "holder");
  EXPECT_EQ(original["name"], "Ideas");

  const std::string mhz = dir.file("Ideas.mhz");
  ASSERT_EQ(runTool("convert " + q(fixture("Ideas.mxh")) + " " + q(mhz) + kFixed).status, 0);
  std::string plain;
  EXPECT_EQ(inflateBytes_(readFile(mhz), plain), 0);
  EXPECT_EQ(dump(mhz)["nodes"], original["nodes"]);

  std::string packed;
  ASSERT_EQ(deflateBytes_(readFile(fixture("Ideas.mxh")), packed), 0);
  const std::string z = dir.write("Ideas.mxh.z", packed);
  EXPECT_EQ(dump(z)["nodes"], original["nodes"]);
  const std::string back = dir.file("back.mxh");
  ASSERT_EQ(runTool("convert " + q(z) + " " + q(back) + kFixed).status, 0);
  EXPECT_EQ(dump(back)["nodes"], original["nodes"]);
  EXPECT_FALSE(fs::exists(dir.file("Ideas.mxh")));  // unwrapped elsewhere, nothing replaced
}

// What did not read whole is shown with the reason, and never converted.
TEST(ToolConvert, CutInputsAreReportedAndNotConverted) {
  MemoFolder f;
  const std::string maz = f.dir.file("work.maz");
  ASSERT_EQ(runTool("convert " + q(f.mxa) + " " + q(maz) + kFixed).status, 0);
  std::string text, cutPackage;
  ASSERT_EQ(inflateBytes_(readFile(maz), text), 0);
  ASSERT_EQ(deflateBytes_(text.substr(0, text.size() - 40), cutPackage), 0);
  const std::string holder = readFile(fixture("Ideas.mxh"));
  const std::string memo = readFile(fixture("golden.mxa"));
  // cut/: a whole memo file beside a cut holder file.
  fs::create_directory(f.dir.file("cut"));
  const std::string cutHolder =
      f.dir.write("cut/Ideas.mxh", holder.substr(0, holder.find("  <Record name=\"bytes\">")));
  fs::copy_file(f.mxa, f.dir.file("cut/work.mxa"));
  struct Case {
    std::string input, reason;
  };
  const Case cases[] = {
      {cutHolder, "incomplete: the file ends early, before its </Holder>"},
      {f.dir.write("cutwork.mxa", memo.substr(0, memo.find("  <Holder name=\"a&amp;b\">"))),
       "incomplete: the file ends early, before its </File>: " + f.dir.file("cutwork.mxa")},
      {f.dir.file("cut/work.mxa"),
       "incomplete: the file ends early, before its </Holder>: " + cutHolder},
      {f.dir.write("cut.maz", cutPackage),
       "incomplete: the package ends early, before its closing delimiter"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    const json doc = dump(c.input);
    bool reported = false;
    for (const std::string line : doc["errors"]) reported |= line.find(c.reason) != line.npos;
    EXPECT_TRUE(reported) << doc["errors"];
    const std::string out = f.dir.file("out" + c.input.substr(c.input.rfind('.')));
    EXPECT_EQ(runTool("convert " + q(c.input) + " " + q(out) + kFixed).status, 1);
    EXPECT_FALSE(fs::exists(out));
  }
}

TEST(ToolConvert, HalfCharactersDroppedOnSaveAreReported) {
  ScratchDir dir;
  const std::string in = dir.write(
      "h.mxh",
      "<Holder name=\"h\">\r\n<Record name=\"n\">\r\nab\x81<BR/>\r\n</Record>\r\n</Holder>\r\n");
  const ToolRun run = runTool("convert " + q(in) + " " + q(dir.file("out.mxh")) + kFixed);
  ASSERT_EQ(run.status, 0);
  EXPECT_EQ(json::parse(run.out)["errors"],
            json::array({"Half characters dropped on save: MemoHolder \"h\", MemoNode \"n\""}));
  EXPECT_EQ(dump(dir.file("out.mxh"))["nodes"][0]["memo"], json::array({"ab"}));
}

TEST(ToolUnpack, WritesThePartsOnceAndKeepsExistingFiles) {
  MemoFolder f;
  const std::string maz = f.dir.file("work.maz");
  ASSERT_EQ(runTool("convert " + q(f.mxa) + " " + q(maz) + kFixed).status, 0);
  const std::string out = f.dir.file("out");
  ToolRun run = runTool("unpack " + q(maz) + " " + q(out));
  ASSERT_EQ(run.status, 0);
  const json parts = json::parse(run.out);
  EXPECT_EQ(parts["memofile"], out + "/work.mxa");
  EXPECT_EQ(parts["written"].size(), 2u);  // the memo file and Ideas; the others have no file
  EXPECT_EQ(dump(out + "/work.mxa")["holders"][0]["nodes"], dump(f.mxa)["holders"][0]["nodes"]);

  f.dir.write("out/Ideas.mxh", "mine");
  run = runTool("unpack " + q(maz) + " " + q(out));
  ASSERT_EQ(run.status, 0);
  EXPECT_TRUE(json::parse(run.out)["written"].empty());
  EXPECT_EQ(json::parse(run.out)["kept"].size(), 2u);
  EXPECT_EQ(readFile(out + "/Ideas.mxh"), "mine");
}

TEST(ToolModelUsage, BadArgumentsAndUnreadableInputsExitWithTwo) {
  MemoFolder f;
  const std::string cases[] = {
      "dump",
      "dump /nonexistent/work.mxa",
      "dump " + q(fixture("golden.mxa")) + " extra",
      "dump " + q(f.dir.write("x.txt", "text")),
      "dump " + q(f.dir.write("short.mxa", "<File><Holder name=\"x\"></Holder></File>")),
      "convert " + q(f.mxa),
      "convert " + q(f.mxa) + " " + q(f.dir.file("x.txt")),
      "convert " + q(f.mxa) + " " + q(f.dir.file("x.mxh")),
      "convert " + q(f.mxa) + " " + q(f.dir.file("y.mxa")) + " --time 2024",
      "convert " + q(f.mxa) + " " + q(f.dir.file("y.mxa")) + " --seed x",
      "unpack " + q(f.mxa),
  };
  for (const std::string& args : cases) {
    SCOPED_TRACE(args);
    EXPECT_EQ(runTool(args).status, 2);
  }
  EXPECT_FALSE(fs::exists(f.dir.file("y.mxa")));
}

}  // namespace
}  // namespace vrk
