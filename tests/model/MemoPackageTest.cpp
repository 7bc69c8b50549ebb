// ".maz" packages: writing, checking them with Python's email package, and
// reading packages back (also ones Python built) under safe names.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

#include "model/HolderFileIO.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoPackage.h"
#include "model/ModelTestSupport.h"
#include "model/TContent.h"
#include "text/Basic.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

namespace fs = std::filesystem;
using modeltest::FixedServices;
using modeltest::readFile;
using modeltest::ScratchDir;

std::string fixture(std::string_view name) {
  return std::string(VRK_FIXTURES) + "/memofile/" + std::string(name);
}

bool havePython() {
  static const bool found = std::system("python3 -c 'import email, zlib' >/dev/null 2>&1") == 0;
  return found;
}

// Runs a Python script stored in dir with the arguments; its standard output.
std::string runPython(const ScratchDir& dir, std::string_view script, const std::string& args) {
  const std::string path = dir.write("script.py", script);
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(("python3 " + path + " " + args).c_str(), "r"),
                                             pclose);
  std::string out;
  std::array<char, 4096> buffer;
  while (std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe.get()))
    out.append(buffer.data(), n);
  return out;
}

std::string hex(std::string_view bytes) {
  std::string out;
  char pair[3];
  for (unsigned char c : bytes) {
    std::snprintf(pair, sizeof pair, "%02x", c);
    out += pair;
  }
  return out;
}

constexpr std::string_view kReadPackage = R"(
import email, json, sys, zlib
message = email.message_from_bytes(zlib.decompress(open(sys.argv[1], 'rb').read()))
parts = [p for p in message.walk() if not p.is_multipart()]
print(json.dumps([{'filename': p.get_filename(), 'hex': p.get_payload(decode=True).hex()}
                  for p in parts]))
)";

// work.mxa with the holders Ideas (".mxh"), Archive (".mhz", the same nodes)
// and a&b (no file), packed into work.maz.
struct Packed {
  FixedServices services;
  ScratchDir dir;
  MemoFile file;
  StringList log;
  int size = 0;

  Packed() {
    fs::copy_file(fixture("golden.mxa"), dir.file("work.mxa"));
    fs::copy_file(fixture("Ideas.mxh"), dir.file("Ideas.mxh"));
    std::string archive;
    deflateBytes_(replaceAll_(readFile(fixture("Ideas.mxh")), "\"Ideas\"", "\"Archive\""), archive);
    dir.write("Archive.mhz", archive);
    EXPECT_EQ(readMemoFile_(file, dir.file("work.mxa"), log), 0);
    size = file.writePackage_(dir.file("work.maz"), log);
  }

  std::string holderText(std::string_view name) {
    StringList lines;
    file.findHolder_(name)->writeFile_(lines);
    return linesToBytes_(lines);
  }
};

TEST(PackageWriter, DelimitersAndTheNotLoadedMessage) {
  Packed p;
  std::string text;
  ASSERT_EQ(inflateBytes_(readFile(p.dir.file("work.maz")), text), 0);
  EXPECT_EQ(p.size, static_cast<int>(text.size()));
  EXPECT_EQ(p.services.messages.messages, StringList{"Not Loaded: " + p.dir.file("a&b.mxh")});
  // a&b has no file: it gets no part, so that unpacking makes no empty file for it.
  EXPECT_EQ(p.log, (StringList{"Not Found MemoHolder: " + p.dir.file("a&b.mxh"),
                               "Not packed, not loaded: " + p.dir.file("a&b.mxh")}));
  EXPECT_TRUE(p.file.findHolder_("Ideas")->flagLoaded);  // loaded before packing

  StringList lines;
  bytesToLines_(text, lines);
  // The local time with the month again, then five random digits.
  const std::string prefix = "  boundary=\"2024120810101012";
  const std::string& header = lines.at(2);
  ASSERT_EQ(header.size(), prefix.size() + 6);
  ASSERT_TRUE(header.starts_with(prefix) && header.ends_with("\""));
  const std::string boundary = header.substr(prefix.size() - 16, 21);
  ASSERT_TRUE(allDigits_(boundary));
  StringList delimiters;
  for (const std::string& line : lines)
    if (line.starts_with("--")) delimiters.push_back(line);
  const std::string delimiter = "--" + boundary;
  EXPECT_EQ(delimiters, (StringList{delimiter, delimiter, delimiter, delimiter + "--"}));

  MemoFile empty;
  empty.putFileName_(p.dir.file("empty.mxa"));
  ASSERT_GT(empty.writePackage_(p.dir.file("empty.maz"), p.log), 0);
  ASSERT_EQ(inflateBytes_(readFile(p.dir.file("empty.maz")), text), 0);
  bytesToLines_(text, lines);
  // Closed also without holders: a package without its closing delimiter is a cut one.
  EXPECT_TRUE(lines.back().starts_with("--2024120810101012"));
  EXPECT_TRUE(lines.back().ends_with("--"));
}

