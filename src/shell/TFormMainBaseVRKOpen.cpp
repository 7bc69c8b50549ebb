// Opening files: the dispatcher by extension, memo files (with the optional
// exclusive lock), holder files, packages, compressed single files, CSV text
// and the files dropped on the window. Operations of TFormMainBaseVRK.
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QUrl>
#include <optional>

#include "markup/TTAGNode.h"
#include "model/CsvImport.h"
#include "model/MemoBasic.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoPackage.h"
#include "platform/Path.h"
#include "platform/SJ.h"
#include "platform/qt/QtSjis.h"
#include "shell/MemoHolderUI.h"
#include "shell/TFormMainBaseVRK.h"
#include "text/Basic.h"
#include "text/CharEX.h"
#include "text/FileIO.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

bool sameFile(const std::string& a, const std::string& b) {
  return !a.empty() && !b.empty() && isSameFile_(a, b);
}

// Directories of two files, an empty one being the current directory.
bool sameDirectory(const std::string& dirA, const std::string& dirB) {
  const auto folder = [](const std::string& dir) {
    const std::string path = dir.empty() ? currentDirectory_() : dir;
    return path.size() > 1 && isPathSeparatorAt(path, path.size() - 1)
               ? path.substr(0, path.size() - 1)
               : path;
  };
  return isSameFile_(folder(dirA), folder(dirB));
}

std::string lowerExtension(const std::string& name) { return lowerCase_(extractFileExt_(name)); }

bool isMemoFileExtension(const std::string& extension) {
  return extension == ".mxa" || extension == ".mxv";
}

std::string programFile() {
  return fromOsPath_(QCoreApplication::applicationFilePath().toStdString()).value_or("vrk");
}

}  // namespace

// --- the dispatcher

// The memo file's own path; empty while it has none (the empty memo file
// of start-up), which then is no file on disk to reload.
std::string TFormMainBaseVRK::openFileName() const {
  return aFile->getFilename().empty() ? std::string() : aFile->getFilePathMXA();
}

int TFormMainBaseVRK::_open_(const std::string& given) {
  std::string name = given;
  if (name.empty()) return -1;
  const std::string head = lowerCase_(std::string_view(name).substr(0, 6));
  if (head == "http:/" || head == "https:") {
    messageDoing_("Loading Now " + name);
    const std::string local = getTempDir() + urlToFileName_(name);
    const std::optional<std::string> os = toOsPath_(local);
    std::string why = "cannot name " + local;
    if (!os || services.downloader->download(name, *os, &why) != 0) {
      addLog_("Could not download " + name + " : " + why);
      messageDoing_("Failure: Loading " + name);
      return -1;
    }
    name = local;
  } else if (isDirectory_(name)) {
    return newMemoNodeKind_(name, NodeKind::Url) ? 1 : -1;
  }

  const std::string extension = lowerExtension(name);
  if (extension == ".z") return openCompressed_(name);
  if (extension == ".maz") return openPackage_(name);
  if (isMemoFileExtension(extension)) {
    const std::string open = openFileName();
    const std::string openName = lowerCase_(extractFileName_(open));
    const bool named = !open.empty() && openName != "noname.mxa" && openName != "noname.mxv";
    // The file already open is reloaded here (after asking), never given to a
    // second program that would work on it beside this one.
    if (!named || sameFile(name, open)) return openMemoFile_(name);
    const int started = services.desktop->startDetached(programFile(), {name}, currentDirectory_());
    messageDoing_((started == 0 ? "Done: Start vrk.exe " : "Failure: Start vrk.exe ") + name);
    return started == 0 ? 0 : -1;
  }
  if (extension == ".mxh" || extension == ".mhz") return _openHolder_(name) ? 0 : -1;
  if (!extension.empty()) {
    MemoNode* node = newMemoNodeKind_(name, NodeKind::Text);
    Model2UI();
    return node ? 0 : -1;
  }
  for (const char* form : {".mxa", ".mxv", ".maz", ".mxh"}) {
    if (isFile_(name + form)) return _open_(name + form);
  }
  return -1;
}

// --- memo files

