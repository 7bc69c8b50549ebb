#include "shell/TFormMainBase0007.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTimer>
#include <cstdlib>
#include <filesystem>

#include "model/HolderFileIO.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/Path.h"
#include "text/Basic.h"
#include "text/CharEX.h"
#include "text/FileIO.h"
#include "text/Format.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

constexpr int kIdleIntervalMs = 1000;
constexpr int kAutoSaveMinimum = 60;  // seconds; auto save is off up to this interval

std::int64_t millisecondsOf(const LocalTime& t) {
  return ((t.dayNumber() * 24 + t.hour) * 60 + t.minute) * 60000 + t.second * 1000 + t.millisecond;
}

std::string userNameFromEnvironment() {
  for (const char* key : {"USERNAME", "USER"}) {
    const char* value = std::getenv(key);
    if (value && *value) return fromOsPath_(value).value_or(std::string());
  }
  return {};
}

}  // namespace

bool AgentAPLVRK::getFlagBreak() { return aForm.getFlagBreak(); }

int AgentAPLVRK::sendMessage_(std::string_view text) {
  aForm.messageDoing_(text);
  return 0;
}

std::string AgentAPLVRK::query_(std::string_view key) {
  if (key == "getUIInternet") return aForm.isUIInternet() ? "true" : "false";
  return {};
}

TFormMainBase0007::TFormMainBase0007(const Services& services, FormKey)
    : services(services), aModelPorts(services) {}

TFormMainBase0007::~TFormMainBase0007() = default;

void TFormMainBase0007::formCreate() {
  flagAllYes = false;
  userName = userNameFromEnvironment();
  flagFileLock = false;
  timeAutoSave = services.clock->now();
  aAgent = std::make_unique<AgentAPLVRK>(*this);
  aIdleTimer = new QTimer(this);
  aIdleTimer->setInterval(kIdleIntervalMs);
  connect(aIdleTimer, &QTimer::timeout, this, [this] { guard_("onIdle", [this] { onIdle(); }); });
  aIdleTimer->start();
}

// --- level-1 stand-ins of operations a later level supplies

void TFormMainBase0007::notHere_(std::string_view operation, std::string_view what) const {
  services.prompter->inform(std::string(what) + "TFormMainBase0007." + std::string(operation));
}

void TFormMainBase0007::mouseCursor(int) { notHere_("mouseCursor"); }
void TFormMainBase0007::messageDoing_(std::string_view) { notHere_("messageDoing_"); }
int TFormMainBase0007::addLog_(std::string_view) {
  notHere_("addLog_");
  return -1;
}
int TFormMainBase0007::showFormLog() {
  notHere_("showFormLog");
  return -1;
}
void TFormMainBase0007::setCheckListBox_(QWidget*) {
  notHere_("setCheckListBox_", "Abstract Method: ");
}
void TFormMainBase0007::setTreeView_(QWidget*) { notHere_("setTreeView_"); }
void TFormMainBase0007::setListView_(QWidget*) { notHere_("setListView_"); }
void TFormMainBase0007::showHolder_(MemoHolder*) { notHere_("showHolder_"); }
void TFormMainBase0007::hideHolder_(MemoHolder*) { notHere_("hideHolder_"); }
MemoHolder* TFormMainBase0007::newHolder_(int) {
  notHere_("newHolder_");
  return nullptr;
}
int TFormMainBase0007::UI2Model() {
  notHere_("UI2Model");
  return -1;
}
void TFormMainBase0007::updateCaption() { notHere_("updateCaption"); }
void TFormMainBase0007::applyFileColor() { notHere_("applyFileColor"); }
int TFormMainBase0007::showCurMemoNodeInList() {
  notHere_("showCurMemoNodeInList");
  return -1;
}
void TFormMainBase0007::showReadOnlyMark() { notHere_("showReadOnlyMark"); }
void TFormMainBase0007::Model2UI() { notHere_("Model2UI"); }
void TFormMainBase0007::newMemoFile_() { notHere_("newMemoFile_"); }
void TFormMainBase0007::writeVersionTS_(StringList&) { notHere_("writeVersionTS_"); }
QPlainTextEdit* TFormMainBase0007::getLogMemo() {
  notHere_("getLogMemo");
  return nullptr;
}
QPlainTextEdit* TFormMainBase0007::getMemoEditor() {
  notHere_("getMemoEditor");
  return nullptr;
}
bool TFormMainBase0007::isUIReadOnly() {
  notHere_("isUIReadOnly");
  return false;
}
bool TFormMainBase0007::isUIInternet() {
  notHere_("isUIInternet");
  return false;
}
int TFormMainBase0007::PlayScript(MemoNode*) {
  notHere_("PlayScript", "Still not implemented. ");
  return -1;
}
std::string TFormMainBase0007::getTempDir() const {
  notHere_("getTempDir");
  return {};
}
void TFormMainBase0007::putTempDir_(std::string_view) { notHere_("putTempDir_"); }
void TFormMainBase0007::showHolderCount() { notHere_("showHolderCount"); }
int TFormMainBase0007::getAutoSaveTime() {
  notHere_("getAutoSaveTime");
  return 0;
}
void TFormMainBase0007::putAutoSaveTime_(int) { notHere_("putAutoSaveTime_"); }
HolderFrameSlot* TFormMainBase0007::getFrameMemoHolder() {
  notHere_("getFrameMemoHolder");
  return nullptr;
}
int TFormMainBase0007::newMemoNode_() {
  notHere_("newMemoNode_");
  return -1;
}

