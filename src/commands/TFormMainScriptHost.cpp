// The script host of the window: the main interpreter PP1 with the host's
// routines, the pool of extra runners, the entry points that run scripts
// (a node, the editor's selection or memo, ".ppa" children) and the consent
// asked before a memo file's autoexec script runs.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFont>
#include <QPlainTextEdit>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <vector>

#include "commands/TFormMainScript.h"
#include "model/MemoFile.h"
#include "platform/Path.h"
#include "platform/SJ.h"
#include "platform/qt/QtSjis.h"
#include "script/ScriptHost.h"
#include "shell/CommandFrame.h"
#include "shell/FrameSlots.h"
#include "shell/TFrameMemoNode.h"
#include "text/CharEX.h"
#include "text/FileIO.h"
#include "text/StringEX.h"

namespace vrk {
namespace {

constexpr std::size_t kUIMNCacheSize = 10;
constexpr std::string_view kAutoexecName = "*Autoexec.ppa";

// Window events while a script runs, and waits that sleep in the event loop.
class WindowScriptHost final : public ScriptHost {
 public:
  explicit WindowScriptHost(Prompter& prompter) : aPrompter(prompter) { aSince.start(); }

  // Cheap when called often: events are looked at every few milliseconds.
  void processMessages() override {
    if (aSince.elapsed() < 10) return;
    QCoreApplication::processEvents();
    aSince.restart();
  }
  bool waitEvents(int milliseconds) override {
    QEventLoop loop;
    aLoops.push_back(&loop);
    QTimer timer;
    if (milliseconds != kForever) {
      timer.setSingleShot(true);
      QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
      timer.start(std::max(0, milliseconds));
    }
    if (!flagWoken) loop.exec();
    flagWoken = false;
    aLoops.pop_back();
    return true;  // the window always has events: the user can press Break
  }
  void wake() override {
    if (aLoops.empty()) return;
    flagWoken = true;
    for (QEventLoop* loop : aLoops) loop->quit();
  }
  std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& initial) override {
    return aPrompter.inputText(caption, prompt, initial);
  }
  int messageBox(const std::string& text, const std::string&, std::uint32_t flags) override {
    const MessageBoxQuestion q = messageBoxQuestion_(flags);
    return messageBoxAnswer_(flags, aPrompter.ask(q.box, text, q.buttons));
  }

 private:
  Prompter& aPrompter;
  QElapsedTimer aSince;
  std::vector<QEventLoop*> aLoops;
  bool flagWoken = false;
};

StringList splitLines(const std::string& text) {
  StringList lines;
  if (text.empty()) return lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find('\n', start);
    std::string line =
        text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

std::string boxText(const QPlainTextEdit* box) {
  return qStringToSjis(box->toPlainText()).value_or(std::string());
}

bool isBlankScript(const StringList& lines) {
  return std::all_of(lines.begin(), lines.end(),
                     [](const std::string& line) { return trim_(line).empty(); });
}

// The field line's key matches as the model's fields do.
int indexOfKey(const StringList& fields, const std::string& key) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::size_t eq = fields[i].find('=');
    if (eq == key.size() && sameText_(std::string_view(fields[i]).substr(0, eq), key))
      return static_cast<int>(i);
  }
  return -1;
}

void markChanged(const MemoNode& node) {
  if (auto* holder = dynamic_cast<MemoHolder*>(node.getHolder())) holder->flagChanged = true;
}

std::string argStr(const ScriptArguments& a, std::size_t i) {
  return i < a.size() ? a[i].strValue : std::string();
}
int argInt(const ScriptArguments& a, std::size_t i) {
  return i < a.size() ? static_cast<std::int32_t>(static_cast<std::uint32_t>(a[i].intValue)) : 0;
}

}  // namespace

TFormMainScript::TFormMainScript(const Services& services, FormKey key)
    : TFormMainBaseVRK(services, key) {}

TFormMainScript::~TFormMainScript() = default;

void TFormMainScript::formCreate() {
  TFormMainBaseVRK::formCreate();
  buildPP1_();
  loadStringsPrinter_(aSettings.programDir, aStringsPrinter);
}

