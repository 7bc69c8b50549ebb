#include "shell/Startup.h"

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <exception>
#include <filesystem>
#include <memory>

#include "model/IniFile.h"
#include "platform/Path.h"
#include "platform/qt/QtPrompter.h"
#include "platform/qt/QtSjis.h"
#include "shell/Services.h"
#include "shell/TFormAbout.h"
#include "shell/TFormMainBaseVRK.h"
#include "text/Basic.h"
#include "text/CharEX.h"
#include "text/FileIO.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

constexpr int kAboutWithoutIni = 1800;  // ms

// The program file's name without directory and extension ("vrk").
std::string programName() {
  return fromOsPath_(
             QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString())
      .value_or("vrk");
}

// An exception out of an event handler ends the program here, not somewhere
// inside Qt.
class TApplication final : public QApplication {
 public:
  using QApplication::QApplication;
  Prompter* prompter = nullptr;

  bool notify(QObject* receiver, QEvent* event) override {
    if (!prompter) return QApplication::notify(receiver, event);
    bool handled = false;
    const bool ok =
        runGuarded_([&] { handled = QApplication::notify(receiver, event); }, *prompter);
    if (!ok) std::exit(1);
    return handled;
  }
};

}  // namespace

std::string iniFilePath_(const std::string& besideDir) {
  return besideDir + programName() + ".ini";
}

void TAPLInitialer::launch_(TFormMainBaseVRK* form, const std::string& commandLine,
                            Prompter& prompter) {
  if (form) {
    form->addLogDT_("Launch " + commandLine);
    form->repaint();
  }
  _loadINIFile_(form, prompter);
}

int _loadINIFile_(TFormMainBaseVRK* form, Prompter& prompter) {
  if (!form) {
    prompter.inform("SYSTEM ERROR: aForm = nil in _loadINIFile_");
    return -1;
  }
  const std::string base = form->aSettings.programDir + programName();
  TFormAbout* about = form->getFormAbout();
  if (isFile_(base + ".jpg"))
    about->loadImage_(base + ".jpg");
  else if (isFile_(base + ".bmp"))
    about->loadImage_(base + ".bmp");
  else
    about->loadImage_("");

  const std::string path = iniFilePath_(form->aSettings.programDir);
  const std::optional<std::string> os = toOsPath_(path);
  std::string bytes;
  if (!isFile_(path) || !os || readFileBytes_(*os, bytes) != 0) {
    about->showPeriod_(kAboutWithoutIni);
    form->addLog_("Not found ini file " + path);
    return 0;
  }
  StringList lines;
  bytesToLines_(bytes, lines);
  form->addLog_("Load ini file = " + path);

  const IniApplied applied = applyIniSettings_(lines);
  const IniSettings& s = applied.settings;
  for (const std::string& line : applied.log) form->addLog_(line);
  if (s.tempDir) form->putTempDir_(applied.tempDir);  // empty: the fallback
  QFont font = form->font();
  if (s.fontName) font.setFamily(sjisToQString(*s.fontName));
  if (s.fontSize) font.setPointSize(*s.fontSize);
  form->setFont(font);
  if (s.formWidth) form->resize(*s.formWidth, form->height());
  if (s.formHeight) form->resize(form->width(), *s.formHeight);
  if (s.formTop) form->move(form->x(), *s.formTop);
  if (s.formLeft) form->move(*s.formLeft, form->y());
  form->flagFileLock = s.flagFileLock;
  form->defaultOpenFile = s.defaultOpenFile;
  if (!applied.aboutImage.empty()) about->loadImage_(applied.aboutImage);
  if (s.flagShowAbout) about->showPeriod_(s.periodShowAbout);
  form->putAutoSaveTime_(s.autoSaveTime);
  return 0;
}

std::string commandLineOf_(const QStringList& arguments) {
  std::string line;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    std::optional<std::string> stored = fromOsPath_(arguments[i].toStdString());
    if (!stored) continue;
    if (i == 0 && findCharOf_(*stored, " \t") != std::string::npos) stored = quote_(*stored);
    if (!line.empty()) line += ' ';
    line += *stored;
  }
  return line;
}

bool runGuarded_(const std::function<void()>& action, Prompter& prompter) {
  try {
    action();
    return true;
  } catch (...) {
  }
  try {
    prompter.error("ERROR Top Level vrk17");
  } catch (...) {  // nothing is left to report with
  }
  return false;
}

// --- the main window's part

TFormAbout* TFormMainBaseVRK::getFormAbout() {
  if (!aFormAbout) aFormAbout = new TFormAbout(this);
  return aFormAbout;
}

int TFormMainBaseVRK::openArg1(const std::string& commandLine) {
  TaskScope task(*this, "Open Arg1");
  if (!task.began()) return -1;
  const std::string dir = currentDirectory_();  // ends in "/"
  // The program's own path goes; the rest, blanks and all, is one name.
  const std::string argument = splitQuotedAt_(commandLine, " \t").second;
  std::string name;
  if (!argument.empty()) {
    name = extractFilePath_(argument).empty() ? dir + argument : argument;
  } else {
    if (defaultOpenFile.empty())
      name = dir + "noname.mxa";
    else
      name = extractFilePath_(defaultOpenFile).empty() ? dir + defaultOpenFile : defaultOpenFile;
    const std::string extension = lowerCase_(extractFileExt_(name));
    if (extension != ".mxa" && extension != ".maz") {
      name = changeFileExt_(name, ".maz");
      if (!pathExists_(name)) name = changeFileExt_(name, ".mxa");
    }
  }
  messageDoing_("Open Arg1 " + name);
  if (extractFileExt_(name).empty()) {
    if (pathExists_(name + ".mxa"))
      name += ".mxa";
    else if (pathExists_(name + ".maz"))
      name += ".maz";
  }

  std::string closing;
  int result = 0;
  if (pathExists_(name)) {
    result = _open_(name) < 0 ? -1 : 0;
    closing = (result == 0 ? "Done: Loaded " : "Failure: Open Arg1 ") + name;
  } else {
    addLog_("Not found \"" + name + "\"");
    aFile->putFileName_(name);  // the first save makes the file
    aFile->flagChanged = true;
    showFormLog();
    closing = "Done: Not Found " + name;
  }
  updateCaption();
  task.end_(closing);
  return result;
}

// --- the program

int runVrk(int argc, char** argv, const MainWindowMaker& makeWindow) {
  TApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("vrk.exe"));
  QtPrompter topLevel(QStringLiteral("vrk.exe"));
  app.prompter = &topLevel;
  int code = 1;
  const bool ok = runGuarded_(
      [&] {
        RealServices real;
        const std::unique_ptr<TFormMainBaseVRK> window = makeWindow(real.services());
        window->resize(900, 640);
        window->show();
        window->newMemoFile_();
        const std::string commandLine = commandLineOf_(QCoreApplication::arguments());
        TAPLInitialer initialer;
        initialer.launch_(window.get(), commandLine, *real.services().prompter);
        window->openArg1(commandLine);
        code = QApplication::exec();
      },
      topLevel);
  return ok ? code : 1;
}

}  // namespace vrk