const Clock& TFormMainBase0007::dialogClock_() const { return *services.clock; }

std::string TFormMainBase0007::dialogDatePattern_() {
  return getCurHolder() ? unquote_(getCurFormatDate()) : std::string();
}

std::string TFormMainBase0007::getCurFormatDate() {
  MemoHolder* holder = getCurHolder();
  return holder ? holder->getFormatDate() : std::string("\"yyyymmdd\"");
}

std::string TFormMainBase0007::getCurFormatNumber() {
  MemoHolder* holder = getCurHolder();
  return holder ? holder->getFormatNumber() : std::string("\"%.5d\"");
}

// --- long operations

std::string TFormMainBase0007::now_(std::string_view pattern) const {
  return formatNow_(pattern, *services.clock);
}

void TFormMainBase0007::beginDoing_(std::string_view name) {
  textDoing = name;
  failureNote.clear();
  messageDoing_("*Doing* " + textDoing);
  flagBreak = false;
  flagDoing = true;
  ++taskSerial;
  taskOpen = true;
  mouseCursor(-11);
}

void TFormMainBase0007::endDoing_(std::string_view text) {
  const std::string trimmed = trim_(text);
  std::string closing = !trimmed.empty() ? trimmed : (flagBreak ? "Break: " : "Done: ") + textDoing;
  // A file that did not read whole is never reported as loaded.
  if (!failureNote.empty() && closing.starts_with("Done")) closing = "Failure: " + failureNote;
  failureNote.clear();
  flagBreak = false;
  flagDoing = false;
  taskOpen = false;
  messageDoing_(closing);
  mouseCursor(0);
}

bool TFormMainBase0007::isBusy() {
  if (!isDoing()) return false;
  messageDoing_("Now Doing " + now_("yyyy/mm/dd hh:nn:ss:zzz"));
  return true;
}

void TFormMainBase0007::breakDoing() {
  flagBreak = true;
  flagDoing = false;
  messageDoing_("Break " + now_("yyyymmdd hhnnss"));
}

bool TFormMainBase0007::pumpEvents() {
  QCoreApplication::processEvents();
  return !flagBreak;
}

void TFormMainBase0007::reportFailure_(std::string_view what, const char* why) noexcept {
  try {
    const std::string text = "ERROR: " + std::string(what) + " " + why;
    addLogDT_(text);
    messageDoing_(text);
  } catch (...) {  // nothing is left to report with
  }
}

TaskScope::TaskScope(TFormMainBase0007& form, std::string_view name) : form_(form) {
  if (form_.isBusy()) return;
  form_.beginDoing_(name);
  ++form_.countOfTasks;
  serial_ = form_.taskSerial;
  began_ = true;
}

