#pragma once
// Level 3 of the main window: the bridge between the window and the node
// editor (UI2Model, Model2UI), the caption, the temporary directory, the
// place of the script host, and the user commands on the memo file and its
// holders (TFormMainScriptFiles.cpp, TFormMainScriptHolders.cpp). Each command runs in the
// command frame (CommandFrame.h) and answers 0 or a count for done, a
// negative code for refused or cancelled.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/LiveRegistry.h"
#include "print/TStringsPrinter.h"
#include "print/qt/StringsPrinting.h"
#include "script/DErevAzozev.h"
#include "script/PPACo.h"
#include "shell/MemoHolderUI.h"
#include "shell/TFormMainBaseVRK.h"
#include "text/LocalTime.h"

namespace vrk {

class TFormSendMail2;
class TFormEditSelNode;
class TFormField;
class TFormGrep;
class TFormGroupTree;
class TFormSelField;
class TFormScanHolder;
class TFormScanHolders;
class TFormScanNode;

class TFormMainScript : public TFormMainBaseVRK {
  Q_OBJECT

 public:
  // The shared dialogs start with this filter; a command that sets none
  // shows the one set last.
  static constexpr std::string_view kDefaultFilter =
      "All(*.*)|*.*|Text(*.txt)|*.txt|JPEG(*.jpg)|*.jpg;*.jpe;*.jpeg|MemoHolder(*.mxh)|*.mxh|"
      "MemoFile(*.mxa)|*.mxa|HTML(*.html)|*.html;*.htm|XML(*.xml)|*.xml;*.xsl";

  TFormMainScript(const Services& services, FormKey key);
  ~TFormMainScript() override;
  // Builds the script host and reads the print settings.
  void formCreate() override;

  int UI2Model() override;
  void updateCaption() override;
  int showCurMemoNodeInList() override;
  void Model2UI() override;
  QPlainTextEdit* getLogMemo() override;
  // Runs the node's memo on PP1: 0, -9 without node, -8 while PP1 runs. The
  // "*Autoexec.ppa" node of a memo file runs only once the user agreed.
  int PlayScript(MemoNode* node) override;
  std::string getTempDir() const override;
  void putTempDir_(std::string_view dir) override;

  // --- the memo file (TFormMainScriptFiles.cpp)
  int UIOpenMemoFile();  // -2 busy or declined
  int UIOpenURL();
  int UINewMemoFile();
  int UISaveFileWithMSG();  // the size written
  int UISaveFileWithoutMSG();
  int _UISaveMemoFile();
  int saveAsMemoFile_(std::string_view ext);  // ".mxa" or ".maz"
  int UISaveAllHolders();                     // the number of holders saved
  int UIExplorer_();
  int UIOpenCurrentDir();
  int UIOpenExeFileDir();
  // --- desktop integration
  int UIAssociate();
  int UIUnassociate();
  int UIMakeShortCutLink();
  int UIOpenIniFile();

  // --- holders (TFormMainScriptHolders.cpp)
  int UIOpenMemoHolder();
  int UIOpenCSV();
  int UINewMemoHolder();
  int UINewHolderLeft();
  int UINewHolderRight();
  int UISaveHolderWithMSG();
  int UISaveHolderNoMSG();
  int UISaveAsHolder_(std::string_view ext);  // ".mxh" or ".mhz"
  // Saves the current holder: 0, -1 cancelled or failed.
  int _UISaveHolder();
  int UIExplorerMemoHolder();
  int UIReloadMemoHolder();
  int UIReLoadEach();  // the number of nodes reloaded
  int UISetRelativePathEach();
  int UIExtractFilenameEach();
  int UISetUpdateEach();
  int UIRenameMemoHolder();
  int UIRenameMemoHolderOther();
  int UIDeleteMemoHolder();
  int UICloneMemoHolder();
  int UIMoveHolderRight();
  int UIMoveHolderLeft();
  // The view switch of the holder menu.
  int UIChangeView_(NodesMode mode);
  int UICSV2Holder();
  int UICSV2SEL();  // the number of lines
  int UINameValue2SEL(bool valueFirst);
  int UIHolderList2SEL();