TEST(PackageWriter, PythonEmailReadsOnePartPerFileWithItsBytes) {
  if (!havePython()) GTEST_SKIP() << "python3 not available";
  Packed p;
  const auto parts = nlohmann::json::parse(runPython(p.dir, kReadPackage, p.dir.file("work.maz")));
  StringList fileElement;
  p.file._writeTSL_deep_(fileElement, "");
  const std::pair<std::string, std::string> expected[] = {
      {p.dir.file("work.mxa"), linesToBytes_(fileElement)},
      {p.dir.file("Ideas.mxh"), p.holderText("Ideas")},
      {p.dir.file("Archive.mhz"), p.holderText("Archive")},
  };
  ASSERT_EQ(parts.size(), std::size(expected));
  for (std::size_t i = 0; i < parts.size(); ++i) {
    SCOPED_TRACE(expected[i].first);
    EXPECT_EQ(parts[i]["filename"], expected[i].first);
    EXPECT_EQ(parts[i]["hex"], hex(expected[i].second));
  }
}

TEST(PackageReader, OurPackageUnpacksIntoFilesThatOpen) {
  Packed p;
  UnpackedPackage result;
  const std::string out = p.dir.file("out");
  ASSERT_EQ(unpackPackage_(p.dir.file("work.maz"), out, nullptr, result), 0);
  EXPECT_EQ(result.memoFilePath, out + "/work.mxa");
  EXPECT_EQ(result.written,
            (StringList{out + "/work.mxa", out + "/Ideas.mxh", out + "/Archive.mhz"}));
  std::string inflated;  // older readers expect a ".mhz" to be compressed
  EXPECT_EQ(inflateBytes_(readFile(out + "/Archive.mhz"), inflated), 0);

  MemoFile file;
  StringList errors;
  ASSERT_EQ(readMemoFile_(file, result.memoFilePath, errors), 0);
  for (const char* name : {"Ideas", "Archive"}) {
    SCOPED_TRACE(name);
    MemoHolder& holder = *file.findHolder_(name);
    EXPECT_EQ(file.ensureHolderLoaded_(holder, errors), 0);
    EXPECT_EQ(holder.countOfNodes(), p.file.findHolder_(name)->countOfNodes());
  }
  EXPECT_TRUE(errors.empty());
  // Missing before packing, missing after unpacking.
  EXPECT_EQ(file.ensureHolderLoaded_(*file.findHolder_("a&b"), errors), -1);
  EXPECT_EQ(errors, StringList{"Not Found MemoHolder: " + out + "/a&b.mxh"});
}

// Unpacking many files syncs once at the end; the files are the same, and the
// leftovers of a killed unpack, which no single write looks for then, go too.
TEST(PackageReader, SyncedAtTheEndTheSameFilesAndNoLeftovers) {
  Packed p;
  UnpackedPackage each, atEnd;
  ASSERT_EQ(unpackPackage_(p.dir.file("work.maz"), p.dir.file("each"), nullptr, each), 0);
  const pid_t dead = fork();
  if (dead == 0) _exit(0);
  waitpid(dead, nullptr, 0);
  const std::string leftover = ".Ideas.mxh.tmp" + std::to_string(dead) + "-1";
  fs::create_directory(p.dir.file("end"));
  p.dir.write("end/" + leftover, "killed half way");
  ASSERT_EQ(unpackPackage_(p.dir.file("work.maz"), p.dir.file("end"), nullptr, atEnd, nullptr,
                           UnpackSync::AtEnd),
            0);
  ASSERT_EQ(atEnd.written.size(), each.written.size());
  for (std::size_t i = 0; i < each.written.size(); ++i)
    EXPECT_EQ(readFile(atEnd.written[i]), readFile(each.written[i])) << each.written[i];
  EXPECT_FALSE(fs::exists(p.dir.file("end/" + leftover)));
}

constexpr std::string_view kBuildPackage = R"(
import sys, zlib
from email.mime.base import MIMEBase
from email.mime.multipart import MIMEMultipart
from email import encoders
message = MIMEMultipart()
for path, name in [(sys.argv[1], 'C:\\memo\\work.mxa'), (sys.argv[2], 'C:\\memo\\Ideas.mxh')]:
    part = MIMEBase('text', 'xml')
    part.set_payload(open(path, 'rb').read())
    encoders.encode_base64(part)
    part.add_header('Content-Disposition', 'attachment', filename=name)
    message.attach(part)
packed = zlib.compress(message.as_bytes())
open(sys.argv[3], 'wb').write(packed if sys.argv[4] == 'bare' else b'\0\0\0\0' + packed)
)";