void TaskScope::end_(std::string_view text) {
  if (!began_ || ended_) return;
  ended_ = true;
  --form_.countOfTasks;
  // The "Done" button may have ended it already, or a later task begun.
  if (form_.taskSerial == serial_ && form_.taskOpen) form_.endDoing_(text);
}

// --- log and messages

void TFormMainBase0007::addLogDT_(std::string_view text) {
  addLog_(now_("yyyymmdd hhnnss ") + ":" + std::string(text));
}

void TFormMainBase0007::noteFailure_(std::string_view text) {
  addLog_("Failure: " + std::string(text));
  messageDoing_("Failure: " + std::string(text));
  if (failureNote.empty()) failureNote = text;
}

void TFormMainBase0007::showSystemError_(const std::string& text) {
  services.prompter->error(text);
  addLog_(text);
  messageDoing_(text);
}

// --- the current node and holder

MemoNode* TFormMainBase0007::getCurMemoNode() const {
  return aFile ? aFile->aCurMemoNode.get() : nullptr;
}

MemoHolder* TFormMainBase0007::getCurHolder() const {
  MemoNode* node = getCurMemoNode();
  return node ? dynamic_cast<MemoHolder*>(node->getHolder()) : nullptr;
}

void TFormMainBase0007::setCurMemoNode(MemoNode* node) {
  if (node == getCurMemoNode()) return;
  UI2Model();
  aFile->aCurMemoNode = node;
  if (MemoHolder* holder = getCurHolder()) holder->putCurNode_(node);
  Model2UI();
  showCurMemoNodeInList();
}

void TFormMainBase0007::gotoMemoNode(MemoNode* node) {
  aHistory.add_(node);
  setCurMemoNode(node);
}

MemoHolder* TFormMainBase0007::_changeCurrentHolder_(MemoHolder* holder, bool withHistory) {
  if (!holder || !aFile) return nullptr;
  if (holder == getCurHolder()) return holder;
  if (aFile->indexOfHolder_(holder) < 0) return nullptr;
  if (MemoHolder* previous = getCurHolder()) {
    UI2Model();
    hideHolder_(previous);
    previous->putCurNode_(getCurMemoNode());
  }
  _changeCurrentHolder__(holder, withHistory);
  aFile->flagChanged = true;
  return holder;
}

void TFormMainBase0007::_changeCurrentHolder__(MemoHolder* holder, bool withHistory) {
  if (!holder) {
    addLog_("aH=nil in TFormMainBase0007._changeCurrentHolder__ ");
    return;
  }
  aFile->aCurHolder = holder;
  if (!holder->flagLoaded) _loadHolder_(*holder);
  showHolder_(holder);
  MemoNode* node = holder->getCurNode();
  if (!node) {
    if (holder->countOfNodes() == 0) {
      showSystemError_("SYSTEM ERROR: aH.countOfNodes = 0 in _changeCurrentHolder__ " +
                       holder->getName());
      node = holder->newNode();
    } else {
      node = holder->firstNode();
    }
  }
  if (withHistory)
    gotoMemoNode(node);
  else
    setCurMemoNode(node);
  showHolderCount();
  repaint();
}

void TFormMainBase0007::_loadHolder_(MemoHolder& holder, bool runAutoexec) {
  const std::string name = holder.getName();
  if (holder.countOfNodes() > 0) {
    showSystemError_("SYSTEM ERROR: Still exists Nodes before loading. Holder=\"" + name +
                     "\" aH.aNodes.countOfNodes = " + std::to_string(holder.countOfNodes()));
    holder.flagLoaded = true;
    return;
  }
  const std::string loading = "Now Loading a Holder named as \"" + name + "\"";
  std::optional<TaskScope> task;
  if (isDoing())
    messageDoing_(loading);
  else
    task.emplace(*this, loading);
  const std::string path = holder.getFileName();
  if (pathExists_(path)) {
    _readHolderFile_(holder, path);
  } else {
    addLog_("Not Found MemoHolder: " + path);
    showFormLog();
  }
  if (holder.countOfNodes() == 0) holder.newNode();
  holder.flagLoaded = true;
  if (!runAutoexec) return;
  if (MemoNode* script = holder.findNode_("*Autoexec.ppa")) PlayScript(script);
}

