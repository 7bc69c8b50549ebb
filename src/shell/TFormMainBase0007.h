#pragma once
// Level 1 of the main window: its state and lifecycle. The open memo file,
// the current node and holder (with lazy loading of holder files), long
// operations, the log, the close prompts, auto save and the read-only guards,
// and the window's virtual interface: the one way frames, dialogs, commands
// and the script host reach the window.
//
// Creation is two-phase: constructors build members only, create() then runs
// the virtual formCreate() chain, each level calling its parent's first.
#include <QMainWindow>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <string_view>

#include "dialogs/DialogOwner.h"
#include "model/AgentAPLAbs.h"
#include "model/TListHistory.h"
#include "platform/FileLock.h"
#include "shell/MemoFileUI.h"
#include "shell/Services.h"
#include "text/StringList.h"

class QPlainTextEdit;
class QTimer;

namespace vrk {

class HolderFrameSlot;
class MemoHolder;
class MemoNode;
class TFormMainBase0007;

// Only create() makes one, so a window is never used before its formCreate.
class FormKey {
  friend class TFormMainBase0007;
  FormKey() = default;
};

// The main window's agent: how model code asks for the break flag, shows a
// message or asks "getUIInternet".
class AgentAPLVRK final : public AgentAPLAbs {
 public:
  explicit AgentAPLVRK(TFormMainBase0007& form) : aForm(form) {}
  bool getFlagBreak() override;
  int sendMessage_(std::string_view text) override;
  std::string query_(std::string_view key) override;

 private:
  TFormMainBase0007& aForm;
};

class TFormMainBase0007 : public QMainWindow, public MemoFileHost, public DialogOwner {
  Q_OBJECT

 public:
  TFormMainBase0007(const Services& services, FormKey key);
  ~TFormMainBase0007() override;

  template <class Form>
  static std::unique_ptr<Form> create(const Services& services) {
    std::unique_ptr<Form> form(new Form(services, FormKey()));
    form->formCreate();
    return form;
  }

  // --- the virtual interface, in slot order
  virtual void formCreate();
  virtual void mouseCursor(int cursor);  // -11 hourglass, 0 default
  virtual void beginDoing_(std::string_view name);
  virtual void messageDoing_(std::string_view text);
  // The closing message: the trimmed text, else "Break: " or "Done: " and the
  // operation's name.
  virtual void endDoing_(std::string_view text = {});
  // Shows "Now Doing " and the time while a long operation runs (or is still
  // unwinding after Break).
  virtual bool isBusy();
  virtual int addLog_(std::string_view line);
  virtual int showFormLog();
  virtual void setCheckListBox_(QWidget* view);
  virtual void setTreeView_(QWidget* view);
  virtual void setListView_(QWidget* view);
  virtual void showHolder_(MemoHolder* holder);
  virtual void hideHolder_(MemoHolder* holder);
  virtual MemoHolder* newHolder_(int index);
  virtual int UI2Model();
  virtual void updateCaption();
  virtual void applyFileColor();
  virtual int showCurMemoNodeInList();
  virtual void showReadOnlyMark();
  virtual void Model2UI();
  virtual bool closeQuerySave();
  // The save prompts of closeQuerySave (changed memo file, then each changed
  // holder), also asked before another memo file replaces this one. False
  // on Cancel or a failed save.
  bool querySaveChanges_();
  virtual void newMemoFile_();
  virtual void writeVersionTS_(StringList& lines);
  virtual QPlainTextEdit* getLogMemo();
  virtual QPlainTextEdit* getMemoEditor();
  virtual bool isUIReadOnly();
  virtual bool isUIInternet();
  virtual int PlayScript(MemoNode* node);
  std::string getTempDir() const override;  // also the memo file's
  virtual void putTempDir_(std::string_view dir);
  virtual void showHolderCount();
  virtual int getAutoSaveTime();
  virtual void putAutoSaveTime_(int seconds);
  virtual std::string getCurFormatDate();
  virtual std::string getCurFormatNumber();
  virtual HolderFrameSlot* getFrameMemoHolder();
  // Commands that auxiliary windows call.
  virtual int newMemoNode_();
  // What dialogs ask of the window.
  const Clock& dialogClock_() const override;
  std::string dialogDatePattern_() override;

