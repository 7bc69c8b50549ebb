// vrk-tool dump, convert and unpack on memo files, packages and holders.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "model/ModelTestSupport.h"
#include "text/Basic.h"
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

// The exit code of a command that ran but could not read or write something.
constexpr int kIncomplete = 1;

json dump(const std::string& path, int status = 0) {
  const ToolRun run = runTool("dump " + q(path));
  EXPECT_EQ(run.status, status) << path;
  return run.status == status ? json::parse(run.out) : json();
}

// work.mxa with Ideas.mxh beside it; Archive and a&b have no file, so what
// reads it is incomplete.
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
  const json doc = dump(f.mxa, kIncomplete);
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
  ASSERT_EQ(runTool("convert " + q(f.mxa) + " " + q(maz) + kFixed).status, kIncomplete);
  const std::string first = readFile(maz);
  ASSERT_EQ(runTool("convert " + q(f.mxa) + " " + q(maz) + kFixed).status, kIncomplete);
  EXPECT_EQ(readFile(maz), first);
  ASSERT_EQ(
      runTool("convert " + q(f.mxa) + " " + q(maz) + " --time 20241208101010123 --seed 8").status,
      kIncomplete);
  EXPECT_NE(readFile(maz), first);  // the boundary's random digits

  const json original = dump(f.mxa, kIncomplete);
  const json packed = dump(maz, kIncomplete);
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
  ASSERT_EQ(runTool("convert " + q(f.mxa) + " " + q(maz) + kFixed).status, kIncomplete);
  fs::create_directory(f.dir.file("out"));
  const std::string out = f.dir.file("out/copy.mxa");
  const ToolRun run = runTool("convert " + q(maz) + " " + q(out) + kFixed);
  ASSERT_EQ(run.status, kIncomplete) << run.err;
  // The memo file names its holders: it comes last. Holders whose files were
  // missing have no part in the package and stay missing.
  EXPECT_EQ(json::parse(run.out)["written"], json::array({f.dir.file("out/Ideas.mxh"), out}));
  const json copy = dump(out, kIncomplete);
  EXPECT_EQ(copy["name"], "copy");
  EXPECT_EQ(copy["holders"][0]["nodes"], dump(f.mxa, kIncomplete)["holders"][0]["nodes"]);
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
  ASSERT_EQ(runTool("convert " + q(f.mxa) + " " + q(maz) + kFixed).status, kIncomplete);
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
    const json doc = dump(c.input, kIncomplete);
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
  ASSERT_EQ(run.status, kIncomplete);
  EXPECT_EQ(json::parse(run.out)["errors"],
            json::array({"Half characters dropped on save: MemoHolder \"h\", MemoNode \"n\""}));
  EXPECT_EQ(dump(dir.file("out.mxh"))["nodes"][0]["memo"], json::array({"ab"}));
}

TEST(ToolUnpack, WritesThePartsOnceAndKeepsExistingFiles) {
  MemoFolder f;
  const std::string maz = f.dir.file("work.maz");
  ASSERT_EQ(runTool("convert " + q(f.mxa) + " " + q(maz) + kFixed).status, kIncomplete);
  const std::string out = f.dir.file("out");
  ToolRun run = runTool("unpack " + q(maz) + " " + q(out));
  ASSERT_EQ(run.status, 0) << run.err;
  const json parts = json::parse(run.out);
  EXPECT_EQ(parts["memofile"], out + "/work.mxa");
  EXPECT_EQ(parts["written"].size(), 2u);  // the memo file and Ideas; the others have no file
  EXPECT_TRUE(parts["errors"].empty());
  EXPECT_EQ(dump(out + "/work.mxa", kIncomplete)["holders"][0]["nodes"],
            dump(f.mxa, kIncomplete)["holders"][0]["nodes"]);

  // What is kept is not what the package holds: the run is incomplete.
  f.dir.write("out/Ideas.mxh", "mine");
  run = runTool("unpack " + q(maz) + " " + q(out));
  ASSERT_EQ(run.status, kIncomplete);
  EXPECT_TRUE(json::parse(run.out)["written"].empty());
  EXPECT_EQ(json::parse(run.out)["kept"].size(), 2u);
  EXPECT_EQ(json::parse(run.out)["errors"][1],
            "not replaced, the file exists: " + out + "/Ideas.mxh");
  EXPECT_NE(run.err.find("not replaced, the file exists: " + out + "/Ideas.mxh"),
            std::string::npos);
  EXPECT_EQ(readFile(out + "/Ideas.mxh"), "mine");
}

