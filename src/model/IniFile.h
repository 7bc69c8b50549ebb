#pragma once
// The settings file beside the program: flat "key=value" lines of Shift_JIS
// text, no sections. A key matches the part of a line before its first "="
// with letter case ignored, the first matching line wins, and the value is
// everything after that "=". Lines without "=" (headers, comments) are
// skipped. Reading never fails: a bad number reads as 0 and the key's lower
// bound applies.
#include <optional>
#include <string>
#include <string_view>

#include "text/StringList.h"

namespace vrk {

// The raw value of the first line named key (letter case ignored), nullopt
// when no line is.
std::optional<std::string> iniRawValue_(const StringList& lines, std::string_view key);
// The usual form of a value: trimmed, then a leading double quote removed and,
// after it, a trailing one.
std::string iniText_(std::string_view raw);
// A decimal integer with an optional sign; anything else (also a number out
// of range) reads as 0.
int iniInteger_(std::string_view text);

// What the file sets, after the bounds of each key. Unset optionals leave the
// window's own values alone.
struct IniSettings {
  std::optional<std::string> tempDir;  // as written; empty when absent or empty
  std::optional<std::string> fontName;
  std::optional<int> fontSize;    // at least 5
  std::optional<int> formWidth;   // at least 300
  std::optional<int> formHeight;  // at least 300
  std::optional<int> formTop;     // at least 0; set makes the placement explicit
  std::optional<int> formLeft;    // at least 0
  bool flagFileLock = false;      // the raw value is exactly "\"true\""
  std::string defaultOpenFile;
  int periodShowAbout = 3000;  // ms; 500 or less gives 2000
  std::optional<std::string> aboutImage;
  bool flagShowAbout = true;  // the trimmed value is empty or exactly "\"true\""
  int autoSaveTime = 0;       // seconds; below 1 gives 0
};

IniSettings parseIniSettings_(const StringList& lines);

// The checks against the file system that applying needs, for a stored path.
struct IniFileSystem {
  virtual ~IniFileSystem() = default;
  virtual bool isWritableDirectory(const std::string& path) const = 0;
  virtual bool isFile(const std::string& path) const = 0;
};
// The real file system (stored paths converted for the operating system).
const IniFileSystem& realFileSystem_();

// What applying the settings leaves for the window: TempDir only when it is
// an existing writable folder (else the log line and the fallback), the
// about image only when the file exists.
struct IniApplied {
  IniSettings settings;
  std::string tempDir;     // empty: the fallback temporary directory
  std::string aboutImage;  // empty: keep the picture chosen before
  StringList log;          // lines for the window's log
};

IniApplied applyIniSettings_(const StringList& lines, const IniFileSystem& fs = realFileSystem_());

// "Beside the program": the override folder when given, else the program's
// own folder when it is writable, else the per-user configuration folder
// ($XDG_CONFIG_HOME/vrk/, else ~/.config/vrk/). Stored paths ending in "/".
std::string besideProgramDir_(std::string_view programDir, std::string_view overrideDir,
                              const IniFileSystem& fs = realFileSystem_());
// The same, with the override taken from $VRK_PROGRAM_DIR.
std::string besideProgramDir_(std::string_view programDir);

}  // namespace vrk