void TFormMainScript::buildPP1_() {
  aScriptHost = std::make_unique<WindowScriptHost>(*services.prompter);
  aPP1 = std::make_unique<DErevAzozev>();
  aPP1->DeclarePrototype = hostPrototypes_();
  aPP1->Define = {""};
  aPP1->ProcParam = [this](const std::string&, int index, const ScriptArguments& a, int& err) {
    err = 0;
    procParam_(index, a, err);
  };
  aPP1->IntFuncParam = [this](const std::string&, int index, const ScriptArguments& a, int& err,
                              std::int64_t& result) {
    err = 0;
    result = intFuncParam_(index, a);
  };
  aPP1->RealFuncParam = [](const std::string&, int index, const ScriptArguments& a, int& err,
                           double& result) {
    err = 0;
    result = index == 2001 && !a.empty() ? std::sqrt(a[0].realValue) : 0.0;
  };
  aPP1->StrFuncParam = [this](const std::string&, int index, const ScriptArguments& a, int& err,
                              std::string& result) {
    err = 0;
    result = strFuncParam_(index, a);
  };
  aPP1->ErrorProc = [](int code, std::string& message) {
    message = code == -1 ? SJ(u8"ユーザー定義手続き/関数の内部エラーです。") : std::string();
  };
  // No host-bound Integer variables; PPAID reads as registered.
  aPP1->IntObjParam = [](const std::string&, int, std::uint8_t, int& err, std::int64_t&) {
    err = 0;
  };
  aPP1->StrObjParam = [](const std::string&, int, std::uint8_t, int& err, std::string&) {
    err = 0;
  };
  aPP1->setPorts({aScriptHost.get(), services.processes, services.desktop});
  aPPACo = std::make_unique<PPACo>(*aPP1);
}

bool TFormMainScript::isScriptRunning() const {
  if (aPP1 && aPP1->IsRunning()) return true;
  if (!aPPACo) return false;
  for (std::size_t i = 0; i < aPPACo->countOfRunners(); ++i)
    if (aPPACo->at(i).interpreter().IsRunning()) return true;
  return false;
}

void TFormMainScript::stopScripts_() {
  if (!aPP1) return;
  try {
    aPP1->Stop();  // throws to us; the runs end at their next step
  } catch (const ScriptError&) {
  }
  aPPACo->stopAll();
}

void TFormMainScript::closeEvent(QCloseEvent* event) {
  if (isScriptRunning()) {
    // The script's frames are on the stack below this event: it unwinds
    // first, and the window closes after.
    flagCloseAfterScript = true;
    stopScripts_();
    event->ignore();
    return;
  }
  TFormMainBaseVRK::closeEvent(event);
}

std::optional<std::string> TFormMainScript::runOnPP1_(const StringList& lines) {
  std::optional<std::string> error;
  struct AfterRun {
    TFormMainScript& form;
    ~AfterRun() {
      if (form.flagCloseAfterScript && !form.isScriptRunning()) {
        form.flagCloseAfterScript = false;
        QTimer::singleShot(0, &form, [f = &form] { f->close(); });
      }
    }
  } after{*this};
  // A run from within a running script has a context of its own; the outer
  // Source is put back for the outer run's messages.
  const StringList outer = aPP1->Source;
  aPP1->Source = lines;
  try {
    aPP1->Execute();
  } catch (const ScriptError& e) {
    error = e.what();
  }
  aPP1->Source = outer;
  return error;
}

// --- running scripts

int TFormMainScript::PlayScript(MemoNode* node) {
  if (!node) return -9;
  const std::string nodeName = node->getName();
  std::string holderName = node->getHolder() ? node->getHolderName() : std::string();
  if (holderName.empty()) holderName = "(no name)";
  if (aPP1->IsRunning()) return -8;
  if (sameText_(nodeName, kAutoexecName) && !consentAutoexec_()) {
    addLog_("Autoexec not run in " + holderName + " # " + nodeName);
    return 0;
  }
  const std::string where = " in " + holderName + " # " + nodeName;
  try {
    if (const auto error = runOnPP1_(node->aMemo)) {
      const std::string text = "ERROR: PlayScript " + *error + where;
      endDoing_(text);
      addLog_(text);
    }
  } catch (const std::exception&) {
    const std::string text = "ERROR: PlayScript" + where;
    endDoing_(text);
    addLog_(text);
    return -1;
  }
  addLog_("Execute" + where);
  return 0;
}

std::string TFormMainScript::trustedScriptsPath() const {
  if (!aTrustedScriptsPath.empty()) return aTrustedScriptsPath;
  return aSettings.programDir + "vrk-autoexec-trusted.txt";
}

