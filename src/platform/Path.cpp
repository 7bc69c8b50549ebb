#include "platform/Path.h"

#include <filesystem>
#include <vector>

#include "platform/SjisBridge.h"
#include "text/CharEX.h"

namespace vrk {
namespace {

bool isDriveAt(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// Position after the last separator (or drive colon): the start of the name.
std::size_t nameStart(std::string_view path) {
  std::size_t start = isDriveAt(path) ? 2 : 0;
  for (std::size_t i = 0; i < path.size(); i += charLengthAt(path, i))
    if (path[i] == '\\' || path[i] == '/') start = i + 1;
  return start;
}

}  // namespace

bool isPathSeparatorAt(std::string_view path, std::size_t i) {
  if (i >= path.size() || (path[i] != '\\' && path[i] != '/')) return false;
  // Walk from the start: only a byte on a character boundary is a separator.
  std::size_t pos = 0;
  while (pos < i) pos += charLengthAt(path, pos);
  return pos == i;
}

bool isAbsolutePath_(std::string_view path) {
  return (!path.empty() && (path[0] == '/' || path[0] == '\\')) || isDriveAt(path);
}

std::string normalizePath_(std::string_view path) {
  if (startsWithText_(path, "file://")) {
    path.remove_prefix(7);
    if (startsWithText_(path, "localhost/")) path.remove_prefix(9);
  }
  std::string out;
  out.reserve(path.size());
  for (std::size_t i = 0; i < path.size();) {
    const std::size_t n = charLengthAt(path, i);
    if (n == 1 && path[i] == '\\')
      out += '/';
    else
      out.append(path.substr(i, n));
    i += n;
  }
  return out;
}

std::string extractFileName_(std::string_view path) {
  return std::string(path.substr(nameStart(path)));
}

std::string extractFilePath_(std::string_view path) {
  return std::string(path.substr(0, nameStart(path)));
}

std::string extractFileExt_(std::string_view path) {
  const std::string name = extractFileName_(path);
  const std::size_t dot = findLastCharOf_(name, ".");
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string changeFileExt_(std::string_view path, std::string_view extension) {
  const std::size_t start = nameStart(path);
  const std::size_t dot = findLastCharOf_(path.substr(start), ".");
  std::string out(path.substr(0, dot == std::string::npos ? path.size() : start + dot));
  out += extension;
  return out;
}

std::string joinPath_(std::string_view base, std::string_view name) {
  if (base.empty() || isAbsolutePath_(name)) return normalizePath_(name);
  std::string out = normalizePath_(base);
  if (out.back() != '/') out += '/';
  out += normalizePath_(name);
  return out;
}

std::string expandFileName_(std::string_view path, std::string_view directory) {
  std::string joined = joinPath_(directory, path);
  std::string prefix;
  std::string_view rest = joined;
  if (isDriveAt(rest)) {
    prefix = std::string(rest.substr(0, 2));
    rest.remove_prefix(2);
  }
  const bool absolute = !rest.empty() && rest[0] == '/';
  std::vector<std::string_view> steps;
  std::size_t pos = 0;
  while (pos <= rest.size()) {
    std::size_t next = rest.find('/', pos);  // separators are "/" after normalizing
    if (next == std::string_view::npos) next = rest.size();
    const std::string_view step = rest.substr(pos, next - pos);
    if (step == "..") {
      if (!steps.empty() && steps.back() != "..")
        steps.pop_back();
      else if (!absolute)
        steps.push_back(step);
    } else if (!step.empty() && step != ".") {
      steps.push_back(step);
    }
    pos = next + 1;
  }
  std::string out = prefix;
  if (absolute) out += '/';
  for (std::size_t i = 0; i < steps.size(); ++i) {
    if (i) out += '/';
    out += steps[i];
  }
  return out.empty() ? std::string(1, '.') : out;
}

std::string currentDirectory_() {
  std::error_code ec;
  const std::string cwd = fromOsPath_(std::filesystem::current_path(ec).string()).value_or("/");
  return cwd.ends_with('/') ? cwd : cwd + "/";
}

std::optional<std::string> toOsPath_(std::string_view path) {
  return sjisToUtf8Strict(normalizePath_(path));
}

std::optional<std::string> fromOsPath_(std::string_view utf8Path) { return utf8ToSjis(utf8Path); }

namespace {

template <typename Test>
bool osPathIs(std::string_view path, Test test) {
  const std::optional<std::string> os = toOsPath_(path);
  std::error_code ec;
  return os && !os->empty() && test(std::filesystem::path(*os), ec);
}

}  // namespace

bool pathExists_(std::string_view path) {
  return osPathIs(path, [](const auto& p, auto& ec) { return std::filesystem::exists(p, ec); });
}

bool isFile_(std::string_view path) {
  return osPathIs(path,
                  [](const auto& p, auto& ec) { return std::filesystem::is_regular_file(p, ec); });
}

bool isDirectory_(std::string_view path) {
  return osPathIs(path,
                  [](const auto& p, auto& ec) { return std::filesystem::is_directory(p, ec); });
}

std::string fileKey_(std::string_view path) {
  const std::string expanded = expandFileName_(path, currentDirectory_());
  const std::optional<std::string> os = toOsPath_(expanded);
  if (!os || !expanded.starts_with('/')) return "stored:" + expanded;
  std::error_code ec;
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(*os, ec);
  return ec ? "stored:" + expanded : "os:" + resolved.string();
}

bool isSameFile_(std::string_view a, std::string_view b) { return fileKey_(a) == fileKey_(b); }

}  // namespace vrk