TEST(PackageReader, PackagesBuiltByPythonLoadInBothFramings) {
  if (!havePython()) GTEST_SKIP() << "python3 not available";
  FixedServices services;
  for (const char* framing : {"bare", "prefixed"}) {
    SCOPED_TRACE(framing);
    ScratchDir dir;
    runPython(dir, kBuildPackage,
              fixture("golden.mxa") + " " + fixture("Ideas.mxh") + " " + dir.file("p.maz") + " " +
                  framing);
    UnpackedPackage result;
    std::string error;
    ASSERT_EQ(unpackPackage_(dir.file("p.maz"), dir.file("out"), nullptr, result, &error), 0)
        << error;
    EXPECT_EQ(result.written, (StringList{dir.file("out/work.mxa"), dir.file("out/Ideas.mxh")}));

    MemoFile file;
    StringList errors;
    ASSERT_EQ(readMemoFile_(file, result.memoFilePath, errors), 0);
    MemoHolder& ideas = *file.findHolder_("Ideas");
    ASSERT_EQ(file.ensureHolderLoaded_(ideas, errors), 0);
    const MemoNode& bytes = *ideas.findNode_("bytes");
    ASSERT_TRUE(bytes.aContent && bytes.aContent->aData);
    std::string expected;
    for (int i = 0; i < 64; ++i) expected += static_cast<char>(i);
    EXPECT_EQ(*bytes.aContent->aData, expected);
  }
}

TEST(PackageReader, SafePartNames) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"work.mxa", "work.mxa"},
      {"C:\\memo\\Ideas.mxh", "Ideas.mxh"},
      {"../../etc/passwd", "passwd"},
      {"/abs/dir/x.mhz", "x.mhz"},
      {"D:x.mxh", "x.mxh"},
      {"  spaced.mxh  ", "spaced.mxh"},
      {"\x95\x5C.mxh", "\x95\x5C.mxh"},  // 表: its trail byte is no separator
      {"..", ""},
      {".", ""},
      {"dir/", ""},
      {"a\x01"
       "b.mxh",
       ""},
      {"a\x7F"
       "b.mxh",
       ""},
  };
  for (const auto& [name, safe] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(safePartName_(name), safe);
  }
}

// A plain (uncompressed) package with one part per name, each holding its name.
std::string plainPackage(std::initializer_list<std::string_view> names) {
  std::string text =
      "MIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=\"B\"\r\n\r\n--B\r\n";
  for (std::string_view name : names) {
    text += "Content-Type: text/xml\r\nContent-Disposition: attachment;\r\n  filename=\"" +
            std::string(name) + "\"\r\n\r\n" + std::string(name) + "\r\n--B\r\n";
  }
  return text + "--B--\r\n";
}

TEST(PackageReader, PartsStayInsideTheFolderAndReplaceFilesOnlyWhenAllowed) {
  ScratchDir dir;
  const std::string control = std::string("a\x01") + "b";
  const std::string package = dir.write(
      "p.maz", plainPackage({"../work.mxa", "/etc/x.mxh", "..", control, "C:\\x\\y.mxh", "z.mxh"}));
  const std::string out = dir.file("out");
  fs::create_directory(out);
  dir.write("out/x.mxh", "old");
  fs::create_symlink(dir.file("outside.mxh"), out + "/z.mxh");  // dangling

  StringList asked;
  const auto refuse = [&asked](const std::string& path) {
    asked.push_back(path);
    return false;
  };
  UnpackedPackage result;
  ASSERT_EQ(unpackPackage_(package, out, refuse, result), 0);
  EXPECT_EQ(result.memoFilePath, out + "/work.mxa");
  EXPECT_EQ(result.written, (StringList{out + "/work.mxa", out + "/y.mxh"}));
  EXPECT_EQ(result.kept, (StringList{out + "/x.mxh", out + "/z.mxh"}));
  EXPECT_EQ(result.refused, (StringList{"..", control}));
  EXPECT_EQ(asked, result.kept);
  EXPECT_EQ(readFile(out + "/x.mxh"), "old");
  EXPECT_FALSE(fs::exists(dir.file("outside.mxh")));
  EXPECT_EQ(readFile(out + "/work.mxa"), "../work.mxa\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 4);

  const auto agree = [](const std::string&) { return true; };
  ASSERT_EQ(unpackPackage_(package, out, agree, result), 0);
  EXPECT_EQ(readFile(out + "/x.mxh"), "/etc/x.mxh\r\n");
  EXPECT_TRUE(result.kept.empty());

  std::string error;
  EXPECT_EQ(unpackPackage_(dir.write("bad.maz", "\x78\x9c broken"), out, nullptr, result, &error),
            -1);
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace vrk
