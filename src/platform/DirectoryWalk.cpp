#include "platform/DirectoryWalk.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/Path.h"

namespace vrk {
namespace {

namespace fs = std::filesystem;

enum class Kind { File, Directory, LinkedDirectory };

struct Entry {
  std::string stored;  // the listed path
  fs::path os;
  Kind kind = Kind::File;
};

// One directory being walked. Its entries are read whole before any is
// handled, so that a deep tree does not hold a descriptor per level.
struct Frame {
  std::string stored;  // the directory's listed path (empty for the root)
  std::vector<Entry> entries;
  std::size_t next = 0;
};

std::string withSeparator(std::string_view directory) {
  std::string out(directory);
  if (out.empty() || !isPathSeparatorAt(out, out.size() - 1)) out += '/';
  return out;
}

Kind kindOf(const fs::directory_entry& entry) {
  std::error_code ec;
  if (entry.is_symlink(ec)) return entry.is_directory(ec) ? Kind::LinkedDirectory : Kind::File;
  return entry.is_directory(ec) ? Kind::Directory : Kind::File;
}

// The entries of a directory in the file system's order; none when it cannot
// be read.
std::vector<Entry> readEntries(const std::string& storedPrefix, const fs::path& os) {
  std::vector<Entry> entries;
  std::error_code ec;
  fs::directory_iterator it(os, ec);  // "." and ".." are never given
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const std::optional<std::string> name = fromOsPath_(it->path().filename().string());
    if (!name) continue;
    entries.push_back(Entry{storedPrefix + *name, it->path(), kindOf(*it)});
  }
  return entries;
}

std::optional<Frame> rootFrame(std::string_view directory) {
  const std::string prefix = withSeparator(directory);
  const std::optional<std::string> os = toOsPath_(prefix);
  if (!os) return std::nullopt;
  return Frame{{}, readEntries(prefix, *os), 0};
}

// Depth first: a directory is walked when it is met, before the entries
// after it; a linked directory is walked as an empty one. withDirs lists each
// directory after the walk below it, else files are listed.
int walk(StringList& lines, std::string_view directory, const bool& breakFlag,
         const EventPump& pumpEvents, bool withDirs) {
  std::optional<Frame> root = rootFrame(directory);
  if (!root) return 0;
  std::vector<Frame> stack;
  stack.push_back(std::move(*root));
  int count = 0;
  while (!stack.empty()) {
    Frame& frame = stack.back();
    if (frame.next == frame.entries.size()) {
      const std::string finished = std::move(frame.stored);
      stack.pop_back();
      if (stack.empty()) break;
      // Back from a descent: the flag stops every enumeration still open.
      if (breakFlag) break;
      if (withDirs) {
        lines.push_back(finished);
        ++count;
      }
      continue;
    }
    const Entry& entry = frame.entries[frame.next++];
    if (entry.kind == Kind::File) {
      if (!withDirs) {
        lines.push_back(entry.stored);
        ++count;
      }
      continue;
    }
    if (pumpEvents) pumpEvents();
    Frame child{entry.stored, {}, 0};
    if (entry.kind == Kind::Directory) child.entries = readEntries(entry.stored + '/', entry.os);
    stack.push_back(std::move(child));  // `frame` and `entry` are not used after this
  }
  return count;
}

}  // namespace

int listDirFiles_(StringList& lines, std::string_view directory) {
  const std::optional<Frame> root = rootFrame(directory);
  if (!root) return 0;
  int count = 0;
  for (const Entry& entry : root->entries) {
    if (entry.kind != Kind::File) continue;
    lines.push_back(entry.stored);
    ++count;
  }
  return count;
}

int listFiles_(StringList& lines, std::string_view directory, const bool& breakFlag,
               const EventPump& pumpEvents) {
  return walk(lines, directory, breakFlag, pumpEvents, false);
}

int listDirs_(StringList& lines, std::string_view directory, const bool& breakFlag,
              const EventPump& pumpEvents) {
  return walk(lines, directory, breakFlag, pumpEvents, true);
}

}  // namespace vrk