int TFormMainBaseVRK::openMemoFile_(const std::string& name) {
  if (sameFile(name, openFileName())) {
    const std::string question =
        name + SJ(" は既に読み込まれています。再読み込みするなら OK を押してください");
    const Answer answer =
        services.prompter->ask(BoxKind::Confirmation, question, Answer::Ok | Answer::Cancel);
    if (answer != Answer::Ok) return -1;
  }
  if (!isFile_(name)) return -1;
  if (!isMemoFileExtension(lowerExtension(name))) {
    const Answer answer = services.prompter->ask(
        BoxKind::Confirmation, SJ("拡張子が .mxa でも .mxv でないが、読み込んでいいのか？"),
        Answer::Yes | Answer::No);
    if (answer != Answer::Yes) return -1;
  }
  // Whatever is unsaved goes only after its own question, as on closing.
  if (!isUntouchedEmptyMemoFile_()) {
    const bool allYes = flagAllYes;
    const bool mayReplace = querySaveChanges_();
    flagAllYes = allYes;
    if (!mayReplace) return -1;
  }
  messageDoing_("Now Loading " + name);
  if (_loadMemoFile_(name) != 0) return -1;
  if (aFile->getField_("CurrentHolder").empty()) aFile->flagChanged = true;
  if (MemoHolder* holder = getCurHolder()) messageDoing_(holder->getName());
  const auto shared = aFile->sharedHolderFiles_();
  if (!shared.empty())
    messageDoing_(sharedFileText_(*shared.front().first, *shared.front().second));
  return 0;
}

int TFormMainBaseVRK::_loadMemoFile_(const std::string& path) {
  for (int i = 0; i < aFile->countOfHolders(); ++i)
    static_cast<MemoHolderUI*>(aFile->holderAt_(i))->closeNodeWindows();
  aHistory.clear();
  const std::string lockText = flagFileLock ? " FlagFileLock=true" : " FlagFileLock=false";
  const auto couldNotOpen = [&](const StringList& why) {
    const std::string text = "Could Not Open " + path + lockText;
    addLog_(text);
    for (const std::string& line : why) addLog_(line);
    services.prompter->inform(text);
    lockStream.release();
    newMemoFile_();
    updateCaption();
    aHistory.clear();
    return -1;
  };

  if (flagFileLock) {
    // Advisory: it keeps out every program that asks for the lock (a second
    // vrk.exe among them), not one that merely reads or writes the file.
    lockStream.release();
    // Held by the name the memo file keeps, so that saving finds it.
    const std::optional<std::string> os =
        toOsPath_(isAbsolutePath_(path) ? path : expandFileName_(path, currentDirectory_()));
    std::string why = "cannot name " + path;
    if (!os || lockStream.acquire_(*os, &why) != 0) return couldNotOpen({why});
  }
  StringList errors;
  const int result = readMemoFile_(*aFile, path, errors);
  if (result == -1) return couldNotOpen(errors);
  addLog_("open " + path + lockText);

  if (result == -2) {
    std::string bytes;
    if (const std::optional<std::string> os = toOsPath_(path)) readFileBytes_(*os, bytes);
    const std::string text =
        (bytes.size() < 100 ? "Too Short Size: " : "Too Short Word: ") + path + "\n" + bytes;
    messageDoing_(text);
    addLog_(text);
    newMemoFile_();
    aFile->putFileName_(path);  // the first save makes the file
    aFile->flagChanged = true;
    updateCaption();
    aHistory.clear();
    return result;
  }
  if (!errors.empty()) {
    std::string bytes;
    if (const std::optional<std::string> os = toOsPath_(path)) readFileBytes_(*os, bytes);
    StringList lines, words;
    bytesToLines_(bytes, lines);
    toWordList_(lines, words, false);
    addLog_("**** BAT MXA File ****");
    for (const std::string& line : errors) addLog_(line);
    addLog_("******** MXA File ****");
    for (const std::string& word : words) addLog_(word);
    addLog_("**********************");
  }
  if (result == -3) {
    // Not understood: it is not taken as this file's name, so that no save
    // writes an empty memo file over it.
    const std::string text = "BAT File: not found <File> " + path;
    messageDoing_(text);
    addLog_(text);
    showFormLog();
    lockStream.release();
    newMemoFile_();
    aHistory.clear();
    return result;
  }
  if (!aFile->incompleteFile.empty()) {
    // Shown as read, and never saved over: what lay beyond the break is not here.
    noteFailure_("MemoFile " + path + " was not read whole; it is not saved over");
    showFormLog();
  }
  ensureOneHolder_(*aFile);
  // Holders whose names differ only after a "." were saved into one file:
  // what is in it now is kept, the later holder is not written over it.
  const auto shared = aFile->sharedHolderFiles_();
  for (const auto& [first, second] : shared) addLog_(sharedFileText_(*first, *second));
  if (!shared.empty()) showFormLog();
  aFile->aCurMemoNode = nullptr;
  _changeCurrentHolder__(aFile->aCurHolder ? aFile->aCurHolder : aFile->holderAt_(0), true);
  updateCaption();
  aHistory.clear();
  return 0;
}

