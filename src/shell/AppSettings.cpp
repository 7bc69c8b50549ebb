#include "shell/AppSettings.h"

#include <unistd.h>

#include <charconv>
#include <cstdlib>

#include "platform/Path.h"
#include "text/CharEX.h"

namespace vrk {
namespace {

std::string withSeparator(std::string dir) {
  if (!dir.empty() && !isPathSeparatorAt(dir, dir.size() - 1)) dir += '/';
  return dir;
}

}  // namespace

std::string AppSettings::getTempDir() const {
  if (!tempDir.empty()) return withSeparator(normalizePath_(tempDir));
  // The fallback must take files: a $TMPDIR that cannot is passed over.
  const char* env = std::getenv("TMPDIR");
  if (env && *env && ::access(env, W_OK | X_OK) == 0) {
    if (const std::optional<std::string> stored = fromOsPath_(env)) return withSeparator(*stored);
  }
  return "/tmp/";
}

void AppSettings::putTempDir_(std::string_view dir) { tempDir = trim_(dir); }

int AppSettings::getAutoSaveTime() const {
  const std::string text = trim_(autoSaveTimeText);
  int seconds = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
  if (error != std::errc() || end != text.data() + text.size() || seconds < 0) return 0;
  return seconds;
}

void AppSettings::putAutoSaveTime_(int seconds) { autoSaveTimeText = std::to_string(seconds); }

}  // namespace vrk