bool TFormMainScript::consentAutoexec_() {
  if (aAutoexecAnswer) return *aAutoexecAnswer;
  const std::string file = aFile->getFilePathMXA();
  if (const auto it = aAutoexecAnswers.find(file); it != aAutoexecAnswers.end()) return it->second;
  const std::string trustedPath = trustedScriptsPath();
  std::string trusted;
  readFileBytes_(trustedPath, trusted);
  StringList lines = splitLines(trusted);
  if (std::find(lines.begin(), lines.end(), file) != lines.end())
    return aAutoexecAnswers[file] = true;
  // Scripts can start programs: one from a file the user got from elsewhere
  // must not run unasked.
  const std::optional<int> choice = services.prompter->choose(
      "Autoexec",
      "The memo file " + file + " has a script " + std::string(kAutoexecName) +
          " that runs when its holder is read. Run it?",
      {"Run", "Don't run", "Always for this file"}, 1);
  const bool run = choice && (*choice == 0 || *choice == 2);
  if (choice && *choice == 2) {
    lines.push_back(file);
    std::string text;
    for (const std::string& line : lines)
      if (!line.empty()) text += line + "\n";
    std::string why;
    if (writeFileAtomic_(trustedPath, text, &why) != 0)
      addLogDT_("ERROR: Autoexec trust not saved " + trustedPath + " " + why);
  }
  return aAutoexecAnswers[file] = run;
}

int TFormMainScript::UIEval() {
  return runCommand_(*this, {"UIEval", kCheckHolder}, [this] {
    auto* holder = static_cast<MemoHolderUI*>(getCurHolder());
    if (!holder->getView()) return -1;
    showFormLog();
    auto* editor = dynamic_cast<TFrameMemoNode*>(&getFrameMemoHolder()->nodeEditor());
    if (!editor) return -1;
    QString selected = editor->activeEditor()->textCursor().selectedText();
    selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    const std::string text = trim_(qStringToSjis(selected).value_or(std::string()));
    if (text.empty()) return -1;
    const bool failed = runOnPP1_(splitLines(text)).has_value();
    messageDoing_(failed ? "ERROR: Eval" : "Done: Eval");
    return -1;
  });
}

int TFormMainScript::UIEvalMemo() {
  return runCommand_(*this, {"UIEvalMemo"}, [this] {
    auto* holder = static_cast<MemoHolderUI*>(getCurHolder());
    if (!holder || !holder->getView()) return -1;
    showFormLog();
    const std::string text = trim_(boxText(getFrameMemoHolder()->nodeEditor().memoEditor()));
    if (text.empty()) {
      messageDoing_("No script ");
      return 0;
    }
    if (runOnPP1_(splitLines(text))) endDoing_("ERROR: Eval");
    return 0;
  });
}

int TFormMainScript::UINewChildExecutedPPA() {
  return runCommand_(
      *this, {"UINewChildExecuted", kCheckUIReadOnly | kCheckHolderReadOnly | kCommitBefore},
      [this] {
        MemoNode* current = getCurMemoNode();
        if (!current) {
          messageDoing_("ERROR: Current MemoNode = nil");
          return -9;
        }
        if (current->getField_("Content-Transfer-Encoding") == "\"binary\"") {
          messageDoing_("Stop: Current MemoNode is binary.");
          return -2;
        }
        messageDoing_("New Child Executed PPA");
        const StringList script = current->aMemo;
        if (isBlankScript(script)) {
          messageDoing_("Abort: No script ");
          return -2;
        }
        if (aPP1->IsRunning()) aPP1->Stop();  // its exception ends this command
        const WeakRef<MemoNode> source(current);
        StringList text;
        int result = 0;
        if (PPACoRunner* runner = aPPACo->getFree_()) {
          result = runner->Play(script);
          text = runner->aBuffer;
          if (result != 0) text.push_back("Trap ERROR UINewChildExecuted");
          runner->aBuffer.clear();
        } else {
          text = {"SYSTEM ERROR: PPACo is not Found."};
          result = -102;
        }
        if (flagCloseAfterScript && !isScriptRunning()) {
          flagCloseAfterScript = false;
          QTimer::singleShot(0, this, [this] { close(); });
          return result;
        }
        TaskScope task(*this, "New Child Executed");
        if (!task.began()) return kRefusedBusy;
        MemoNode* child = newMemoNodeKind_("", NodeKind::Text);
        if (!child) {
          task.end_("Failure: New Child Executed");
          return -1;
        }
        if (MemoNode* parent = source.get(); parent && parent != child)
          child->setParentNode_(parent);
        child->aMemo = text;
        Model2UI();
        task.end_("Done: New Child Executed : " + child->getName());
        return result;
      });
}

