// Files cut short (a copy that stopped, a full disk): every cut of a holder
// file, a memo file and a package either reads as the whole file does, or is
// reported and never written over as if it were whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <vector>

#include "model/HolderFileIO.h"
#include "model/MemoPackage.h"
#include "model/ModelTestSupport.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/TContent.h"
#include "text/Basic.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

namespace fs = std::filesystem;
using modeltest::FixedServices;
using modeltest::readFile;
using modeltest::ScratchDir;

std::string fixture(std::string_view path) {
  return std::string(VRK_FIXTURES) + "/" + std::string(path);
}

bool mentions(const StringList& lines, std::string_view text) {
  for (const std::string& line : lines)
    if (line.find(text) != std::string::npos) return true;
  return false;
}

// A new file each time: rewriting one in place makes some file systems flush
// it at every close, which would slow the thousands of cuts down.
std::string writeNew(const ScratchDir& dir, const std::string& name, std::string_view bytes) {
  fs::remove(dir.file(name));
  return dir.write(name, bytes);
}

// The holder as read and written again, or why it did not read.
struct HolderRead {
  int code;
  std::string text;
  StringList errors;
  bool parseFailed;
};

HolderRead readHolder(const std::string& path) {
  TObjectParent list;
  auto made = std::make_unique<MemoHolder>(&list);
  MemoHolder& holder = *made;
  list.addChild_(std::move(made), "Ideas");
  HolderRead read{0, {}, {}, false};
  read.code = readHolderFile_(holder, path, read.errors);
  read.parseFailed = holder.flagParseFailed;
  if (read.code == 0) {
    StringList lines;
    holder.writeFile_(lines);
    read.text = linesToBytes_(lines);
  } else {
    EXPECT_EQ(holder.saveFile_(path), -2);  // never written over
  }
  return read;
}

// Plain and compressed: after the Holder start tag a cut says that the file
// ends early; only a cut after "</Holder>" (before the line end) reads whole.
TEST(CutHolderFile, EveryCutReadsWholeOrIsReportedAndKept) {
  FixedServices services;
  ScratchDir dir;
  const std::string golden = readFile(fixture("holder/golden.mxh"));
  std::string packed;
  ASSERT_EQ(deflateBytes_(golden, packed), 0);
  const std::size_t afterStartTag = golden.find('>', golden.find("<Holder ")) + 1;
  struct Framing {
    const char* name;
    std::string bytes;
    bool plain;
    int wholeCuts;  // plain: after "</Holder>" and "</Holder>\r"
  };
  for (const Framing& framing :
       {Framing{"plain", golden, true, 2}, Framing{"zlib", packed, false, 0}}) {
    SCOPED_TRACE(framing.name);
    const std::string full = dir.write("full.mxh", framing.bytes);
    const HolderRead expected = readHolder(full);
    ASSERT_EQ(expected.code, 0);
    int whole = 0;
    for (std::size_t size = 0; size < framing.bytes.size(); ++size) {
      SCOPED_TRACE(size);
      const std::string prefix = framing.bytes.substr(0, size);
      const std::string path = writeNew(dir, "cut.mxh", prefix);
      const HolderRead read = readHolder(path);
      if (read.code == 0) {
        ++whole;
        EXPECT_EQ(read.text, expected.text);
        continue;
      }
      EXPECT_TRUE(read.parseFailed);
      EXPECT_EQ(readFile(path), prefix);
      if (framing.plain && size >= afterStartTag) {
        EXPECT_TRUE(mentions(read.errors,
                             "incomplete: the file ends early, before its </Holder>: " + path));
      } else {
        EXPECT_FALSE(read.errors.empty());
      }
    }
    EXPECT_EQ(whole, framing.wholeCuts);
  }
}

struct MemoFileRead {
  int code;
  StringList holders, fields, memo, errors;
  std::string incompleteFile;
};

