// The commands on holders: open, CSV import and export, new, save and save
// as, reload, the "Each" and "Extra" commands over all nodes, rename, delete,
// clone, move, the view switch and the lists put into the node editor.
// Operations of TFormMainScript.
#include <QPlainTextEdit>
#include <QTextCursor>

#include "shell/CommandFrame.h"
#include "commands/TFormMainScript.h"
#include "model/CsvImport.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/Path.h"
#include "platform/SJ.h"
#include "platform/qt/QtSjis.h"
#include "shell/FrameSlots.h"
#include "shell/MemoHolderUI.h"
#include "shell/TFrameMemoNode.h"
#include "text/CharEX.h"
#include "text/FileIO.h"
#include "text/Format.h"
#include "text/StringEX.h"

namespace vrk {

// --- helpers of the commands

int TFormMainScript::switchHolderView_(NodesMode) { return -1; }

int TFormMainScript::insertAtSelection_(const StringList& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\n" : "") + lines[i];
  const QString inserted = sjisToQString(text);
  if (auto* editor = dynamic_cast<TFrameMemoNode*>(&getFrameMemoHolder()->nodeEditor())) {
    editor->insertText_(editor->activeEditor(), inserted);
    return 0;
  }
  QPlainTextEdit* memo = getMemoEditor();
  if (!memo) return -1;
  QTextCursor cursor = memo->textCursor();
  const int start = cursor.selectionStart();
  cursor.insertText(inserted);
  cursor.setPosition(start);
  cursor.setPosition(start + static_cast<int>(inserted.size()), QTextCursor::KeepAnchor);
  memo->setTextCursor(cursor);
  return 0;
}

std::string TFormMainScript::savedSizeText_(long long size) {
  return size <= 1024 ? std::to_string(size) + "Bytes" : std::to_string(size / 1024) + "KBytes";
}

// --- opening

int TFormMainScript::UIOpenMemoHolder() {
  return runCommand_(*this, {"UIOpenMemoHolder", kCheckBusy | kCheckUIReadOnly}, [this] {
    aOpenFilter = "MXH files (*.mxh)|*.mxh| MHZ (*.mhz) | *.mhz | ALL files (*.*)|*.*";
    const std::optional<std::string> path =
        services.prompter->openFileName("", aFile->getDirectory() + "new.mxh", aOpenFilter);
    if (!path) return -1;
    return _openHolder_(*path) ? 0 : -1;
  });
}

int TFormMainScript::UIOpenCSV() {
  return runCommand_(*this, {"UIOpenCSV", kCheckBusy | kCheckUIReadOnly}, [this] {
    aOpenFilter = "CSV files (*.csv)|*.csv| text (*.txt) | *.txt | ALL files (*.*)|*.*";
    const std::optional<std::string> path =
        services.prompter->openFileName("", aFile->getDirectory() + "new.csv", aOpenFilter);
    if (!path) return -1;
    TaskScope task(*this, "Open CSV -> Holder " + *path);
    const std::optional<std::string> os = toOsPath_(*path);
    std::string bytes, why;
    if (!os || readFileBytes_(*os, bytes, &why) != 0) {
      task.end_("Failure: Open CSV -> Holder " + *path);
      return -1;
    }
    aTextList.clear();
    bytesToLines_(bytes, aTextList);
    MemoHolder* holder = importCSV_(aTextList);
    if (!holder) return -1;
    aFile->putNameChild_as_(
        holder, aFile->freeHolderName_(*holder, changeFileExt_(extractFileName_(*path), "")));
    holder->flagLoaded = true;
    aFile->flagChanged = true;
    _changeCurrentHolder_(holder, true);
    return 0;
  });
}

int TFormMainScript::UICSV2Holder() {
  return runCommand_(*this, {"UICSV2Holder", kCheckBusy | kCommitBefore}, [this] {
    MemoNode* node = getCurMemoNode();
    if (!node || !getCurHolder()) return -1;
    TaskScope task(*this, "CSV -> Holder");
    MemoHolder* holder = importCSV_(node->aMemo);
    if (!holder) return -1;
    aFile->putNameChild_as_(holder, aFile->freeHolderName_(*holder, "CSV"));
    holder->flagLoaded = true;
    aFile->flagChanged = true;
    _changeCurrentHolder_(holder, true);
    return 0;
  });
}

// --- new holders

int TFormMainScript::UINewMemoHolder() {
  return runCommand_(*this, {"UINewMemoHolder", kCheckUIReadOnly}, [this] {
    TaskScope task(*this, "New MemoHolder");
    if (!task.began()) return kRefusedBusy;
    const int current = aFile->indexOfHolder_(getCurHolder());
    MemoHolder* holder = newHolder_(current < 0 ? -1 : current + 1);
    holder->putCurNode_(holder->newNode());
    _changeCurrentHolder_(holder, true);
    task.end_("Done: New MemoHolder " + holder->getName());
    return 0;
  });
}

int TFormMainScript::UINewHolderLeft() {
  return runCommand_(*this, {"UINewHolderLeft", kCheckUIReadOnly}, [this] {
    TaskScope task(*this, "New Holder Left");
    if (!task.began()) return kRefusedBusy;
    MemoHolder* holder = newHolder_(0);
    holder->putCurNode_(holder->newNode());
    _changeCurrentHolder_(holder, true);
    return 0;
  });
}

int TFormMainScript::UINewHolderRight() {
  return runCommand_(*this, {"UINewHolderRight", kCheckUIReadOnly}, [this] {
    TaskScope task(*this, "New Holder Right");
    if (!task.began()) return kRefusedBusy;
    MemoHolder* holder = newHolder_(-1);
    holder->putCurNode_(holder->newNode());
    _changeCurrentHolder_(holder, true);
    return 0;
  });
}

// --- saving

int TFormMainScript::UISaveHolderWithMSG() {
  return runCommand_(*this, {"UISaveHolderWithMSG", kCheckBusy}, [this] {
    MemoHolder* holder = getCurHolder();
    if (!holder || !getCurMemoNode()) return -1;
    UI2Model();
    const Answer answer = services.prompter->ask(
        BoxKind::Confirmation, "Sould I save Holder named \"" + holder->getFileName() + "\"",
        Answer::Yes | Answer::Cancel);
    if (answer == Answer::Cancel) return -1;
    return _UISaveHolder();
  });
}

int TFormMainScript::UISaveHolderNoMSG() {
  return runCommand_(*this, {"UISaveHolderNoMSG", kCheckBusy}, [this] {
    if (!getCurHolder() || !getCurMemoNode()) return -1;
    UI2Model();
    return _UISaveHolder();
  });
}

int TFormMainScript::_UISaveHolder() {
  MemoHolder* holder = getCurHolder();
  if (!holder) return -1;
  const std::string path = holder->getFileName();
  if (!ensureFolder_(extractFilePath_(path))) return -1;
  TaskScope task(*this, "_UISaveHolder");
  if (!task.began()) return -1;
  const int count = holder->countOfNodes();
  const std::string failure = "ERROR c:=" + std::to_string(count) + " in _UISaveHolder.";
  try {
    std::string why;
    long long size = 0;
    if (saveHolder_(*holder, &why, &size) != 0) {
      // The file is as it was and the holder stays changed.
      addLogDT_(failure + " " + why);
      task.end_(failure + " " + why);
      return -1;
    }
    task.end_("Done: Saved size=" + savedSizeText_(size) +
              " count of Nodes=" + std::to_string(holder->countOfNodes()) +
              " CountSave=" + std::to_string(holder->CountSave) + " " +
              formatDateTime_("yyyy/mm/dd hh:nn:ss:zzz", holder->TimeSaved) + " " + path);
    return 0;
  } catch (...) {
    addLogDT_(failure);
    task.end_(failure);
    throw;
  }
}

int TFormMainScript::UISaveAsHolder_(std::string_view ext) {
  return runCommand_(*this, {"UISaveAsHolder_", kCheckBusy}, [this, ext] {
    MemoHolder* holder = getCurHolder();
    if (!holder || !getCurMemoNode()) return -1;
    UI2Model();
    aSaveFilter = "Holder(*.mxh)|*.mxh|compress Holder(*.mhz)|ALL files (*.*)|*.*";
    const std::optional<std::string> chosen = services.prompter->saveFileName(
        "", changeFileExt_(holder->getFileName(), ext), aSaveFilter);
    if (!chosen) return -1;
    const std::string path = *chosen;
    if (const MemoHolder* other = aFile->holderOfFile_(path, holder)) {
      messageDoing_("Not Saved: " + path + " is the file of MemoHolder \"" + other->getName() +
                    "\"");
      return -1;
    }
    // Read from where it is now, before its name moves.
    if (!holder->flagLoaded) _loadHolder_(*holder, false);
    const std::string oldFilename = holder->getField_("Filename");
    holder->putField_("Filename", quoted_(path));
    TaskScope task(*this, "Save as Holder " + std::string(ext));
    std::string why;
    const int size = holder->saveFile_(path, &why);
    if (size < 0) {
      holder->putField_("Filename", oldFilename);  // it was not saved under the new name
      const std::string lower = lowerCase_(extractFileExt_(path));
      const bool known = lower == ".mxh" || lower == ".mhz";
      if (known) addLogDT_("Failure: Save as Holder: " + why);
      task.end_(known ? "Failure: Save as Holder: " + why
                      : "FileExtention is missmatch.  \"" + path + "\"");
      updateCaption();
      return -1;
    }
    for (const std::string& line : holder->aWriteLosses) addLog_(line);
    holder->flagChanged = false;
    task.end_("Done size=" + std::to_string(size));
    updateCaption();
    return 0;
  });
}

// --- the holder's folder, reloading

int TFormMainScript::UIExplorerMemoHolder() {
  return runCommand_(*this, {"UIExplorerMemoHolder"}, [this] {
    MemoHolder* holder = getCurHolder();
    if (!holder) return -9;
    const std::string filename = holder->getFilename();
    const std::string dir = filename.empty() ? aFile->getDirectory() : extractFilePath_(filename);
    services.desktop->explore(dir);
    messageDoing_("Done:UIExplorerMemoHolder " + dir);
    return 0;
  });
}

int TFormMainScript::UIReloadMemoHolder() {
  return runCommand_(*this, {"UIReloadMemoHolder", kCheckBusy}, [this] {
    auto* holder = static_cast<MemoHolderUI*>(getCurHolder());
    if (!holder) return -9;
    TaskScope task(*this, "UIReloadMemoHolder");
    const std::string path = holder->getFileName();
    const std::string name = holder->getName();
    // What places the holder (its own path, absolute or read-only) stays
    // when its file does not say otherwise.
    const StringList before = holder->aFields;
    holder->closeNodeWindows();
    aFile->aCurMemoNode = nullptr;
    getFrameMemoHolder()->nodeEditor().showNode_(nullptr);
    holder->putCurNode_(nullptr);
    holder->clear();
    if (holder->getName() != name) aFile->putNameChild_as_(holder, name);
    if (_readHolderFile_(*holder, path) != 0 && holder->countOfNodes() == 0) holder->newNode();
    MemoBasic kept;
    kept.aFields = before;
    for (const char* key : {"Filename", "FlagExtra", "FlagAbsolutePath", "FlagReadOnly"})
      if (holder->getField_(key).empty() && !kept.getField_(key).empty())
        holder->putField_(key, kept.getField_(key));
    holder->flagLoaded = true;
    aFile->flagChanged = true;
    aHistory.dropInvalid();
    _changeCurrentHolder__(holder, true);
    task.end_("Done:UIReLoadMemoHolder " + path);
    return 0;
  });
}

int TFormMainScript::UIReLoadEach() {
  return runCommand_(*this, {"UIReLoadEach", kCheckBusy}, [this] {
    MemoHolder* holder = getCurHolder();
    if (!holder) return -9;
    TaskScope task(*this, "UIReLoadEach");
    UI2Model();
    int count = 0;
    for (int i = 0; i < holder->countOfNodes(); ++i)
      if (holder->nodeAt_(i)->loadLinkedContent() > 0) ++count;
    Model2UI();
    task.end_("Done:UIReLoadEach " + std::to_string(count));
    return count;
  });
}

// --- every node of the holder

int TFormMainScript::changeEachNode_(std::string_view command, std::string_view task,
                                     const std::function<void(MemoHolder&, MemoNode&)>& change) {
  return runCommand_(*this, {command, kCheckBusy | kCheckUIReadOnly | kCheckHolderReadOnly}, [&] {
    MemoHolder* holder = getCurHolder();
    const int count = holder->countOfNodes();
    if (count == 0) {
      messageDoing_("No MemoNode.");
      return -9;
    }
    TaskScope scope(*this, std::string(task) + std::to_string(count));
    UI2Model();
    for (int i = 0; i < holder->countOfNodes(); ++i) change(*holder, *holder->nodeAt_(i));
    Model2UI();
    holder->flagChanged = true;
    return 0;
  });
}

int TFormMainScript::UISetRelativePathEach() {
  // Absolute values only ("/x" as well as "X:"); ".", "$" and web addresses
  // stay as they are.
  return changeEachNode_("UISetRelativePathEach",
                         "Set Relative Paht MemoHolder=", [](MemoHolder& holder, MemoNode& node) {
                           node.makePathRelative_("Filename",
                                                  extractFilePath_(holder.getFileName()));
                         });
}

int TFormMainScript::UIExtractFilenameEach() {
  return changeEachNode_("UIExtractFilenameEach",
                         "ExtractFilename MemoHolder=", [](MemoHolder& holder, MemoNode& node) {
                           const std::string name = extractFileName_(node.getName());
                           if (!name.empty() && name != node.getName())
                             holder.putNameChild_as_(&node, name);
                         });
}

int TFormMainScript::UISetUpdateEach() {
  return runCommand_(*this,
                     {"UISetUpdateEach", kCheckBusy | kCheckUIReadOnly | kCheckHolderReadOnly |
                                             kCommitBefore | kRefreshAfter},
                     [this] {
                       MemoHolder* holder = getCurHolder();
                       const std::string mark = SJ("●");
                       for (int i = 0; i < holder->countOfNodes(); ++i) {
                         MemoNode* node = holder->nodeAt_(i);
                         const std::string headline = node->getHeadline();
                         if (headline.empty()) continue;
                         const std::string word =
                             splitAt_(headline.substr(mark.size()), " \t").first;
                         node->putField_("Update", quoted_(word));
                       }
                       return 0;
                     });
}

// --- naming, deleting, cloning, moving

int TFormMainScript::UIRenameMemoHolder() {
  return runCommand_(*this, {"UIRenameMemoHolder", kCheckBusy}, [this] {
    MemoHolder* holder = getCurHolder();
    if (!holder) return -9;
    const std::string answer =
        trim_(services.prompter
                  ->inputText("Rename Current MemoHolder", "Input new Name.", holder->getName())
                  .value_or(""));
    if (answer.empty()) return -1;
    // A name whose file another holder has would make the two write one file.
    if (!sameText_(answer, holder->getName())) {
      const std::string wanted = aFile->uniqueHolderName_(answer);
      const std::string path = holder->fileNameAs_(wanted);
      if (const MemoHolder* other = aFile->holderOfFile_(path, holder)) {
        messageDoing_("Not Renamed: \"" + wanted + "\" would share the file " + path +
                      " with MemoHolder \"" + other->getName() + "\"");
        return -1;
      }
    }
    const std::string name = aFile->putNameChild_as_(holder, answer);
    holder->flagChanged = true;
    aFile->flagChanged = true;
    messageDoing_("Changed MemoHolder Name " + name);
    return 0;
  });
}

int TFormMainScript::UIRenameMemoHolderOther() {
  return runCommand_(*this, {"UIRenameMemoHolderOther", kCheckBusy}, [this] {
    MemoHolder* holder = getCurHolder();
    if (!holder) return -9;
    aFile->putNameChild_as_(
        holder, aFile->freeHolderName_(*holder, aFile->uniqueHolderName_(holder->getName())));
    holder->flagChanged = true;
    aFile->flagChanged = true;
    return 0;
  });
}

int TFormMainScript::UIDeleteMemoHolder() {
  return runCommand_(*this, {"UIDeleteMemoHolder", kCheckBusy}, [this] {
    auto* holder = static_cast<MemoHolderUI*>(getCurHolder());
    if (!holder) return -9;
    if (aFile->countOfHolders() <= 1) {
      messageDoing_("Don't Delete Holder.  Only One Holder!");
      return -1;
    }
    UI2Model();
    if (holder->flagChanged) {
      const Answer answer = services.prompter->ask(
          BoxKind::Confirmation, "Shall I Save Current Holder ? \r\n" + holder->getFileName(),
          Answer::Yes | Answer::No | Answer::Cancel);
      if (answer == Answer::Cancel) return -1;
      // A holder whose save failed is kept: deleting it would lose the edits.
      if (answer == Answer::Yes && UISaveHolderNoMSG() != 0) return -1;
    }
    if (services.prompter->ask(BoxKind::Confirmation, "Shall I delete Current Holder Realy ?",
                               Answer::Yes | Answer::No) != Answer::Yes)
      return -1;
    int index = aFile->indexOfHolder_(holder);
    holder->closeNodeWindows();
    aFile->aCurMemoNode = nullptr;
    getFrameMemoHolder()->nodeEditor().showNode_(nullptr);
    hideHolder_(holder);
    std::unique_ptr<MemoHolder> removed = aFile->removeHolder_(holder);
    removed.reset();  // its file on disk stays
    aHistory.dropInvalid();
    if (index > aFile->countOfHolders() - 1) index = aFile->countOfHolders() - 1;
    _changeCurrentHolder__(aFile->holderAt_(index), true);
    aFile->flagChanged = true;
    return 0;
  });
}

int TFormMainScript::UICloneMemoHolder() {
  return runCommand_(*this, {"UICloneMemoHolder", kCheckBusy | kCommitBefore}, [this] {
    auto* source = static_cast<MemoHolderUI*>(getCurHolder());
    if (!source) return -9;
    if (!source->flagLoaded) _loadHolder_(*source, false);
    const NodesMode mode = source->getMode();
    std::unique_ptr<TObjectNamed> copied = source->deepCopy();
    std::unique_ptr<MemoHolder> copy(static_cast<MemoHolder*>(copied.release()));
    // A copy of a holder with a file of its own would be saved over that file.
    copy->putField_("Filename", "");
    copy->putField_("FlagExtra", "");
    copy->putField_("ModeNodesMngr",
                    quoted_(mode == NodesMode::TreeView ? "TreeView" : "CheckListBox"));
    copy->flagLoaded = true;
    copy->flagChanged = true;
    MemoHolder* made = copy.get();
    const std::string name = aFile->freeHolderName_(*copy, source->getName() + "_copy");
    aFile->addHolder_(std::move(copy), name);
    aFile->flagChanged = true;
    _changeCurrentHolder_(made, true);
    return 0;
  });
}

int TFormMainScript::UIMoveHolderRight() {
  return runCommand_(
      *this, {"UIMoveHolderRight", kCheckBusy | kCheckUIReadOnly | kCheckHolderReadOnly}, [this] {
        const int index = aFile->indexOfHolder_(getCurHolder());
        if (index < 0 || index >= aFile->countOfHolders() - 1) return -9;
        aFile->moveHolder_(index, index + 1);
        aFile->flagChanged = true;
        aFile->refreshTabs_();
        return 0;
      });
}

int TFormMainScript::UIMoveHolderLeft() {
  return runCommand_(
      *this, {"UIMoveHolderLeft", kCheckBusy | kCheckUIReadOnly | kCheckHolderReadOnly}, [this] {
        const int index = aFile->indexOfHolder_(getCurHolder());
        if (index <= 0) return -9;
        aFile->moveHolder_(index, index - 1);
        aFile->flagChanged = true;
        aFile->refreshTabs_();
        return 0;
      });
}

int TFormMainScript::UIChangeView_(NodesMode mode) {
  return runCommand_(*this, {"UIChangeView_", kCheckBusy}, [this, mode] {
    if (!getCurHolder() || mode == NodesMode::Nodes) return -9;
    if (switchHolderView_(mode) != 0) return -1;
    messageDoing_("Change " + nodesModeName_(mode));
    return 0;
  });
}

// --- lists into the node editor

int TFormMainScript::UICSV2SEL() {
  return runCommand_(*this, {"UICSV2SEL", kCheckBusy | kCheckUIReadOnly | kCheckHolderReadOnly},
                     [this] {
                       auto* holder = static_cast<MemoHolderUI*>(getCurHolder());
                       if (!holder->getView()) return -1;
                       TaskScope task(*this, "CSV");
                       StringList lines;
                       holder->exportList_(lines, *services.clock);
                       insertAtSelection_(lines);
                       return static_cast<int>(lines.size());
                     });
}

int TFormMainScript::UINameValue2SEL(bool valueFirst) {
  return runCommand_(*this, {"UINameValue2SEL", kCheckBusy | kCommitBefore}, [this, valueFirst] {
    auto* holder = static_cast<MemoHolderUI*>(getCurHolder());
    if (!holder || !holder->getView()) return -1;
    const std::string field = trim_(
        services.prompter->inputText("Input the name of Field.", "Field's Name", "").value_or(""));
    if (field.empty()) return -1;
    TaskScope task(*this, "Make List Name, Field Value");
    const std::string format = holder->getField_("FormatDate");
    StringList lines{"# vrk.exe " + (format.empty() ? std::string("\"YYYYMMDD\"") : format),
                     "name, " + field};
    for (int i = 0; i < holder->countOfNodes(); ++i) {
      const MemoNode& node = *holder->nodeAt_(i);
      const std::string value = node.getField_(field);
      lines.push_back(valueFirst ? value + "," + node.getName() : node.getName() + "," + value);
    }
    insertAtSelection_(lines);
    return 0;
  });
}

int TFormMainScript::UIHolderList2SEL() {
  return runCommand_(*this, {"UIHolderList2SEL"}, [this] {
    auto* holder = static_cast<MemoHolderUI*>(getCurHolder());
    if (!holder || !holder->getView()) return -1;
    TaskScope task(*this, "UIHolderList2Sel");
    StringList lines;
    for (int i = 0; i < aFile->countOfHolders(); ++i)
      lines.push_back(aFile->holderAt_(i)->getName());
    insertAtSelection_(lines);
    return 0;
  });
}

}  // namespace vrk