// --- the handlers

void TFormMainScript::printBuf_(const std::string* runnerName, const std::string& line) {
  PPACoRunner* runner = runnerName ? aPPACo->find_(*runnerName) : nullptr;
  if (!runner) runner = aPPACo->first();
  if (runner)
    runner->aBuffer.push_back(line);
  else
    addLog_(line);
}

void TFormMainScript::procParam_(int index, const ScriptArguments& a, int& err) {
  switch (index) {
    case 1:
    case 4:
      addLog_(argStr(a, 0));
      break;
    case 2:
      printBuf_(nullptr, argStr(a, 0));
      break;
    case 3: {
      const std::string name = argStr(a, 0);
      printBuf_(&name, argStr(a, 1));
      break;
    }
    default:
      err = -1;
  }
}

int TFormMainScript::selectNode_(MemoNode* node) {
  MemoHolder* holder = getCurHolder();
  if (!node || !holder) return -1;
  gotoMemoNode(node);
  return holder->indexOfNode_(node);
}

int TFormMainScript::renameCurrent_(int result, MemoNode* before, const std::string& name) {
  // A refused or failed command made no node: nothing may be renamed.
  MemoNode* made = getCurMemoNode();
  if (result != 0 || !made || made == before) return result;
  if (auto* editor = dynamic_cast<TFrameMemoNode*>(&getFrameMemoHolder()->nodeEditor()))
    editor->renameNode_(name);
  return result;
}

std::int64_t TFormMainScript::intFuncParam_(int index, const ScriptArguments& a) {
  auto* editor = dynamic_cast<TFrameMemoNode*>(&getFrameMemoHolder()->nodeEditor());
  MemoHolder* holder = getCurHolder();
  MemoNode* current = getCurMemoNode();
  switch (index) {
    case 1012:
      UIHardCopy();
      messageDoing_("Done: UIHardCopy. Check Printer.");
      return 0;
    case 1013:
      UIOpenCurrentDir();
      return 0;
    case 1014:
      UIOpenExeFileDir();
      return 0;
    case 1015: {
      const std::string command = trim_(argStr(a, 0));
      if (command.empty()) {
        messageDoing_("Warrning: Command is empty in UIShellExecute_.");
        return -1;
      }
      const int result = ShellExecuteOpen_(command);
      messageDoing_(command);
      return result;
    }
    case 1016:
      resize(argInt(a, 0), argInt(a, 1));
      return 0;
    case 1017:
      move(argInt(a, 0), argInt(a, 1));
      return 0;
    case 1018: {
      QFont f = font();
      if (argInt(a, 0) > 0) f.setPointSize(argInt(a, 0));
      setFont(f);
      return argInt(a, 0);
    }
    case 1019:
      addLog_(argStr(a, 0));
      return 0;
    case 1020:
      addLogDT_(argStr(a, 0));
      return 0;
    case 1101:
      return newMemoNode_();
    case 1102:
      return renameCurrent_(newMemoNode_(), current, argStr(a, 0));
    case 1103:
      return UINewChild();
    case 1104:
      return renameCurrent_(UINewChild(), current, argStr(a, 0));
    case 1111:
      if (editor) editor->memoEditor()->appendPlainText(sjisToQString(argStr(a, 0)));
      return 0;
    case 1112:
      if (editor) editor->commentEditor()->appendPlainText(sjisToQString(argStr(a, 0)));
      return 0;
    case 1113:
      return UI2Model();
    case 1114:
      return holder ? selectNode_(holder->firstNode()) : -1;
    case 1115:
    case 1116: {
      const bool next = index == 1115;
      MemoNode* to = holder && current
                         ? (next ? holder->nextNode_(current) : holder->prevNode_(current))
                         : nullptr;
      if (!to) {
        messageDoing_(next ? "Not Change CurrentNode Next." : "Not Change CurrentNode Pre.");
        return -1;
      }
      const int at = selectNode_(to);
      messageDoing_((next ? "Done: Change CurrentNode Next: " : "Done: Change CurrentNode Pre: ") +
                    to->getName());
      return at;
    }
    case 1117:
      return holder ? selectNode_(holder->lastNode()) : -1;
    case 1118: {
      if (!holder) return -1;
      const std::string name = argStr(a, 0);
      for (int i = 0; i < holder->countOfNodes(); ++i)
        if (holder->nodeAt_(i)->getName() == name) return selectNode_(holder->nodeAt_(i));
      return -1;
    }
    case 1130:
      return UIPPADefine2SEL();
    case 1131:
      return UIVersion2SEL();
    case 1132:
      return UIFileMXA2SEL();
    case 1133:
      return UIFieldsList2SEL();
    case 1134:
      return UIHolderList2SEL();
    case 1135:
      return UIMarkList2SEL();
    case 1136:
      return UINodesList2SEL();
    case 1140:
      return UIPutName_(argStr(a, 0));
    case 1141:
      return UIPutField__(argStr(a, 0), argStr(a, 1));
    case 1142:
      return UIDeleteMemoNode();
    case 1150:
      UIChangeView_(NodesMode::CheckListBox);
      return 0;
    case 1151:
      UIChangeView_(NodesMode::TreeView);
      return 0;
    case 1152:
      UIChangeView_(NodesMode::ListView);
      return 0;
    case 1200:
    case 1201:
    case 1202: {
      MemoNode* node = UIMN_(argStr(a, 0), argStr(a, 1));
      if (!node) return -1;
      const auto lines = partOf_(*node, index - 1200);
      return lines ? static_cast<std::int64_t>(lines->size()) : 0;
    }
    case 1203:
    case 1204: {
      MemoNode* node = UIMN_(argStr(a, 0), argStr(a, 1));
      if (!node || refuseScriptWrite_(*node)) return -1;
      return appendPart_(*node, index - 1203, argStr(a, 2));
    }
    case 1205: {
      MemoNode* node = UIMN_(argStr(a, 0), argStr(a, 1));
      if (!node || refuseScriptWrite_(*node)) return -1;
      return putFieldExact_(*node, argStr(a, 2), argStr(a, 3));
    }
    default:
      return 0;
  }
}