void TFormMainBaseVRK::endFileLock_(std::string_view where) {
  flagFileLock = false;
  lockStream.release();
  addLog_("FlagFileLock=false in " + std::string(where));
}

namespace {

std::string holderText(MemoHolder& holder) {
  StringList lines;
  holder.writeHolder_(lines, "");
  return linesToBytes_(lines);
}

}  // namespace

void TFormMainBaseVRK::rememberEmptyMemoFile_() {
  aEmptyHolder = aFile->countOfHolders() == 1 ? aFile->holderAt_(0) : nullptr;
  aEmptyHolderText = aEmptyHolder ? holderText(*aEmptyHolder.get()) : std::string();
}

bool TFormMainBaseVRK::isUntouchedEmptyMemoFile_() {
  UI2Model();
  if (aFile->flagChanged || aFile->countOfHolders() != 1) return false;
  MemoHolder* holder = aFile->holderAt_(0);
  return holder == aEmptyHolder.get() && holderText(*holder) == aEmptyHolderText;
}

// --- holder files

MemoHolder* TFormMainBaseVRK::openHolder_(const std::string& path) {
  if (isBusy()) return nullptr;
  return _openHolder_(path);
}

MemoHolder* TFormMainBaseVRK::_openHolder_(const std::string& path) {
  const std::string doing = "Open Holder " + path;
  // Inside a running task (start-up, a command) this is one of its steps.
  std::optional<TaskScope> task;
  if (isDoing())
    messageDoing_(doing);
  else
    task.emplace(*this, doing);

  const std::string name = changeFileExt_(extractFileName_(path), "");
  MemoHolder* holder = aFile->findHolder_(name);
  bool changed = false;
  if (holder) {
    const std::string question = path + "\n" + "Still opened. \"" + upperCase_(name) + "\"\n" +
                                 "Could I Reload ?(=Yes) / Open OtherName(=No) or (CANCEL) ";
    const Answer answer = services.prompter->ask(BoxKind::Confirmation, question,
                                                 Answer::Yes | Answer::No | Answer::Cancel);
    if (answer == Answer::Yes) {
      // Its unsaved edits go: the user asked for the file's state.
      auto& shown = static_cast<MemoHolderUI&>(*holder);
      shown.closeNodeWindows();
      if (getCurHolder() == holder) {
        UI2Model();
        aFile->aCurMemoNode = nullptr;
        Model2UI();
      }
      holder->putCurNode_(nullptr);
      shown.clear();
    } else if (answer == Answer::No) {
      holder = newHolder_(-1);
      aFile->putNameChild_as_(holder, name);
      holder->flagLoaded = false;
      changed = true;
    } else {
      return nullptr;
    }
  } else {
    holder = newHolder_(-1);
    aFile->putNameChild_as_(holder, name);
    holder->flagLoaded = true;
  }

  // Attach: a holder from another folder than the memo file's opens
  // read-only. It is saved back where it was read from: FlagAbsolutePath
  // also when the file is not the one its name gives beside the memo file
  // ("g.v2.mxh" would else be saved as "g.mxh", "G.MXH" as "G.mxh"), never
  // into a file of the same name elsewhere.
  if (_readHolderFile_(*holder, path) != 0 && holder->countOfNodes() == 0) holder->newNode();
  const std::string full = isAbsolutePath_(path) ? path : joinPath_(currentDirectory_(), path);
  const bool elsewhere = !sameDirectory(extractFilePath_(path), aFile->getDirectory());
  std::string note;
  holder->putField_("Filename", quoted_(full));
  holder->putField_("FlagAbsolutePath", quoted_(boolText_(false)));  // the name's file, for now
  if (const MemoHolder* owner = aFile->holderOfFile_(full, holder)) {
    // The file is another holder's ("Open OtherName"): this one is a copy
    // with a file of its own beside the memo file.
    holder->putField_("FlagExtra", "");
    aFile->putNameChild_as_(holder, aFile->freeHolderName_(*holder, holder->getName()));
    note = "Opened as a copy: " + full + " is the file of MemoHolder \"" + owner->getName() +
           "\"; \"" + holder->getName() + "\" is saved to " + holder->getFileName();
  } else {
    const bool ownPath = elsewhere || !isSameFile_(holder->getFileName(), full);
    holder->putField_("FlagAbsolutePath", quoted_(boolText_(ownPath)));
  }
  if (elsewhere) holder->putField_("FlagReadOnly", "\"true\"");
  holder->flagLoaded = true;
  holder->flagChanged = changed;
  aFile->flagChanged = true;

  if (holder == getCurHolder())  // reloaded while shown: shown afresh
    _changeCurrentHolder__(holder, true);
  else
    _changeCurrentHolder_(holder, true);
  if (!note.empty()) {
    addLog_(note);
    if (task)
      task->end_(note);
    else
      messageDoing_(note);
  }
  return holder;
}

