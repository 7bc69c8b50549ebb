#include "model/MemoPackage.h"

#include <filesystem>
#include <optional>
#include <unordered_set>
#include <utility>

#include "model/TContent.h"
#include "platform/Path.h"
#include "text/Basic.h"
#include "text/CharEX.h"
#include "text/FileIO.h"

namespace vrk {
namespace {

namespace fs = std::filesystem;

int fail(std::string* error, std::string message, int code) {
  if (error) *error = std::move(message);
  return code;
}

// The lines of the package's MIME text: the bare or prefixed zlib stream, or
// the text itself when it is not compressed at all.
bool packageLines(const std::string& bytes, StringList& lines, std::string& why) {
  if (inflateLines_(bytes, lines, &why) == 0) return true;
  bytesToLines_(bytes, lines);
  return false;
}

// Holder files named ".mhz" are read as compressed by older readers.
int partBytes(const std::string& name, const std::string& data, std::string& out) {
  const ByteSink discard = [](std::string_view) { return 0; };
  if (lowerCase_(extractFileExt_(name)) != ".mhz" || inflateTo_(data, discard) == 0) {
    out = data;
    return 0;
  }
  return deflateBytes_(data, out);
}

}  // namespace

std::string safePartName_(std::string_view name) {
  std::string base = trim_(extractFileName_(trim_(name)));
  for (const char c : base)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return {};
  return base == "." || base == ".." ? std::string() : base;
}

int unpackPackage_(const std::string& packagePath, const std::string& folder,
                   const MayOverwrite& mayOverwrite, UnpackedPackage& result, std::string* error,
                   UnpackSync sync) {
  result = UnpackedPackage{};
  const std::optional<std::string> osPackage = toOsPath_(packagePath);
  const std::optional<std::string> osFolder = toOsPath_(folder);
  if (!osPackage || !osFolder) return fail(error, "unusable path: " + packagePath, -1);
  std::string bytes, why;
  if (readFileBytes_(*osPackage, bytes, &why) != 0) return fail(error, why, -1);
  StringList lines;
  const bool inflated = packageLines(bytes, lines, why);
  std::string().swap(bytes);
  TContent package;
  package.parseMIME_(lines);
  const std::string cut =
      "incomplete: the package ends early, before its closing delimiter: " + packagePath;
  if (!package.aParts || package.aParts->aChildren.empty()) {
    if (inflated && package.flagEndsEarly) return fail(error, cut, -1);
    return fail(error, packagePath + ": " + (inflated ? "no parts in the package" : why), -1);
  }

  std::error_code ec;
  fs::create_directories(*osFolder, ec);
  const Durability durability =
      sync == UnpackSync::EachPart ? Durability::Synced : Durability::Deferred;
  if (sync == UnpackSync::AtEnd) {
    // Deferred writes do not look for leftovers of killed writers: once here.
    std::unordered_set<std::string> names;
    for (const ChildEntry& entry : package.aParts->aChildren) {
      const std::string name = safePartName_(static_cast<const TContent&>(*entry.object).fileName);
      if (const std::optional<std::string> os = toOsPath_(name); os && !name.empty())
        names.insert(*os);
    }
    removeStaleTemporaries_(*osFolder, names);
  }
  bool first = true;
  for (const ChildEntry& entry : package.aParts->aChildren) {
    const auto& part = static_cast<const TContent&>(*entry.object);
    const bool isMemoFile = std::exchange(first, false);
    if (trim_(part.fileName).empty()) continue;
    const std::string name = safePartName_(part.fileName);
    if (name.empty()) {
      result.refused.push_back(part.fileName);
      continue;
    }
    const std::string path = joinPath_(folder, name);
    const std::optional<std::string> osPath = toOsPath_(path);
    if (!osPath) return fail(error, "unusable file name: " + path, -2);
    if (isMemoFile) result.memoFilePath = path;
    // A dangling link counts as a file too: writing through it would leave the folder.
    const bool taken = fs::symlink_status(*osPath, ec).type() != fs::file_type::not_found;
    if (taken && !(mayOverwrite && mayOverwrite(path))) {
      result.kept.push_back(path);
      continue;
    }
    std::string data;
    if (partBytes(name, part.aData.value_or(std::string()), data) != 0)
      return fail(error, "cannot compress " + path, -2);
    if (writeFileAtomic_(*osPath, data, &why, durability) != 0) return fail(error, why, -2);
    result.written.push_back(path);
  }
  if (sync == UnpackSync::AtEnd && !result.written.empty() &&
      syncFileSystem_(*osFolder, &why) != 0) {
    return fail(error, why, -2);
  }
  // The parts a delimiter ended are whole and written; the cut one is not.
  return package.flagEndsEarly ? fail(error, cut, -3) : 0;
}

}  // namespace vrk