std::string TFormMainScript::strFuncParam_(int index, const ScriptArguments& a) {
  switch (index) {
    case 3001: {
      const std::string s = argStr(a, 0);
      return s.substr(0, s.find_first_of(" \t"));
    }
    case 3002: {
      const std::string s = argStr(a, 0);
      const std::size_t at = s.find_first_of(" \t");
      return at == std::string::npos ? std::string() : trim_(std::string_view(s).substr(at));
    }
    case 3003:
      return unquote_(argStr(a, 0));
    case 3101:
      return getCurMemoNode() ? getCurMemoNode()->getName() : std::string();
    case 3102:
      return UIGetField_(argStr(a, 0));
    case 3103:
      return UIRemoveField_(argStr(a, 0));
    case 3104:
      return getCurHolder() ? getCurHolder()->getName() : std::string();
    case 3201:
    case 3202:
    case 3203: {
      MemoNode* node = UIMN_(argStr(a, 0), argStr(a, 1));
      if (!node) return {};
      const auto lines = partOf_(*node, index - 3201);
      const int i = argInt(a, 2);
      if (!lines || i < 0 || i >= static_cast<int>(lines->size())) return {};
      return (*lines)[static_cast<std::size_t>(i)];
    }
    case 3204: {
      MemoNode* node = UIMN_(argStr(a, 0), argStr(a, 1));
      return node ? node->getField_(argStr(a, 2)) : std::string();
    }
    default:
      return {};
  }
}

// --- the current node through the editor

int TFormMainScript::UIPutName_(const std::string& name) {
  if (trim_(name).empty()) return -1;
  if (isUIReadOnly()) {
    messageDoing_("UIReadOnly=\"true\"");
    return -1;
  }
  MemoNode* node = getCurMemoNode();
  auto* editor = dynamic_cast<TFrameMemoNode*>(&getFrameMemoHolder()->nodeEditor());
  if (!node || !editor) return -1;
  if (node->isReadOnly()) {
    messageDoing_("flagReadOnly=\"true\"");
    return -1;
  }
  editor->putNameLine_(name);
  editor->UI2Model();
  return 0;
}