  // --- the current node and holder
  MemoFileUI* getFile() const { return aFile.get(); }
  AgentAPLVRK* getAgent() const { return aAgent.get(); }
  MemoNode* getCurMemoNode() const;
  MemoHolder* getCurHolder() const;
  void setCurMemoNode(MemoNode* node);
  void gotoMemoNode(MemoNode* node);
  // Null when the holder is not part of the memo file.
  MemoHolder* _changeCurrentHolder_(MemoHolder* holder, bool withHistory);
  // The inner step, also used after loading a memo file.
  void _changeCurrentHolder__(MemoHolder* holder, bool withHistory);
  // Reads the holder's file; an unread holder gets one new node. The
  // "*Autoexec.ppa" node runs after a load made for the user, not after one
  // made for saving.
  void _loadHolder_(MemoHolder& holder, bool runAutoexec = true);
  // 0, or readHolderFile_'s code with the reasons in the log.
  int _readHolderFile_(MemoHolder& holder, const std::string& path);

  // --- long operations
  // Break: the running operation stops at its next poll of the flag.
  void breakDoing();
  bool getFlagBreak() const { return flagBreak; }
  // Lets pending window events run inside a task (Break, progress); false
  // once Break was pressed, so that the loop stops.
  bool pumpEvents();
  // Runs an action of a slot or event handler: an exception stops here and is
  // reported, it never crosses into Qt.
  template <class Action>
  void guard_(std::string_view what, Action&& action) noexcept {
    try {
      action();
    } catch (const std::exception& e) {
      reportFailure_(what, e.what());
    } catch (...) {
      reportFailure_(what, "unknown exception");
    }
  }

  // --- log, messages
  // The line with the time "yyyymmdd hhnnss " and a colon before it.
  void addLogDT_(std::string_view text);
  // Something the user must not take as done (a file that did not read
  // whole): logged, shown as "Failure: " + text, and the running operation
  // then closes with it in place of a "Done: " message.
  void noteFailure_(std::string_view text);
  // Box, log and message panel: errors the program should not have made.
  void showSystemError_(const std::string& text);

  // --- guards: true when the command must be refused
  bool checkUIReadOnly();
  bool checkHolderReadOnly();

  // --- saving and closing
  // Unread holders are read first; one whose file did not parse is not
  // written over. flagChanged is cleared only when the file was written.
  // 0, or -1 with the reason in *why. The bytes written go to *size when given.
  int saveHolder_(MemoHolder& holder, std::string* why, long long* size = nullptr);
  // The memo file, through the lock when it is held. 0, or -1. The bytes
  // written go to *size when given.
  int saveMemoFile_(std::string* why, long long* size = nullptr);
  void closeNormal();
  void closeAllYes();
  void terminateAsk_();
  // The idle step: auto save when due.
  void onIdle();

  const Services services;
  std::string userName;  // USERNAME (else USER), read at creation
  bool flagAllYes = false;
  bool flagFileLock = false;
  FileLock lockStream;
  LocalTime timeAutoSave;
  TListHistory aHistory;
  // Texts copied, cut and pasted in the node editor: newest first, each once, at most 10.
  StringList aPasteWords;

 protected:
  void closeEvent(QCloseEvent* event) override;
  // For levels that put off their work until the window may act.
  bool isDoing() const { return flagDoing || countOfTasks > 0; }
  // The dialog of operations that this level declares for a later one.
  void notHere_(std::string_view operation, std::string_view what = "Should not execute. ") const;
  std::string now_(std::string_view pattern) const;

  std::unique_ptr<MemoFileUI> aFile;
  std::unique_ptr<AgentAPLVRK> aAgent;
  ModelPorts aModelPorts;  // the model's ports are the window's

 private:
  friend class TaskScope;
  void reportFailure_(std::string_view what, const char* why) noexcept;

  QTimer* aIdleTimer = nullptr;
  bool flagDoing = false;
  bool flagBreak = false;
  bool flagTerminate = false;  // "Exit" -> No: close without prompts
  std::string textDoing;
  std::string failureNote;       // noteFailure_ since the operation began
  int countOfTasks = 0;          // task scopes not yet unwound
  std::uint64_t taskSerial = 0;  // counts beginDoing_, so a scope ends only its own task
  bool taskOpen = false;         // begun and not ended yet
};

// One long operation, ended exactly once: by end_, or on any other way out
// by the destructor. It does not begin while the window is busy, and keeps
// the window busy until it has unwound, also after Break.
class TaskScope {
 public:
  TaskScope(TFormMainBase0007& form, std::string_view name);
  ~TaskScope() { end_(); }
  TaskScope(const TaskScope&) = delete;
  TaskScope& operator=(const TaskScope&) = delete;

  bool began() const { return began_; }
  void end_(std::string_view text = {});

 private:
  TFormMainBase0007& form_;
  bool began_ = false;
  bool ended_ = false;
  std::uint64_t serial_ = 0;
};

}  // namespace vrk