// A failed write says why (the system's error text) on stderr and in the
// errors, and the run counts as incomplete.
TEST(ToolConvert, AFailedWriteNamesItsCause) {
  ScratchDir dir;
  const std::string out = dir.file("missing/Ideas.mxh");
  const ToolRun run = runTool("convert " + q(fixture("Ideas.mxh")) + " " + q(out) + kFixed);
  EXPECT_EQ(run.status, kIncomplete);
  const std::string cause =
      "cannot create a temporary file for " + out + ": " + std::strerror(ENOENT);
  EXPECT_NE(run.err.find(cause), std::string::npos) << run.err;
  EXPECT_EQ(json::parse(run.out)["errors"], json::array({cause}));
}

// Holders first, the memo file last and only when all of them are written:
// it never names a holder file that is not there.
TEST(ToolConvert, AHolderThatCannotBeWrittenKeepsTheMemoFileUnwritten) {
  MemoFolder f;
  fs::copy_file(fixture("Ideas.mxh"), f.dir.file("a&b.mxh"));
  ASSERT_EQ(
      runTool("convert " + q(fixture("Ideas.mxh")) + " " + q(f.dir.file("Archive.mhz")) + kFixed)
          .status,
      0);
  const std::string maz = f.dir.file("work.maz");
  ASSERT_EQ(runTool("convert " + q(f.mxa) + " " + q(maz) + kFixed).status, 0);
  fs::create_directories(f.dir.file("out/Archive.mhz"));  // a folder where the holder goes
  const std::string out = f.dir.file("out/copy.mxa");
  const ToolRun run = runTool("convert " + q(maz) + " " + q(out) + kFixed);
  EXPECT_EQ(run.status, kIncomplete);
  const json result = json::parse(run.out);
  EXPECT_EQ(result["written"],
            json::array({f.dir.file("out/Ideas.mxh"), f.dir.file("out/a&b.mxh")}));
  EXPECT_EQ(
      result["errors"],
      json::array({"cannot replace " + f.dir.file("out/Archive.mhz") + ": " + std::strerror(EISDIR),
                   "not written, 1 of its holders could not be written: " + out}));
  EXPECT_FALSE(fs::exists(out));
}

// 2: the input cannot be opened at all, whatever kind of file it is; 1: it
// was read, but not all of it.
TEST(ToolModelExitCodes, InputsThatCannotBeOpenedAndInputsReadInPart) {
  const std::string broken = "<Holder name=\"Bad\">\r\n<Record name=\"x\">\r\n</Holder>\r\n";
  MemoFolder f;
  const std::string badHolder = f.dir.write("bad.mxh", broken);
  fs::create_directory(f.dir.file("folder.mxa"));
  fs::create_directory(f.dir.file("folder.mxh"));
  MemoFolder withBadHolder;
  withBadHolder.dir.write("Ideas.mxh", broken);
  const std::string out = f.dir.file("out.mxh");
  struct Case {
    std::string args;
    int status;
    std::string err;  // on stderr
  } cases[] = {
      {"dump " + q(f.dir.file("folder.mxa")), 2, std::strerror(EISDIR)},
      {"dump " + q(f.dir.file("folder.mxh")), 2, std::strerror(EISDIR)},
      {"dump " + q(badHolder), kIncomplete, "could not be read: " + badHolder},
      {"convert " + q(badHolder) + " " + q(out), kIncomplete, "could not be read: " + badHolder},
      {"dump " + q(withBadHolder.mxa), kIncomplete, withBadHolder.dir.file("Ideas.mxh")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    const ToolRun run = runTool(c.args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("cannot write"), std::string::npos) << run.err;
  }
  EXPECT_FALSE(fs::exists(out));
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
