// The commands on the memo file: open, new, save and save as; the shell
// commands on its folders, and the desktop integration. Operations of
// TFormMainScript.
#include <QCoreApplication>
#include <filesystem>

#include "shell/CommandFrame.h"
#include "commands/TFormMainScript.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "platform/DesktopIntegration.h"
#include "platform/Path.h"
#include "platform/SjisBridge.h"
#include "shell/Startup.h"
#include "text/CharEX.h"

namespace vrk {
namespace fs = std::filesystem;
namespace {

// What the desktop tools said, as status text.
std::string fromSystem(const std::string& utf8) {
  return utf8ToSjis(utf8).value_or(std::string("(a message that cannot be shown)"));
}

std::string utf8ProgramPath() { return QCoreApplication::applicationFilePath().toStdString(); }

}  // namespace

std::string TFormMainScript::programPath_() {
  return fromOsPath_(utf8ProgramPath()).value_or(std::string("vrk"));
}

bool TFormMainScript::ensureFolder_(const std::string& dir) {
  if (!dir.empty() && isDirectory_(dir)) return true;
  const Answer answer = services.prompter->ask(
      BoxKind::Confirmation, "Make Directory ?  \"" + dir + "\"", Answer::Yes | Answer::Cancel);
  if (answer != Answer::Yes) return false;
  const std::optional<std::string> os = toOsPath_(dir.empty() ? currentDirectory_() : dir);
  std::error_code ec;
  if (os) fs::create_directories(*os, ec);
  if (os && !ec) return true;
  messageDoing_("Failure: Make Directory " + dir);
  return false;
}

// --- opening and new files

int TFormMainScript::UIOpenMemoFile() {
  return runCommand_(*this, {"UIOpenMemoFile", kCheckBusy, -2}, [this] {
    aOpenFilter =
        "MXA files (*.mxa)|*.mxa|MXV files (*.mxv)|*.mxv|MAZ files (*.maz)|*.maz|ALL files "
        "(*.*)|*.*";
    const std::optional<std::string> path =
        services.prompter->openFileName("", "new.mxa", aOpenFilter);
    if (!path) return -2;
    // The opening asks the save prompts of changed files before it replaces them.
    const int result = _open_(*path);
    if (result < 0) messageDoing_("Can not load \"" + *path + "\".");
    return result;
  });
}

int TFormMainScript::UIOpenURL() {
  return runCommand_(*this, {"UIOpenURL", kCheckBusy}, [this] {
    const std::string answer = trim_(services.prompter->inputText("", "", "").value_or(""));
    if (answer.empty()) {
      messageDoing_("Cancel: UIOpenURL");
      return -1;
    }
    if (_open_(answer) < 0) {
      const std::string text = "Can not load \"" + answer + "\".";
      services.prompter->ask(BoxKind::Confirmation, text, Buttons(Answer::Ok));
      messageDoing_(text);
      return -1;
    }
    messageDoing_("Done: UIOpenURL " + answer);
    return 0;
  });
}

int TFormMainScript::UINewMemoFile() {
  return runCommand_(*this, {"UINewMemoFile", kCheckBusy}, [this] {
    if (!querySaveChanges_()) return -1;
    // The held file is no longer the one open.
    lockStream.release();
    newMemoFile_();
    return 0;
  });
}

// --- saving

int TFormMainScript::UISaveFileWithMSG() {
  return runCommand_(*this, {"UISaveFileWithMSG", kCheckBusy}, [this] {
    if (!getCurMemoNode()) return -1;
    UI2Model();
    const Answer answer = services.prompter->ask(
        BoxKind::Confirmation, "Could I save the file named \"" + aFile->getFilePathMXA() + "\" ?",
        Answer::Yes | Answer::Cancel);
    if (answer != Answer::Yes) {
      messageDoing_("Cancel: UISaveFileWithMSG");
      return -1;
    }
    return _UISaveMemoFile();
  });
}

int TFormMainScript::UISaveFileWithoutMSG() {
  return runCommand_(*this, {"UISaveFileWithoutMSG", kCheckBusy}, [this] {
    if (!getCurMemoNode()) return -1;
    UI2Model();
    return _UISaveMemoFile();
  });
}

int TFormMainScript::_UISaveMemoFile() {
  const std::string path = aFile->getFilePathMXA();
  if (!ensureFolder_(extractFilePath_(path))) return -1;
  TaskScope task(*this, "Save MemoFile(.mxa) " + path);
  if (!task.began()) return -1;
  try {
    std::string why;
    long long size = 0;
    if (saveMemoFile_(&why, &size) != 0) {
      // The file on disk is as it was, and the memo file stays changed.
      addLogDT_("ERROR: _UISaveMemoFile " + why);
      task.end_("ERROR: _UISaveMemoFile " + why);
      return -1;
    }
    task.end_("Done: Save MemoFole Size=" + std::to_string(size) + "bytes  " + path);
    return static_cast<int>(size);
  } catch (...) {
    task.end_("ERROR: _UISaveMemoFile");
    throw;
  }
}

int TFormMainScript::saveAsMemoFile_(std::string_view ext) {
  const std::string name = "saveAsMemoFile_";
  return runCommand_(*this, {name, kCheckBusy}, [this, ext] {
    if (!getCurMemoNode()) return -1;
    UI2Model();
    const std::string oldPath = aFile->getFilePathMXA();
    const std::optional<std::string> chosen =
        services.prompter->saveFileName("", changeFileExt_(oldPath, ext), aSaveFilter);
    if (!chosen) return -1;
    const std::string path = *chosen;
    const bool elsewhere =
        lowerCase_(normalizePath_(extractFilePath_(expandFileName_(path, currentDirectory_())))) !=
        lowerCase_(normalizePath_(aFile->getDirectory()));
    const bool package = lowerCase_(extractFileExt_(path)) == ".maz";
    // Holders not read yet live beside the old name: they are read from there
    // now, before the memo file takes its new name, so that no later save
    // writes them empty (a holder with its own Filename included).
    if (elsewhere || package) {
      for (int i = 0; i < aFile->countOfHolders(); ++i) {
        MemoHolder& holder = *aFile->holderAt_(i);
        if (holder.flagLoaded) continue;
        StringList errors;
        const int loaded = aFile->loadHolder_(holder, errors);
        if (loaded == -1) addLog_("Not Found Holder: " + holder.getFileName());
        for (const std::string& line : errors)
          if (loaded != -1) addLog_(line);
        // Not taken over: a holder whose file is missing stays missing (no
        // empty stand-in is packed or written), one that did not read stays
        // unread and is never written.
        if (loaded != 0) continue;
        if (holder.countOfNodes() == 0) holder.newNode();
        holder.flagLoaded = true;
      }
    }
    if (elsewhere)
      for (int i = 0; i < aFile->countOfHolders(); ++i)
        if (MemoHolder& holder = *aFile->holderAt_(i); holder.flagLoaded) holder.flagChanged = true;
    if (flagFileLock || lockStream.isLocked()) endFileLock_("TFormMainScript.saveAsMemoFile_");

    TaskScope task(*this, "Save As MemoFile");
    StringList log;
    std::string why;
    const int result = aFile->saveAs_(path, log, &why);
    for (const std::string& line : log) addLog_(line);
    if (result < 0) {
      addLogDT_("Failure: Save As MemoFile: " + why);
      task.end_("Failure: Save As MemoFile: " + why);
      return -1;
    }
    aFile->flagChanged = false;
    updateCaption();
    task.end_("Done: Save As MemoFile Size=" + std::to_string(result) + "bytes  " + path);
    return result;
  });
}

int TFormMainScript::UISaveAllHolders() {
  return runCommand_(*this, {"UISaveAllHolders", kCheckBusy}, [this] {
    TaskScope task(*this, "Save All Holders");
    UI2Model();
    StringList saved;
    std::string failure;
    for (int i = 0; i < aFile->countOfHolders(); ++i) {
      MemoHolder& holder = *aFile->holderAt_(i);
      if (!holder.flagChanged) continue;
      std::string why;
      if (saveHolder_(holder, &why) != 0) {
        addLogDT_(why);
        if (failure.empty()) failure = why;
        continue;
      }
      saved.push_back(holder.getFileName());
    }
    if (!failure.empty()) {
      for (const std::string& path : saved) addLogDT_("Saved: " + path);
      task.end_("Failure: Save All Holders " + failure);
      return -1;
    }
    task.end_();
    return static_cast<int>(saved.size());
  });
}

// --- the shell

int TFormMainScript::UIExplorer_() {
  return runCommand_(*this, {"UIExplorer_"}, [this] { return exploreFileDir(); });
}

int TFormMainScript::UIOpenCurrentDir() {
  return runCommand_(*this, {"UIOpenCurrentDir"}, [this] { return exploreCurrentDir(); });
}

int TFormMainScript::UIOpenExeFileDir() {
  return runCommand_(*this, {"UIOpenExeFileDir"}, [this] { return exploreProgramDir(); });
}

int TFormMainScript::UIOpenIniFile() {
  return runCommand_(*this, {"UIOpenIniFile"}, [this] {
    const std::string path = iniFilePath_(aSettings.programDir);
    if (pathExists_(path)) {
      services.desktop->openDocument(path, aSettings.programDir);
      messageDoing_("Open " + path);
    } else {
      services.desktop->explore(aSettings.programDir);
      messageDoing_("Explorer \"vrk.exe\". Becaouse Not Found " + path);
    }
    return 0;
  });
}

// --- the desktop: file types, the program's entry, a launcher

int TFormMainScript::UIAssociate() {
  return runCommand_(*this, {"UIAssociate"}, [this] {
    DesktopIntegration desktop(*services.processes,
                               desktopPlacesFromEnvironment_(*services.processes));
    std::string why;
    if (desktop.associate_(utf8ProgramPath(), &why) != 0) {
      messageDoing_("Failure: Associate FileName Extentions. " + fromSystem(why));
      addLogDT_("Failure: Associate FileName Extentions. " + fromSystem(why));
      return -1;
    }
    messageDoing_("Done: Associate FileName Extentions. \".mxa\", \".maz\"");
    return 0;
  });
}

int TFormMainScript::UIUnassociate() {
  return runCommand_(*this, {"UIUnassociate"}, [this] {
    DesktopIntegration desktop(*services.processes,
                               desktopPlacesFromEnvironment_(*services.processes));
    std::string why;
    if (desktop.unassociate(&why) != 0) {
      messageDoing_("Failure: Unassociate FileName Extentions. " + fromSystem(why));
      addLogDT_("Failure: Unassociate FileName Extentions. " + fromSystem(why));
      return -1;
    }
    messageDoing_("Done: Unassociate FileName Extentions. \".mxa\", \".maz\"");
    return 0;
  });
}

int TFormMainScript::UIMakeShortCutLink() {
  return runCommand_(*this, {"UIMakeShortCutLink"}, [this] {
    DesktopIntegration desktop(*services.processes,
                               desktopPlacesFromEnvironment_(*services.processes));
    std::string made, why;
    if (desktop.makeShortcut_(utf8ProgramPath(), &made, &why) != 0) {
      messageDoing_("Failure: Make ShortCutLink " + fromSystem(why));
      return -1;
    }
    addLogDT_("Make ShortCutLink " + fromSystem(made));
    messageDoing_("Done: Make ShortCutLink, Look DeskTop!");
    return 0;
  });
}

}  // namespace vrk