MemoFileRead readMemo(const std::string& path) {
  MemoFile file;
  MemoFileRead read{0, {}, {}, {}, {}, {}};
  read.code = readMemoFile_(file, path, read.errors);
  for (int i = 0; i < file.countOfHolders(); ++i)
    read.holders.push_back(file.holderAt_(i)->getName());
  read.fields = file.aFields;
  read.memo = file.aMemo;
  read.incompleteFile = file.incompleteFile;
  if (read.code == 0 && !read.incompleteFile.empty()) {
    StringList log;
    EXPECT_EQ(file.saveAs_(path, log), -2);
    EXPECT_TRUE(mentions(log, "MemoFile not saved over " + path));
  }
  // A file not understood is not named, so no save lands on it.
  if (read.code != 0) {
    EXPECT_EQ(file.getFilename(), "");
  }
  return read;
}

TEST(CutMemoFile, EveryCutReadsWholeOrIsReportedAndKept) {
  FixedServices services;
  ScratchDir dir;
  const std::string golden = readFile(fixture("memofile/golden.mxa"));
  const std::string fullPath = dir.write("work.mxa", golden);
  const MemoFileRead expected = readMemo(fullPath);
  ASSERT_EQ(expected.code, 0);
  ASSERT_EQ(expected.holders, (StringList{"Ideas", "Archive", "a&b"}));
  int whole = 0;
  for (std::size_t size = 0; size < golden.size(); ++size) {
    SCOPED_TRACE(size);
    const std::string prefix = golden.substr(0, size);
    const std::string path = writeNew(dir, "work.mxa", prefix);
    const MemoFileRead read = readMemo(path);
    EXPECT_EQ(readFile(path), prefix);
    if (read.code == 0 && read.incompleteFile.empty()) {
      ++whole;
      EXPECT_EQ(read.holders, expected.holders);
      EXPECT_EQ(read.fields, expected.fields);
      EXPECT_EQ(read.memo, expected.memo);
      EXPECT_TRUE(read.errors.empty());
      continue;
    }
    if (read.code == 0) {
      EXPECT_EQ(read.incompleteFile, path);
      EXPECT_TRUE(
          mentions(read.errors, "incomplete: the file ends early, before its </File>: " + path));
    }
  }
  EXPECT_EQ(whole, 2);  // "</File>" and "</File>\r"

  // Saved elsewhere, what was read is kept; the cut file itself stays as it is.
  const std::string cut = golden.substr(0, golden.find("  <Holder name=\"a&amp;b\">"));
  dir.write("work.mxa", cut);
  MemoFile file;
  StringList log;
  ASSERT_EQ(readMemoFile_(file, dir.file("work.mxa"), log), 0);
  EXPECT_GT(file.saveAs_(dir.file("rescued.mxa"), log), 0);
  EXPECT_EQ(readFile(dir.file("work.mxa")), cut);
  MemoFile rescued;
  ASSERT_EQ(readMemoFile_(rescued, dir.file("rescued.mxa"), log), 0);
  EXPECT_EQ(rescued.countOfHolders(), 2);
  EXPECT_TRUE(rescued.incompleteFile.empty());
}

// Path and bytes of every file a package unpacked into out.
std::map<std::string, std::string> unpacked(const UnpackedPackage& result, const std::string& out) {
  std::map<std::string, std::string> files;
  for (const std::string& path : result.written) files[path.substr(out.size())] = readFile(path);
  return files;
}

// File name and bytes of every part, in order.
using Parts = std::vector<std::pair<std::string, std::string>>;
Parts partsOf(const TContent& message) {
  Parts parts;
  if (message.aParts) {
    for (const ChildEntry& entry : message.aParts->aChildren) {
      const auto& part = static_cast<const TContent&>(*entry.object);
      parts.emplace_back(part.fileName, part.aData.value_or(""));
    }
  }
  return parts;
}

