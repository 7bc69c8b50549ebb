#include "app/tool/ToolGrep.h"

#include <cstdio>
#include <iostream>
#include <optional>

#include "app/tool/ToolCommon.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "platform/Path.h"
#include "platform/SjisBridge.h"
#include "text/CharEX.h"
#include "text/StringEX.h"

namespace vrk::tool {
namespace {

constexpr int kExitNoHit = 1;
constexpr int kExitError = 2;

struct GrepArgs {
  std::string file;
  std::string keyword;  // UTF-8 as given
  bool ignoreCase = false;
  std::optional<std::string> holder;
};

bool parseGrepArgs(const std::vector<std::string>& args, GrepArgs& parsed) {
  std::vector<std::string> plain;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--ignore-case") {
      parsed.ignoreCase = true;
    } else if (args[i] == "--holder") {
      if (++i == args.size()) return false;
      parsed.holder = args[i];
    } else {
      plain.push_back(args[i]);
    }
  }
  if (plain.size() != 2) return false;
  parsed.file = plain[0];
  parsed.keyword = plain[1];
  return true;
}

int fail(const std::string& message) {
  std::fprintf(stderr, "vrk-tool: %s\n", message.c_str());
  return kExitError;
}

// Each hit as the all-holders grep window lists it.
int grepHolder(const MemoHolder& holder, const std::string& keyword, bool ignoreCase) {
  int hits = 0;
  StringList lines;
  for (int i = 0; i < holder.countOfNodes(); ++i) {
    const MemoNode& node = *holder.nodeAt_(i);
    lines.clear();
    node.grepKeyword_(keyword, ignoreCase, lines, true, true, true, true);
    const std::string head = holder.getName() + ":" + node.getName() + ":";
    for (const std::string& line : lines) std::cout << sjisToUtf8(head + line) << '\n';
    hits += static_cast<int>(lines.size());
  }
  return hits;
}

}  // namespace

int runGrep(const std::vector<std::string>& args) {
  GrepArgs parsed;
  if (!parseGrepArgs(args, parsed)) {
    std::fprintf(stderr, "usage: vrk-tool grep MEMOFILE KEYWORD [--ignore-case] [--holder NAME]\n");
    return kExitError;
  }
  const std::optional<std::string> keyword = utf8ToSjis(parsed.keyword);
  if (!keyword) return fail("the keyword has a character Shift_JIS cannot hold");
  if (keyword->empty()) return fail("the keyword is empty");
  std::optional<std::string> holderName;
  if (parsed.holder) {
    holderName = utf8ToSjis(*parsed.holder);
    if (!holderName) return fail("the holder name has a character Shift_JIS cannot hold");
  }
  const std::optional<std::string> path = fromOsPath_(parsed.file);
  if (!path) return fail("cannot name " + parsed.file + " in Shift_JIS");

  MemoFile file;
  StringList errors;
  const std::string ext = lowerCase_(extractFileExt_(*path));
  if (ext == ".mxa" || ext == ".mxv") {
    if (readMemoFile_(file, *path, errors) != 0) {
      for (const std::string& line : errors) fail(sjisToUtf8(line));
      return fail("cannot read the memo file " + parsed.file);
    }
  } else {
    return fail("not a memo file (.mxa, .mxv): " + parsed.file);
  }

  bool failed = false;
  bool holderFound = !holderName;
  int hits = 0;
  for (int i = 0; i < file.countOfHolders(); ++i) {
    MemoHolder& holder = *file.holderAt_(i);
    if (holderName && !sameText_(holder.getName(), *holderName)) continue;
    holderFound = true;
    StringList log;
    if (file.ensureHolderLoaded_(holder, log) != 0 || holder.flagParseFailed) {
      for (const std::string& line : log) fail(sjisToUtf8(line));
      fail(sjisToUtf8("MemoHolder \"" + holder.getName() +
                      "\" could not be read: " + holder.getFileName()));
      failed = true;
      continue;
    }
    hits += grepHolder(holder, *keyword, parsed.ignoreCase);
  }
  std::cout.flush();
  if (!holderFound) return fail("no holder named " + *parsed.holder);
  if (failed) return kExitError;
  return hits > 0 ? 0 : kExitNoHit;
}

}  // namespace vrk::tool