int TFormMainBase0007::_readHolderFile_(MemoHolder& holder, const std::string& path) {
  StringList errors;
  const int code = readHolderFile_(holder, path, errors);
  for (const std::string& line : errors) addLog_(line);
  if (holder.flagParseFailed) {
    addLog_("MemoHolder \"" + holder.getName() +
            "\" could not be read; it is not saved over until it reads: " + path);
    showFormLog();
  }
  if (code != 0) noteFailure_("MemoHolder \"" + holder.getName() + "\" could not be read: " + path);
  return code;
}

// --- guards

bool TFormMainBase0007::checkUIReadOnly() {
  if (!isUIReadOnly()) return false;
  messageDoing_("UI ReadOnly");
  return true;
}

bool TFormMainBase0007::checkHolderReadOnly() {
  MemoHolder* holder = getCurHolder();
  if (!holder) return true;
  if (!holder->isReadOnlyHolder()) return false;
  messageDoing_("This MemoHolder is Read Only. (" + holder->getName() + ")");
  return true;
}

// --- saving and closing

int TFormMainBase0007::saveHolder_(MemoHolder& holder, std::string* why, long long* size) {
  if (!holder.flagLoaded) _loadHolder_(holder, false);
  const std::string path = holder.getFileName();
  if (holder.flagParseFailed) {
    *why = "MemoHolder \"" + holder.getName() + "\" is not saved: its file could not be read " +
           "and is kept as it is: " + path;
    return -1;
  }
  // Two holders on one file: the one listed first keeps it.
  if (const MemoHolder* first = aFile->earlierHolderOfFile_(holder)) {
    *why = sharedFileText_(*first, holder);
    return -1;
  }
  std::string cause;
  const int written = holder.saveFile_(path, &cause);
  if (written < 0) {
    *why = "Could not save MemoHolder \"" + holder.getName() + "\": " + cause;
    return -1;
  }
  for (const std::string& line : holder.aWriteLosses) addLog_(line);
  holder.flagChanged = false;
  if (size) *size = written;
  return 0;
}

int TFormMainBase0007::saveMemoFile_(std::string* why, long long* size) {
  const std::string path = aFile->getFilePathMXA();
  StringList refused;
  if (aFile->refusesToWrite_(path, refused)) {  // also through the lock
    for (const std::string& line : refused) addLog_(line);
    *why = refused.front();
    if (size) *size = -1;
    return -1;
  }
  int result = 0;
  long long written = 0;
  // Through the lock only while it holds this very file: after a new name
  // the rewrite would land on the old one.
  if (flagFileLock && lockStream.isLocked() && toOsPath_(path) == lockStream.path()) {
    StringList lines;
    aFile->writeFileXML_(lines);
    const std::string bytes = linesToBytes_(lines);
    written = static_cast<long long>(bytes.size());
    std::string cause;
    result = lockStream.rewrite_(bytes, &cause) == 0 ? 0 : -1;
    if (result != 0) *why = "Could not save the MemoFile: " + cause;
  } else {
    StringList log;
    std::string cause;
    written = aFile->saveAs_(path, log, &cause);
    result = written < 0 ? -1 : 0;
    for (const std::string& line : log) addLog_(line);
    if (result != 0) *why = "Could not save the MemoFile: " + cause;
  }
  if (result == 0) aFile->flagChanged = false;
  if (size) *size = result == 0 ? written : -1;
  return result;
}

bool TFormMainBase0007::closeQuerySave() {
  if (isDoing()) {
    // Closing now would drop what the running operation has not finished:
    // stop it instead, and let the next close ask as usual.
    const std::string busy = "Now Doing " + now_("yyyy/mm/dd hh:nn:ss:zzz");
    breakDoing();
    messageDoing_(busy);
    return false;
  }
  return querySaveChanges_();
}