  // --- nodes (TFormMainScriptNodes.cpp)
  int UINewChild();  // -9 without a current node
  // A child holding the current node's memo converted: "EUC2SJIS", "JIS2SJIS"
  // or "SJIS2JIS". -9 without a current node, -2 for a binary node.
  int UINewChildConvert(std::string_view name);
  int UINewNodeFile();
  int UINewNodeImage();
  int UINewNodeImageScreen();  // -6 when no picture was made
  int UINewNodeImageIcon();
  int UINewNodeURL();  // -6 cancelled
  int UINewNodeURLDir();
  int UINewNodeURLFile();
  int UINewNodePoser();
  int UINewNodePoserLike();
  int UINewChildImage();
  int UINewChildImageScreen();
  int UINewChildURL();
  int UICloneMemoNodeAndChild();  // 1 done, 0 otherwise
  int UIDeleteMarkNodes();        // the number deleted
  int UIMove1To();
  int UICopy1To();
  int UICopyMarksTo();
  int UIMoveMarksTo();
  int UIMoveMarksSelf();
  int UIMarkAll();
  int UIUnMarkAll();
  int UIReverseMarks();
  int UIMemoNode2NewNodes();  // the number of nodes made
  int UIMemoNode2Holder();
  int UINumbers();
  int UINumbers10();
  int UINumbers100();
  int UINumbersPlus10();
  // Nodes named by FormatNumber for from..to; the number made.
  int numbers_(std::int64_t from, std::int64_t to);
  // The week of today + 7 * weeks.
  int UIDaysOfWeek(int weeks);
  // This month (0) or the next one (1); UIDaysOfMonthAny asks "YYYYMM".
  int UIDaysOfMonth(int months);
  int UIDaysOfMonthAny();
  int UIDaysOfYear(int year);  // the number of days
  int UIDaysOfYearNext();
  int UIDaysOfYearAny();   // asks, the current year proposed
  int UISaveAsMemoNode();  // -9 without a node
  // UISaveAsMemoNode, then the node's file opened or its folder explored.
  int UISaveAsMemoNodeExplorer();

  // --- the script host (TFormMainScriptHost.cpp)
  DErevAzozev& getPP1() { return *aPP1; }
  PPACo& getPPACo() { return *aPPACo; }
  int UIEval();      // the selection of the editor's active memo; -1
  int UIEvalMemo();  // the node editor's whole memo; 0
  int UIPPADefine2SEL();
  int UIVersion2SEL();
  int UIFileMXA2SEL();
  int UIFieldsList2SEL();
  int UIMarkList2SEL();
  int UINodesList2SEL();
  // The script branch of New Child Executed: the current ".ppa" node plays on
  // a free runner and what it printed with PrintBuf becomes a new child.
  // 0, -1 when the script failed, -102 without a runner; -9 without a node,
  // -2 for an empty script or one stopped.
  int UINewChildExecutedPPA();
  // Stops every script that runs (Break, closing the window).
  void stopScripts_();
  bool isScriptRunning() const;
  // Autoexec consent: the file of memo files whose autoexec always runs.
  std::string trustedScriptsPath() const;
  std::string aTrustedScriptsPath;  // set by tests; empty: beside the settings
  // When set, the answer for every autoexec, asked of nobody (the tool's --trust).
  std::optional<bool> aAutoexecAnswer;
  // Runs the lines on PP1 (within a running script: in a context of its own):
  // the error message, nullopt when it ran through.
  std::optional<std::string> runOnPP1_(const StringList& lines);
  // --- search (TFormMainScriptSearch.cpp)
  int UIShowScanMemoHolders();
  int UIShowScanMemoHolder();  // -9 without a current holder
  // The node (under the current one) of its memo lines that match, named
  // after the keyword. mode: text/LineLists.h.
  int UINewChildGrep(std::string_view keyword, int mode, bool ignore, bool numbered, bool negate);
  // Asks the options (-6 cancelled); with caption, the keyword is the
  // caption and the options are those asked last.
  int UINewChildGrepAny();
  int UINewChildGrepCaption_(std::string_view caption);
  TFormScanHolders* getFormScanHolders();  // created on first use
  TFormScanHolder* getFormScanHolder();
  TFormGrep* getFormGrep();
  TFormEditSelNode* getFormEditSelNode();
  TFormField* getFormField();
  TFormScanNode* getFormScanNode();
  // The modal scan window of the current node; -9 without one.
  int UIShowScanMemoNode();
  // The windows of "GroupTree" and "SelField", shown (they have no work yet).
  int T_GroupTree();
  int T_SelField();
  int UIShowScanField();
  // Every node of the current holder into the selected-node editor.
  int UIEditAllMemoNode();
  // The keywords of every scan window, newest first, each once (letter case
  // ignored); no limit.
  void addKeywordHistory_(std::string_view keyword);
  StringList aKeywordHistory;

  // The holder as the CSV import makes it from text lines (the title line,
  // the column names, one record per line): appended, or null when the text
  // has no columns. The columns become fields only.
  // The status text of _UISaveHolder's size: bytes up to 1024, else KBytes.
  static std::string savedSizeText_(long long size);

  // The filter of the shared dialogs, kept between commands.
  std::string aOpenFilter{kDefaultFilter};
  std::string aSaveFilter{kDefaultFilter};
  // The scratch lists of the commands.
  StringList aNodesList;
  StringList aTextList;

  // --- printing (the settings are loaded from "vrkprint.ini" at creation)
  int UIPrintMemoNode();   // 0, -1 failed, -6 cancelled
  int UIPrintsHolder();    // the nodes printed
  int UIPrintsMarkNode();  // the marked nodes printed
  int UIPrintFormat();     // the settings dialog on the current node's memo
  int UIPrinterSetup();
  TStringsPrinter aStringsPrinter;

