#pragma once
// The desktop's side of the program for the user: the memo file types
// (".mxa", ".maz") as a shared-mime-info package, the program as a `.desktop`
// entry that opens them by default, and a launcher on the desktop. Written by
// hand into the user's data folder, then the desktop's own tools
// (update-mime-database, update-desktop-database, xdg-mime) are run through
// the process port. Paths here are UTF-8, as the operating system takes them.
#include <string>
#include <string_view>

#include "platform/WindowPorts.h"

namespace vrk {

// Where the files go.
struct DesktopPlaces {
  std::string dataHome;    // $XDG_DATA_HOME, else $HOME/.local/share
  std::string configHome;  // $XDG_CONFIG_HOME, else $HOME/.config (mimeapps.list)
  std::string desktopDir;  // the user's desktop folder
};

// From the environment; the desktop folder from xdg-user-dir when it answers,
// else $HOME/Desktop.
DesktopPlaces desktopPlacesFromEnvironment_(ProcessRunner& runner);

class DesktopIntegration {
 public:
  static constexpr std::string_view kMemoFileType = "application/x-vrk-memofile";
  static constexpr std::string_view kPackageType = "application/x-vrk-package";
  static constexpr std::string_view kEntryName = "vrk.desktop";
  static constexpr std::string_view kPackageName = "vrk.xml";

  DesktopIntegration(ProcessRunner& runner, DesktopPlaces places)
      : runner_(runner), places_(std::move(places)) {}

  // The mime package and the entry, the databases updated, the entry the
  // default for both types. 0, or -1 with the step that failed in *why.
  int associate_(const std::string& programPath, std::string* why);
  // The mime package and the entry removed, the defaults dropped from
  // mimeapps.list, the databases updated. 0, or -1.
  int unassociate(std::string* why);
  // A launcher on the desktop named after the program, started in the
  // program's folder; its path in *made. 0, or -1.
  int makeShortcut_(const std::string& programPath, std::string* made, std::string* why);

  static std::string mimePackageText();
  // The entry of the program; with workingDir, a launcher started there.
  static std::string desktopEntryText_(const std::string& programPath,
                                       const std::string& workingDir = {});
  // The program as the first word of an Exec key: quoted, with the
  // characters the key reserves escaped.
  static std::string execQuoted_(std::string_view programPath);

  const DesktopPlaces& places() const { return places_; }

 private:
  int run_(const std::string& program, const StringList& arguments, std::string* why);
  int updateDatabases_(std::string* why);

  ProcessRunner& runner_;
  DesktopPlaces places_;
};

}  // namespace vrk