bool TFormMainBase0007::querySaveChanges_() {
  UI2Model();
  constexpr Buttons kFour = Answer::Yes | Answer::No | Answer::Cancel | Answer::YesToAll;
  const auto answerFor = [&](const std::string& question) {
    if (flagAllYes) return Answer::YesToAll;
    const Answer answer = services.prompter->ask(BoxKind::Confirmation, question, kFour);
    if (answer == Answer::YesToAll) flagAllYes = true;
    return answer;
  };
  const auto failed = [&](const std::string& why) {
    addLogDT_(why);
    services.prompter->error(why);
    return false;
  };
  // The questions come in their usual order, but the memo file is written
  // after its holders: it names them, so a holder that cannot be written
  // must not leave it naming a file that is not there (or still old). It is
  // written when every holder the user agreed to is, also when a later
  // question is cancelled: the holders not yet asked keep their files.
  bool saveFile = false;
  if (aFile->flagChanged) {
    const Answer answer =
        answerFor("Shall I Save a MemoFile named as \n\"" + aFile->getFilePathMXA() + "\"");
    if (answer == Answer::Cancel) return false;
    saveFile = answer != Answer::No;
  }
  std::string why;
  StringList saved;
  bool cancelled = false;
  for (int i = 0; i < aFile->countOfHolders() && !cancelled; ++i) {
    MemoHolder& holder = *aFile->holderAt_(i);
    if (!holder.flagChanged) continue;
    const Answer answer =
        answerFor("Should I Save a MemoHolder named as \n\"" + holder.getFileName() + "\" ?");
    cancelled = answer == Answer::Cancel;
    if (cancelled || answer == Answer::No) continue;
    if (saveHolder_(holder, &why) != 0) {
      std::string text = why;
      for (const std::string& path : saved) text += "\nSaved: " + path;
      if (saveFile)
        text += "\nNot saved, it is written after its holders: " + aFile->getFilePathMXA();
      return failed(text);
    }
    saved.push_back(holder.getFileName());
  }
  if (saveFile && saveMemoFile_(&why) != 0) return failed(why);
  return !cancelled;
}

void TFormMainBase0007::closeEvent(QCloseEvent* event) {
  bool accept = false;
  guard_("closeEvent", [&] { accept = flagTerminate || closeQuerySave(); });
  event->setAccepted(accept);
  if (!accept) return;
  aIdleTimer->stop();
  lockStream.release();
}

void TFormMainBase0007::closeNormal() {
  flagAllYes = false;
  close();
}

void TFormMainBase0007::closeAllYes() {
  flagAllYes = true;
  close();
}

void TFormMainBase0007::terminateAsk_() {
  const Answer answer = services.prompter->ask(
      BoxKind::Warning,
      "Terminate vrk.exe \n\nYes: Terminate vrk.exe after save memo holders that you changed.\n"
      "No: Terminate vrk.exe without saveing memo holders.\nCancel: Cancel the termination.",
      Answer::Yes | Answer::No | Answer::Cancel);
  if (answer == Answer::Yes) {
    closeNormal();
  } else if (answer == Answer::No) {
    flagTerminate = true;
    close();
  }
}

// --- auto save

void TFormMainBase0007::onIdle() {
  // Not behind a running operation, a dialog or the close prompts: each runs
  // an event loop of its own in which this timer still ticks.
  if (isDoing() || services.prompter->countOfOpen() > 0 || QApplication::activeModalWidget())
    return;
  const int interval = getAutoSaveTime();
  if (interval <= kAutoSaveMinimum) return;
  const LocalTime now = services.clock->now();
  if ((millisecondsOf(now) - millisecondsOf(timeAutoSave)) / 1000 <= interval) return;
  TaskScope task(*this, "Auto Save");
  UI2Model();
  StringList log;
  const bool saved = aFile->saveChangedHolders_(false, log) >= 0;
  for (const std::string& line : log) addLogDT_(line);
  timeAutoSave = services.clock->now();
  task.end_(saved ? now_("YYYYMMDD hh:nn:ss") + " Done Save Auto."
                  : "ERROR: Auto Save. " + (log.empty() ? std::string() : log.back()));
}

}  // namespace vrk