int TFormMainScript::UIPutField__(const std::string& key, const std::string& value) {
  MemoNode* node = getCurMemoNode();
  if (!node || !isEditorNode_(*node)) return -1;
  std::string quoted = value;
  if (quoted.empty() || quoted.front() != '"') quoted.insert(quoted.begin(), '"');
  if (quoted.size() < 2 || quoted.back() != '"') quoted.push_back('"');
  return putFieldExact_(*node, key, quoted);
}

std::string TFormMainScript::UIGetField_(const std::string& key) {
  MemoNode* node = getCurMemoNode();
  if (!node) return {};
  const auto fields = partOf_(*node, 2);
  const int at = indexOfKey(*fields, key);
  if (at < 0) return {};
  return unquote_(std::string_view((*fields)[static_cast<std::size_t>(at)]).substr(key.size() + 1));
}

std::string TFormMainScript::UIRemoveField_(const std::string& key) {
  MemoNode* node = getCurMemoNode();
  if (!node || refuseScriptWrite_(*node)) return {};
  UI2Model();  // the editor's other edits are kept
  std::string line = node->removeField_(key);
  if (line.empty()) return line;
  markChanged(*node);
  // The editor shows the field no more, so its next commit cannot restore it.
  if (isEditorNode_(*node)) getFrameMemoHolder()->nodeEditor().showNode_(node);
  return line;
}

bool TFormMainScript::isEditorNode_(const MemoNode& node) {
  auto* editor = dynamic_cast<TFrameMemoNode*>(&getFrameMemoHolder()->nodeEditor());
  return editor && editor->getNode() == &node;
}

bool TFormMainScript::refuseScriptWrite_(MemoNode& node) {
  if (isUIReadOnly() || node.isReadOnlyInherited()) return true;
  const auto* holder = dynamic_cast<const MemoHolder*>(node.getHolder());
  return holder && holder->isReadOnlyHolder();
}

MemoNode* TFormMainScript::UIMN_(const std::string& holderName, const std::string& nodeName) {
  MemoHolder* current = getCurHolder();
  for (auto it = aUIMNCache.begin(); it != aUIMNCache.end(); ++it) {
    if (it->holderName != holderName || it->nodeName != nodeName) continue;
    MemoNode* node = it->node.get();
    // Used only while the node lives and still has those names.
    const bool valid =
        node && node->getName() == nodeName &&
        (holderName.empty() ? current && node->getHolder() == current
                            : node->getHolder() && node->getHolderName() == holderName);
    const UIMNEntry entry = *it;
    aUIMNCache.erase(it);
    if (!valid) break;
    aUIMNCache.push_front(entry);
    return node;
  }
  MemoHolder* holder = nullptr;
  if (holderName.empty()) {
    holder = current;
  } else {
    for (int i = 0; i < aFile->countOfHolders(); ++i)
      if (aFile->holderAt_(i)->getName() == holderName) {
        holder = aFile->holderAt_(i);
        break;
      }
  }
  if (!holder || (!holder->flagLoaded && !loadTargetHolder_(*holder))) return nullptr;
  for (int i = 0; i < holder->countOfNodes(); ++i) {
    MemoNode* node = holder->nodeAt_(i);
    if (node->getName() != nodeName) continue;
    aUIMNCache.push_front({holderName, nodeName, WeakRef<MemoNode>(node)});
    if (aUIMNCache.size() > kUIMNCacheSize) aUIMNCache.pop_back();
    return node;
  }
  return nullptr;
}

std::optional<StringList> TFormMainScript::partOf_(MemoNode& node, int part) {
  if (isEditorNode_(node)) {
    auto* editor = static_cast<TFrameMemoNode*>(&getFrameMemoHolder()->nodeEditor());
    if (part == 0 && editor->isMemoShown() && !editor->isMemoBorrowed())
      return splitLines(boxText(editor->memoEditor()));
    if (part == 1) {
      const std::string text = boxText(editor->commentEditor());
      if (text.empty() && !node.aComment) return std::nullopt;
      return splitLines(text);
    }
    if (part == 2) return splitLines(boxText(editor->fieldsEditor()));
  }
  if (part == 0) return node.aMemo;
  if (part == 1) return node.aComment;
  return node.aFields;
}

