#pragma once
// Start-up: the settings file beside the program, the about window as a
// splash, the start-up file, and the guard that ends the process when an
// exception escapes the message loop.
#include <QStringList>
#include <functional>
#include <memory>
#include <string>

namespace vrk {

class Prompter;
class TFormMainBaseVRK;
struct Services;

// The settings loader; it keeps nothing.
class TAPLInitialer {
 public:
  // "Launch " and the command line into the log (time-stamped), then the
  // settings file.
  void launch_(TFormMainBaseVRK* form, const std::string& commandLine, Prompter& prompter);
};

// The settings file's stored path: beside the program, named as the program
// with ".ini".
std::string iniFilePath_(const std::string& besideDir);

// Reads the settings file into the window (font, bounds, lock, default file,
// temporary directory, auto save, the about window). 0; -1 without a window
// (the message "SYSTEM ERROR: aForm = nil in _loadINIFile_").
int _loadINIFile_(TFormMainBaseVRK* form, Prompter& prompter);

// The process's command line as one text, as openArg1 splits it: the
// program path (quoted when it holds a blank) and the arguments joined by
// blanks. Stored (Shift_JIS) text; a name it cannot hold is left out.
std::string commandLineOf_(const QStringList& arguments);

// Runs action; an exception it lets out is shown as "ERROR Top Level vrk17".
// False when that happened.
bool runGuarded_(const std::function<void()>& action, Prompter& prompter);

// Makes the program's main window, its last level, over the ports. The last
// levels sit above this folder, so the program hands their maker in.
using MainWindowMaker = std::function<std::unique_ptr<TFormMainBaseVRK>(const Services&)>;

// The whole program: the start-up sequence, then the message loop.
int runVrk(int argc, char** argv, const MainWindowMaker& makeWindow);

}  // namespace vrk
