#pragma once
// The program-wide settings the application property dialog edits: the
// temporary directory, the drag-and-drop mode and the auto-save interval.
// They are kept as the dialog shows them (the interval as entered text).
#include <string>
#include <string_view>

namespace vrk {

enum class DropMode { Open = 0, String = 1, ExtractFileName = 2 };

class AppSettings {
 public:
  // The TempDir setting, trimmed; empty when unset.
  std::string tempDir;
  DropMode dropMode = DropMode::Open;
  std::string autoSaveTimeText = "0";
  // The folder beside the program (stored path ending in "/"): the program's
  // own when writable, else the per-user configuration folder. The ini file,
  // default pictures and pages are looked for here.
  std::string programDir;

  // The TempDir setting, else $TMPDIR when it is a writable folder, else
  // "/tmp/"; ends in "/".
  std::string getTempDir() const;
  void putTempDir_(std::string_view dir);
  // Seconds; text that is not a number, or a negative one, gives 0.
  int getAutoSaveTime() const;
  void putAutoSaveTime_(int seconds);
};

}  // namespace vrk