  // --- mail: the send window, made on first use and kept
  int UISendMail();  // -1 busy, -8 no current node
  TFormSendMail2* getFormSendMail2() const { return aFormSendMail2; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Runs change on every node of the current holder as one command (refused
  // when busy or read-only; -9 without nodes), then marks the holder changed.
  int changeEachNode_(std::string_view command, std::string_view task,
                      const std::function<void(MemoHolder&, MemoNode&)>& change);
  // Shows the current holder in the view of mode; the frame's. 0, or -1.
  virtual int switchHolderView_(NodesMode mode);
  // The text replaces the selection of the node editor's active memo and is
  // left selected. 0, or -1 when there is no editor.
  int insertAtSelection_(const StringList& lines);
  // Makes the folder of a file that is about to be written, after asking.
  // true when it exists (or was made).
  bool ensureFolder_(const std::string& dir);
  // The program's file as a stored path.
  static std::string programPath_();

 private:
  // A creation command: its task, a node of the kind (under the current node
  // when asChild), the closing message with suffix, or failure.
  int newNodeCommand_(std::string_view command, std::string_view task, std::string_view name,
                      NodeKind kind, bool asChild, std::string_view done, std::string_view failure);
  int newImageScreen_(bool asChild);
  // The holder nodes go into: the dialog over every holder (the current one
  // left out when excludeCurrent), a new one appended when none is chosen.
  // Null when cancelled; *created tells whether it is new.
  MemoHolder* chooseTarget_(bool excludeCurrent, bool* created);
  int moveOrCopy1To_(bool move);
  // Nodes made one per name, each renamed (with Filename the name when
  // withFilename); stops at a refusal or Break. The number made.
  int generateNodes_(std::int64_t count,
                     const std::function<std::optional<std::string>(std::int64_t)>& nameOf,
                     bool withFilename);
  int days_(std::string_view task, const std::vector<LocalTime>& days);
  int changeMarks_(std::string_view command, int how);
  // One node on the printer as its kind prints (text, fields, picture or a
  // page naming it).
  PrintOutcome printNode_(MemoNode& node);
  // Every node in a task of its own, Break honoured: how many were printed.
  int printNodes_(std::string_view task, std::string_view what,
                  const std::vector<MemoNode*>& nodes);

  TFormSendMail2* aFormSendMail2 = nullptr;  // a child window

  // --- the script host
  void buildPP1_();
  void procParam_(int index, const ScriptArguments& a, int& err);
  std::int64_t intFuncParam_(int index, const ScriptArguments& a);
  std::string strFuncParam_(int index, const ScriptArguments& a);
  void printBuf_(const std::string* runnerName, const std::string& line);
  int selectNode_(MemoNode* node);
  int renameCurrent_(int result, MemoNode* before, const std::string& name);
  int UIPutName_(const std::string& name);
  int UIPutField__(const std::string& key, const std::string& value);
  std::string UIGetField_(const std::string& key);
  std::string UIRemoveField_(const std::string& key);
  // The node of the UIMN routines: holder by name (empty: the current one),
  // its first node of that name, both exact; null when not found.
  MemoNode* UIMN_(const std::string& holderName, const std::string& nodeName);
  // Memo (0), comment (1) or fields (2) of the node, from the editor when it
  // is the current node. nullopt for a comment that is absent.
  std::optional<StringList> partOf_(MemoNode& node, int part);
  int appendPart_(MemoNode& node, int part, const std::string& line);
  int putFieldExact_(MemoNode& node, const std::string& key, const std::string& value);
  bool refuseScriptWrite_(MemoNode& node);
  bool isEditorNode_(const MemoNode& node);
  bool consentAutoexec_();

  struct UIMNEntry {
    std::string holderName;
    std::string nodeName;
    WeakRef<MemoNode> node;
  };
  std::unique_ptr<DErevAzozev> aPP1;
  std::unique_ptr<PPACo> aPPACo;
  std::unique_ptr<ScriptHost> aScriptHost;
  std::deque<UIMNEntry> aUIMNCache;              // most recent first, at most 10
  std::map<std::string, bool> aAutoexecAnswers;  // memo file path -> run
  bool flagCloseAfterScript = false;

  TFormScanHolders* aFormScanHolders = nullptr;  // owned by the window (Qt parent)
  TFormScanHolder* aFormScanHolder = nullptr;
  TFormGrep* aFormGrep = nullptr;
  TFormEditSelNode* aFormEditSelNode = nullptr;
  TFormField* aFormField = nullptr;
  TFormScanNode* aFormScanNode = nullptr;
  TFormGroupTree* aFormGroupTree = nullptr;
  TFormSelField* aFormSelField = nullptr;
};

}  // namespace vrk