// --- packages and compressed files

int TFormMainBaseVRK::openPackage_(const std::string& path) {
  if (!isFile_(path)) return -1;
  messageDoing_("Decompress " + path);
  UnpackedPackage unpacked;
  std::string why;
  const MayOverwrite ask = [this](const std::string& target) {
    messageDoing_("Save " + target);
    return services.prompter->ask(BoxKind::Confirmation, "Overwrite OK? " + target,
                                  Answer::Ok | Answer::Cancel) == Answer::Ok;
  };
  const int result = unpackPackage_(path, extractFilePath_(path), ask, unpacked, &why);
  for (const std::string& written : unpacked.written) addLog_("Save " + written);
  for (const std::string& refused : unpacked.refused) addLog_("Not saved: " + refused);
  if (result == -3) {
    noteFailure_(why);  // the whole parts are there; the cut one is not
    showFormLog();
  } else if (result != 0) {
    addLog_("Could not unpack " + path + " : " + why);
    messageDoing_("Failure: Decompress " + path);
    if (result == -1) return -1;
  }
  if (unpacked.memoFilePath.empty() || !isFile_(unpacked.memoFilePath)) return -1;
  return openMemoFile_(unpacked.memoFilePath);
}

int TFormMainBaseVRK::openCompressed_(const std::string& path) {
  const std::string target = path.substr(0, path.size() - 2);
  const std::optional<std::string> osSource = toOsPath_(path), osTarget = toOsPath_(target);
  if (isDirectory_(target)) {
    messageDoing_("Failure: a folder is named " + target);
    return -1;
  }
  // As a package's parts: an existing file goes only when the user agrees.
  const bool replace =
      !isFile_(target) || services.prompter->ask(BoxKind::Confirmation, "Overwrite OK? " + target,
                                                 Answer::Ok | Answer::Cancel) == Answer::Ok;
  if (replace) {
    std::string why;
    if (!osSource || !osTarget || decompressFile_(*osSource, *osTarget, &why) != 0) {
      addLog_("Could not decompress " + path + " : " + why);
      services.prompter->inform("SYSTEM ERROR: _open_ ");
      return -1;
    }
  }
  return _open_(target);
}

// --- CSV

MemoHolder* TFormMainBaseVRK::importCSV_(const StringList& lines) {
  if (csvColumns_(lines).empty()) return nullptr;
  MemoHolder* holder = newHolder_(-1);
  holder->putCurNode_(nullptr);  // records go to the end, in file order
  importCsvRecords_(lines, *holder);
  if (holder->countOfNodes() == 0) holder->newNode();
  return holder;
}

// --- drag and drop

void TFormMainBaseVRK::dropFiles_(const StringList& paths) {
  if (paths.empty()) return;
  if (aSettings.dropMode == DropMode::Open) {
    for (const std::string& path : paths) _open_(path);
    return;
  }
  QPlainTextEdit* memo = getMemoEditor();
  if (!memo) return;
  for (const std::string& path : paths) {
    const std::string line = aSettings.dropMode == DropMode::String ? path : extractFileName_(path);
    memo->appendPlainText(sjisToQString(line));
  }
}

void TFormMainBaseVRK::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TFormMainBaseVRK::dropEvent(QDropEvent* event) {
  StringList paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (!url.isLocalFile()) continue;
    const std::string local = url.toLocalFile().toStdString();
    if (const std::optional<std::string> stored = fromOsPath_(local))
      paths.push_back(*stored);
    else
      messageDoing_("Failure: the name cannot be stored: " +
                    (qStringToSjis(url.fileName()).value_or("?")));
  }
  event->acceptProposedAction();
  guard_("dropEvent", [&] { dropFiles_(paths); });
}

}  // namespace vrk