// A package made by the program's own writer. Its MIME text is cut at every
// byte: what is read holds only parts that a delimiter ended, and says it
// ends early unless the closing delimiter is there. Each kind of outcome is
// also unpacked (the cut compressed whole again, so the cut is the
// message's): only whole parts become files, the rest is reported. Its
// compressed bytes are unpacked at every cut.
TEST(CutPackage, EveryCutReadsWholeOrIsReportedWithOnlyWholeParts) {
  FixedServices services;
  ScratchDir dir;
  fs::copy_file(fixture("memofile/golden.mxa"), dir.file("work.mxa"));
  fs::copy_file(fixture("memofile/Ideas.mxh"), dir.file("Ideas.mxh"));
  std::string archive;
  ASSERT_EQ(deflateBytes_(
                replaceAll_(readFile(fixture("memofile/Ideas.mxh")), "\"Ideas\"", "\"Archive\""),
                archive),
            0);
  dir.write("Archive.mhz", archive);
  MemoFile file;
  StringList log;
  ASSERT_EQ(readMemoFile_(file, dir.file("work.mxa"), log), 0);
  ASSERT_GT(file.writePackage_(dir.file("work.maz"), log), 0);
  const std::string packed = readFile(dir.file("work.maz"));
  std::string text;
  ASSERT_EQ(inflateBytes_(packed, text), 0);

  const auto parse = [](std::string_view bytes, TContent& message) {
    StringList lines;
    bytesToLines_(bytes, lines);
    message.parseMIME_(lines);
  };
  TContent full;
  parse(text, full);
  const Parts all = partsOf(full);
  ASSERT_EQ(all.size(), 3u);  // the memo file, Ideas, Archive (a&b has no file)
  ASSERT_FALSE(full.flagEndsEarly);
  const std::string out = dir.file("out");
  UnpackedPackage result;
  ASSERT_EQ(unpackPackage_(dir.file("work.maz"), out, nullptr, result), 0);
  const std::map<std::string, std::string> expected = unpacked(result, out);
  ASSERT_EQ(expected.size(), 3u);

  // Unpacks bytes: 0 with every file, or reported with whole files only.
  const auto unpack = [&](const std::string& bytes) {
    fs::remove_all(out);
    std::string error;
    const int code = unpackPackage_(writeNew(dir, "cut.maz", bytes), out, nullptr, result, &error);
    const std::map<std::string, std::string> files = unpacked(result, out);
    if (code == 0) {
      EXPECT_EQ(files, expected);
      return code;
    }
    EXPECT_TRUE(code == -1 || code == -3) << code;
    EXPECT_FALSE(error.empty());
    if (code == -3) {
      EXPECT_NE(error.find("incomplete: the package ends early"), std::string::npos) << error;
    }
    for (const auto& [name, content] : files) {
      SCOPED_TRACE(name);
      EXPECT_EQ(content, expected.contains(name) ? expected.at(name) : "(no such file)");
    }
    return code;
  };

  int whole = 0;
  std::pair<std::size_t, bool> previous{99, false};
  int unpacks = 0;
  for (std::size_t size = 0; size < text.size(); ++size) {
    SCOPED_TRACE(size);
    TContent message;
    parse(text.substr(0, size), message);
    const Parts parts = partsOf(message);
    ASSERT_LE(parts.size(), all.size());
    EXPECT_TRUE(std::equal(parts.begin(), parts.end(), all.begin()));
    const bool read = parts == all && !message.flagEndsEarly;
    if (read) ++whole;
    const std::pair<std::size_t, bool> outcome{parts.size(), message.flagEndsEarly};
    if (outcome == previous) continue;
    previous = outcome;
    std::string bytes;
    ASSERT_EQ(deflateBytes_(text.substr(0, size), bytes), 0);
    EXPECT_EQ(unpack(bytes) == 0, read);
    ++unpacks;
  }
  EXPECT_EQ(whole, 2);    // after "--B--" and "--B--\r"
  EXPECT_GE(unpacks, 6);  // no message yet; none, one, two, three whole parts; the whole

  for (std::size_t size = 0; size < packed.size(); ++size) {
    SCOPED_TRACE(size);
    EXPECT_EQ(unpack(packed.substr(0, size)), -1);  // the zlib stream ends early
  }
}

}  // namespace
}  // namespace vrk