int TFormMainScript::appendPart_(MemoNode& node, int part, const std::string& line) {
  markChanged(node);
  if (isEditorNode_(node)) {
    auto* editor = static_cast<TFrameMemoNode*>(&getFrameMemoHolder()->nodeEditor());
    QPlainTextEdit* box = part == 0 ? editor->memoEditor() : editor->commentEditor();
    if (part != 0 || (editor->isMemoShown() && !editor->isMemoBorrowed())) {
      box->appendPlainText(sjisToQString(line));
      return box->blockCount();
    }
  }
  if (part == 0) {
    node.aMemo.push_back(line);
    return static_cast<int>(node.aMemo.size());
  }
  if (!node.aComment) node.aComment.emplace();
  node.aComment->push_back(line);
  return static_cast<int>(node.aComment->size());
}

int TFormMainScript::putFieldExact_(MemoNode& node, const std::string& key,
                                    const std::string& value) {
  markChanged(node);
  if (!isEditorNode_(node)) return node.putField_(key, value);
  QPlainTextEdit* box =
      static_cast<TFrameMemoNode*>(&getFrameMemoHolder()->nodeEditor())->fieldsEditor();
  StringList fields = splitLines(boxText(box));
  int at = indexOfKey(fields, key);
  if (at < 0) {
    fields.push_back(key + "=" + value);
    at = static_cast<int>(fields.size()) - 1;
  } else {
    fields[static_cast<std::size_t>(at)] = key + "=" + value;
  }
  std::string text;
  for (std::size_t i = 0; i < fields.size(); ++i) text += (i ? "\n" : "") + fields[i];
  box->setPlainText(sjisToQString(text));
  return at;
}

// --- lists into the node editor

int TFormMainScript::UIPPADefine2SEL() {
  return runCommand_(
      *this, {"UIPPADefine2SEL", kCheckBusy | kCheckUIReadOnly | kCheckHolderReadOnly}, [this] {
        TaskScope task(*this, "UIFunctionList2Sel");
        StringList lines = aPP1->Define;
        lines.insert(lines.end(), aPP1->DeclarePrototype.begin(), aPP1->DeclarePrototype.end());
        insertAtSelection_(lines);
        return static_cast<int>(lines.size());
      });
}

int TFormMainScript::UIVersion2SEL() {
  return runCommand_(*this, {"UIVersion2SEL", kCheckUIReadOnly | kCheckHolderReadOnly}, [this] {
    StringList lines;
    writeVersionTS_(lines);
    insertAtSelection_(lines);
    messageDoing_(programPath_() + " Ver " + getVersionText());
    return -1;
  });
}

int TFormMainScript::UIFileMXA2SEL() {
  return runCommand_(
      *this,
      {"UIFileMXA2SEL", kCheckBusy | kCheckUIReadOnly | kCheckHolderReadOnly, kRefusedBusy, -1},
      [this] {
        TaskScope task(*this, "UIFileMXA2Sel");
        StringList lines;
        aFile->writeFileXML_(lines);
        insertAtSelection_(lines);
        return 0;
      });
}

int TFormMainScript::UIFieldsList2SEL() {
  return runCommand_(
      *this, {"UIFieldsList2SEL", kCheckBusy | kCheckUIReadOnly | kCheckHolderReadOnly}, [this] {
        TaskScope task(*this, "UIFieldsList2Sel");
        MemoHolder* holder = getCurHolder();
        StringList keys;
        for (int i = 0; i < holder->countOfNodes(); ++i)
          for (const std::string& line : holder->nodeAt_(i)->aFields) {
            const std::string key = trim_(line.substr(0, line.find('=')));
            if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
          }
        insertAtSelection_(keys);
        return static_cast<int>(keys.size());
      });
}

int TFormMainScript::UIMarkList2SEL() {
  return runCommand_(*this, {"UIMarkList2SEL"}, [this] {
    auto* holder = static_cast<MemoHolderUI*>(getCurHolder());
    if (!holder) return -8;
    if (!holder->getView()) return -7;
    TaskScope task(*this, "UIMarkList2Sel " + holder->getName());
    NodeList marked;
    holder->listMarked_(marked);
    StringList names;
    for (const auto& entry : marked) names.push_back(entry.first);
    insertAtSelection_(names);
    return 0;
  });
}

int TFormMainScript::UINodesList2SEL() {
  return runCommand_(*this, {"UINodesList2SEL"}, [this] {
    auto* holder = static_cast<MemoHolderUI*>(getCurHolder());
    if (!holder || !holder->getView()) return -9;
    StringList names;
    for (int i = 0; i < holder->countOfNodes(); ++i) names.push_back(holder->nodeAt_(i)->getName());
    insertAtSelection_(names);
    return 0;
  });
}

}  // namespace vrk
