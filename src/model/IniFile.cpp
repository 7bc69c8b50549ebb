#include "model/IniFile.h"

#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <filesystem>

#include "platform/Path.h"
#include "text/CharEX.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

class RealFileSystem final : public IniFileSystem {
 public:
  bool isWritableDirectory(const std::string& path) const override {
    const std::optional<std::string> os = toOsPath_(path);
    std::error_code ec;
    return os && std::filesystem::is_directory(*os, ec) && ::access(os->c_str(), W_OK | X_OK) == 0;
  }
  bool isFile(const std::string& path) const override { return isFile_(path); }
};

std::string withSeparator(std::string dir) {
  if (!dir.empty() && !isPathSeparatorAt(dir, dir.size() - 1)) dir += '/';
  return dir;
}

// The usual text of a key, nullopt when absent or empty.
std::optional<std::string> textOf(const StringList& lines, std::string_view key) {
  const std::optional<std::string> raw = iniRawValue_(lines, key);
  if (!raw) return std::nullopt;
  std::string text = iniText_(*raw);
  if (text.empty()) return std::nullopt;
  return text;
}

std::optional<int> integerOf(const StringList& lines, std::string_view key) {
  const std::optional<std::string> text = textOf(lines, key);
  if (!text) return std::nullopt;
  return iniInteger_(*text);
}

}  // namespace

std::optional<std::string> iniRawValue_(const StringList& lines, std::string_view key) {
  for (const std::string& line : lines) {
    const std::size_t equals = line.find('=');  // "=" is never a trail byte
    if (equals == std::string::npos) continue;
    if (sameText_(std::string_view(line).substr(0, equals), key)) return line.substr(equals + 1);
  }
  return std::nullopt;
}

std::string iniText_(std::string_view raw) { return unquote_(trimView_(raw)); }

int iniInteger_(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty() || text.front() == '+') return 0;
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return 0;
  return value;
}

IniSettings parseIniSettings_(const StringList& lines) {
  IniSettings s;
  if (std::optional<std::string> dir = textOf(lines, "TempDir")) s.tempDir = std::move(dir);
  s.fontName = textOf(lines, "FontName");
  if (std::optional<int> size = integerOf(lines, "FontSize")) s.fontSize = std::max(*size, 5);
  if (std::optional<int> w = integerOf(lines, "FormWidth")) s.formWidth = std::max(*w, 300);
  if (std::optional<int> h = integerOf(lines, "FormHeight")) s.formHeight = std::max(*h, 300);
  if (std::optional<int> top = integerOf(lines, "FormTop")) s.formTop = std::max(*top, 0);
  if (std::optional<int> left = integerOf(lines, "FormLeft")) s.formLeft = std::max(*left, 0);
  s.flagFileLock = iniRawValue_(lines, "FlagFileLock") == std::optional<std::string>("\"true\"");
  s.defaultOpenFile = textOf(lines, "DefaultOpenFile").value_or(std::string());
  if (std::optional<int> period = integerOf(lines, "PeriodShowAbout"))
    s.periodShowAbout = *period <= 500 ? 2000 : *period;
  s.aboutImage = textOf(lines, "AboutImage");
  if (std::optional<std::string> raw = iniRawValue_(lines, "FlagShowAbout")) {
    const std::string text = trim_(*raw);
    s.flagShowAbout = text.empty() || text == "\"true\"";
  }
  if (std::optional<int> seconds = integerOf(lines, "AutoSaveTime"))
    s.autoSaveTime = std::max(*seconds, 0);
  return s;
}

const IniFileSystem& realFileSystem_() {
  static const RealFileSystem fs;
  return fs;
}

IniApplied applyIniSettings_(const StringList& lines, const IniFileSystem& fs) {
  IniApplied applied;
  applied.settings = parseIniSettings_(lines);
  const IniSettings& s = applied.settings;
  if (s.tempDir) {
    // A folder that cannot take files is no temporary directory either: the
    // fallback is one that can.
    if (fs.isWritableDirectory(*s.tempDir))
      applied.tempDir = *s.tempDir;
    else
      applied.log.push_back("Not found Temp Directory: " + *s.tempDir);
  }
  if (s.aboutImage && fs.isFile(*s.aboutImage)) applied.aboutImage = *s.aboutImage;
  return applied;
}

std::string besideProgramDir_(std::string_view programDir, std::string_view overrideDir,
                              const IniFileSystem& fs) {
  if (!overrideDir.empty()) return withSeparator(std::string(overrideDir));
  if (!programDir.empty() && fs.isWritableDirectory(std::string(programDir)))
    return withSeparator(std::string(programDir));
  const auto fromEnv = [](const char* name) -> std::string {
    const char* value = std::getenv(name);
    return value && *value ? fromOsPath_(value).value_or(std::string()) : std::string();
  };
  const std::string config = fromEnv("XDG_CONFIG_HOME");
  if (!config.empty()) return withSeparator(config) + "vrk/";
  const std::string home = fromEnv("HOME");
  if (!home.empty()) return withSeparator(home) + ".config/vrk/";
  return withSeparator(std::string(programDir));
}

std::string besideProgramDir_(std::string_view programDir) {
  const char* value = std::getenv("VRK_PROGRAM_DIR");
  const std::string overrideDir =
      value && *value ? fromOsPath_(value).value_or(std::string()) : std::string();
  return besideProgramDir_(programDir, overrideDir);
}

}  // namespace vrk
