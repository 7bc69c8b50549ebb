#include "commands/MenuMap.h"

namespace vrk {
namespace {

constexpr std::string_view kFile = "&File";
constexpr std::string_view kHolder = "[Holder]";
constexpr std::string_view kMarkNode = "MarkNode";
constexpr std::string_view kMemoNode = "[MemoNode]";
constexpr std::string_view kNewNode = "NewNode";
constexpr std::string_view kMarkWord = "[MarkWord]";
constexpr std::string_view kJump = "Jump";
constexpr std::string_view kScan = "Scan";
constexpr std::string_view kForm = "[Form]";
constexpr std::string_view kWindow = "Window";
constexpr std::string_view kInstall = "[Install]";
constexpr std::string_view kScript = "Script";
constexpr std::string_view kHelp = "&Help";

}  // namespace

const std::vector<std::string_view>& mainMenuCaptions() {
  static const std::vector<std::string_view> captions = {
      kFile, kHolder, kMarkNode, kMemoNode, kNewNode, kMarkWord, kJump, kScan,
      kForm, kWindow, kInstall,  kScript,   kHelp,    "T1",      "T2",  "T3"};
  return captions;
}

const std::vector<MenuEntry>& mainMenuTable() {
  static const std::vector<MenuEntry> table = {
      // --- &File
      {kFile, "", "&Open File", "UIOpenMemoFile"},
      {kFile, "", "Open URL", "UIOpenURL"},
      {kFile, "", "New", "UINewMemoFile"},
      {kFile, "", "-", "", kSeparator},
      {kFile, "", "&Save(Message)", "UISaveFileWithMSG"},
      {kFile, "", "Save(No Message)", "UISaveFileWithoutMSG"},
      {kFile, "", "Save &As MXA", "saveAsMemoFile_(.mxa)"},
      {kFile, "", "Save As MAZ", "saveAsMemoFile_(.maz)"},
      {kFile, "", "Save All Holders", "UISaveAllHolders(after UISaveFileWithoutMSG)"},
      {kFile, "", "-", "", kSeparator},
      {kFile, "", "Propaty", "UIShowPropatyMXA2", kLater},
      {kFile, "", "Holders Propaty", "UIShowPropatyHolders", kLater},
      {kFile, "", "Explorer", "UIExplorer_"},
      {kFile, "", "-", "", kSeparator},
      {kFile, "", "Printer Setup", "UIPrinterSetup"},
      {kFile, "", "Print Format", "UIPrintFormat"},
      {kFile, "", "&Print1", "UIPrintMemoNode"},
      {kFile, "", "Hardcopy", "UIHardcopy"},
      {kFile, "", "-", "", kSeparator},
      {kFile, "", "&Exit", "closeNormal", kNoBusyCheck},
      {kFile, "", "Exit(All Yes)", "closeAllYes", kNoBusyCheck},

      // --- [Holder]
      {kHolder, "", "&Open", "UIOpenMemoHolder"},
      {kHolder, "", "Open CSV", "UIOpenCSV"},
      {kHolder, "", "New", "UINewMemoHolder"},
      {kHolder, "", "&Save(Message)", "UISaveHolderWithMSG"},
      {kHolder, "", "Save(NoMessage)", "UISaveHolderNoMSG"},
      {kHolder, "SaveAs Force", "MXH(.mxh)", "UISaveAsHolder_(.mxh)"},
      {kHolder, "SaveAs Force", "MHZ(.mhz)", "UISaveAsHolder_(.mhz)"},
      {kHolder, "Extra", "Explorer", "UIExplorerMemoHolder"},
      {kHolder, "Extra", "Edit All MemoNode", "UIEditAllMemoNode"},
      {kHolder, "Extra", "Sort Name", "UISortMemoHolder", kLater},
      {kHolder, "Extra", "Sort Field", "UISortField"},
      {kHolder, "Extra", "Group Tree", "UIGroupTree"},
      {kHolder, "Extra", "Reverse", "UIReverseMemoHolder", kLater},
      {kHolder, "Extra", "Field->Name", "UIField2Name", kLater},
      {kHolder, "Extra", "Set Update", "UISetUpdateEach"},
      {kHolder, "Extra", "ReLoad", "UIReloadMemoHolder"},
      {kHolder, "Extra", "HTML", "UIHolderHTML", kLater},
      {kHolder, "Extra", "HTML List", "UIHolderHTMLList", kLater},
      {kHolder, "Extra", "HTML Calendar", "UIHolderHTMLCalendar", kLater},
      {kHolder, "Extra", "Recive Mail", "UIShowReciveMail", kLater},
      {kHolder, "Each", "Set Relative Path", "UISetRelativePathEach"},
      {kHolder, "Each", "ExtractFilename", "UIExtractFilenameEach"},
      {kHolder, "Each", "ReLoad Each", "UIReLoadEach"},
      {kHolder, "Each", "Show FormSaveEach", "UIShowFormSaveEach", kLater},
      {kHolder, "", "Rename", "UIRenameMemoHolder"},
      {kHolder, "", "Prints", "UIPrintsHolder"},
      {kHolder, "", "&Propaty", "UIShowPropatyHolder", kLater},
      {kHolder, "", "Fields", "UIShowHolderFields", kLater},
      {kHolder, "", "Delete", "UIDeleteMemoHolder"},
      {kHolder, "", "Clone", "UICloneMemoHolder"},
      {kHolder, "", "-", "", kSeparator},
      {kHolder, "", "CheckListBox", "UIChangeView_(CheckListBox)", kCheckable | kChecked},
      {kHolder, "", "TreeView", "UIChangeView_(TreeView)", kCheckable},
      {kHolder, "", "ListView", "UIChangeView_(ListView)", kCheckable},

      // --- MarkNode
      {kMarkNode, "", "Mark ALL", "UIMarkAll"},
      {kMarkNode, "", "UnMark　ALL", "UIUnMarkAll"},
      {kMarkNode, "", "Reverse", "UIReverseMarks"},
      {kMarkNode, "", "Delete", "UIDeleteMarkNodes"},
      {kMarkNode, "", "Copy To", "UICopyMarksTo"},
      {kMarkNode, "", "Move To", "UIMoveMarksTo"},
      {kMarkNode, "", "Move To Self", "UIMoveMarksSelf"},
      {kMarkNode, "", "Prints", "UIPrintsMarkNode"},
      {kMarkNode, "", "Save Each Over", "UISaveEachOver", kLater},
      {kMarkNode, "", "Show FormSaveEach", "UIShowFormSaveEach", kLater},

      // --- [MemoNode]
      {kMemoNode, "", "New", "UINewNode"},
      {kMemoNode, "", "Rename", "UIRenameMemoNode", kLater},
      {kMemoNode, "", "Clone", "UICloneMemoNode(1)"},
      {kMemoNode, "", "Copy1To", "UICopy1To"},
      {kMemoNode, "", "Move1To", "UIMove1To"},
      {kMemoNode, "", "Delete", "UIDeleteMemoNode"},
      {kMemoNode, "", "Save As", "UISaveAsMemoNode"},
      {kMemoNode, "", "Save As && Explorer", "UISaveAsMemoNodeExplorer"},
      {kMemoNode, "", "Print", "UIPrintMemoNode"},
      {kMemoNode, "Extra", "Explorer Filename", "UIExplorerFilename", kLater},
      {kMemoNode, "Extra", "Explorer Link", "UIExplorerLink", kLater},
      {kMemoNode, "Extra", "Open Filename", "UIOpenFilename", kLater},
      {kMemoNode, "Extra", "Open Link", "UIOpenLink", kLater},
      {kMemoNode, "Extra", "Field2", "UIShowPropatyNode2", kLater},
      {kMemoNode, "Extra", "Make link.html", "UIMakeLinkHTML", kLater},
      {kMemoNode, "Extra", "Send Mail", "UIShowSendMail"},
      {kMemoNode, "Extra", "Set Relative Path", "UISetRelativePath", kLater},
      {kMemoNode, "Extra", "Exists Filename", "UIExistsFilename", kLater},
      {kMemoNode, "Extra", "ReLoad", "UIReLoadMemoNode", kLater},
      {kMemoNode, "Extra", "Execute", "UIExecuteMemoNode", kLater},
      {kMemoNode, "", "Scan", "UIShowScanMemoNode"},
      {kMemoNode, "", "Read Window", "UIShowFormMemoNodeReadOnly", kLater},
      {kMemoNode, "", "Other Window", "UIShowFormMemoNode", kLater},
      {kMemoNode, "", "ReadOnly", "UIReadOnlyMemoNode", kLater | kCheckable},
      {kMemoNode, "", "Clear", "UIClearMemo", kLater},
      {kMemoNode, "", "Count Word", "UICountWord", kLater},
      {kMemoNode, "", "Sort", "UISortMemo", kLater},
      {kMemoNode, "", "Number", "UINumberMemo", kLater},
      {kMemoNode, "", "NoDup", "UINoDupMemo", kLater},
      {kMemoNode, "", "Mark Dup", "UIMarkDupMemo", kLater},
      {kMemoNode, "", "->Web Browser", "UIMemoNode2WB", kLater},
      {kMemoNode, "", "Eval", "UIEvalMemo"},

      // --- NewNode
      {kNewNode, "", "File", "UINewNodeFile"},
      {kNewNode, "", "Image", "UINewNodeImage"},
      {kNewNode, "", "Image Screen", "UINewNodeImageScreen"},
      {kNewNode, "", "Image Icon from File", "UINewNodeImageIcon"},
      {kNewNode, "", "URL", "UINewNodeURL"},
      {kNewNode, "", "URL(Directory)", "UINewNodeURLDir"},
      {kNewNode, "", "URL(File)", "UINewNodeURLFile"},
      {kNewNode, "", "Poser", "UINewNodePoser"},
      {kNewNode, "", "PoserLike", "UINewNodePoserLike"},
      {kNewNode, "", "Memo->Current Holder", "UIMemoNode2NewNodes"},
      {kNewNode, "", "Memo->New Holder", "UIMemoNode2Holder"},
      {kNewNode, "Numbers", "+10", "UINumbersPlus10"},
      {kNewNode, "Numbers", "001-010", "UINumbers10"},
      {kNewNode, "Numbers", "001-100", "UINumbers100"},
      {kNewNode, "Numbers", "Numbers", "UINumbers"},
      {kNewNode, "Days of Week", "This Week", "UIDaysOfWeek(0)"},
      {kNewNode, "Days of Week", "Next Week", "UIDaysOfWeek(1)"},
      {kNewNode, "Days of Week", "Prev Week", "UIDaysOfWeek(-1)"},
      {kNewNode, "Days of Month", "This Month", "UIDaysOfMonth(0)"},
      {kNewNode, "Days of Month", "Next Month", "UIDaysOfMonth(1)"},
      {kNewNode, "Days of Month", "Any Month", "UIDaysOfMonth(any)"},
      {kNewNode, "Days of Year", "This Year", "UIDaysOfYear(0)"},
      {kNewNode, "Days of Year", "Next Year", "UIDaysOfYear(1)"},
      {kNewNode, "Days of Year", "Any Year", "UIDaysOfYear(any)"},
      {kNewNode, "", "CSV->Holder", "UICSV2Holder"},

      // --- [MarkWord]
      {kMarkWord, "", "trim", "UITrimSEL", kLater},
      {kMarkWord, "Add Head", ">", "UIAddHeadSEL(>)", kLater},
      {kMarkWord, "Add Head", "(SPACE)", "UIAddHeadSEL( )", kLater},
      {kMarkWord, "Add Head", "*", "UIAddHeadSEL(*)", kLater},
      {kMarkWord, "Add Head", "●", "UIAddHeadSEL(●)", kLater},
      {kMarkWord, "Add Head", "◎", "UIAddHeadSEL(◎)", kLater},
      {kMarkWord, "Add Head", "○", "UIAddHeadSEL(○)", kLater},
      {kMarkWord, "Add Head", "(Anything)", "UIAddHeadAny", kLater},
      {kMarkWord, "Add Tail", "<BR>", "UIAddTailSEL(<BR>)", kLater},
      {kMarkWord, "Add Tail", "(Anything)", "UIAddTailAny", kLater},
      {kMarkWord, "DEL Head", "1", "UIDelHeadSEL(1)", kLater},
      {kMarkWord, "DEL Head", "2", "UIDelHeadSEL(2)", kLater},
      {kMarkWord, "DEL Head", "3", "UIDelHeadSEL(3)", kLater},
      {kMarkWord, "DEL Head", "4", "UIDelHeadSEL(4)", kLater},
      {kMarkWord, "DEL Head", "5", "UIDelHeadSEL(5)", kLater},
      {kMarkWord, "DEL Head", "6", "UIDelHeadSEL(6)", kLater},
      {kMarkWord, "DEL Head", "Any", "UIDelHeadAny", kLater},
      {kMarkWord, "", ",LF", "UICommaLF", kLater},
      {kMarkWord, "", "OneLine", "UIOneLine", kLater},
      {kMarkWord, "", "Sort", "UISortSEL", kLater},
      {kMarkWord, "", "Reverse", "UIReverseSEL", kLater},
      {kMarkWord, "Set Number", "Auto", "UISetNumberSEL_(auto)", kLater},
      {kMarkWord, "Set Number", "%2d", "UISetNumberSEL_(%2d)", kLater},
      {kMarkWord, "Set Number", "%.2d", "UISetNumberSEL_(%.2d)", kLater},
      {kMarkWord, "Set Number", "%3d", "UISetNumberSEL_(%3d)", kLater},
      {kMarkWord, "Set Number", "%.3d", "UISetNumberSEL_(%.3d)", kLater},
      {kMarkWord, "", "Remove Empty Line", "UIRemoveEmptyLine", kLater},
      {kMarkWord, "", "Add Name", "UIAddNameSEL", kLater},
      {kMarkWord, "", "Add Name+", "UIAddNameSELPlus", kLater},
      {kMarkWord, "", "Replace Name", "UIReplaceNameSEL", kLater},
      {kMarkWord, "", "StatusBar", "UIStatusBar2SEL", kLater},
      {kMarkWord, "List", "All Nodes ", "UINodesList2SEL"},
      {kMarkWord, "List", "Mark Nodes", "UIMarkList2SEL"},
      {kMarkWord, "List", "Holders", "UIHolderList2SEL"},
      {kMarkWord, "List", "Fields", "UIFieldsList2SEL"},
      {kMarkWord, "List", "PPADefine", "UIPPADefine2SEL"},
      {kMarkWord, "List", "Name,Value", "UINameValue2SEL(false)"},
      {kMarkWord, "List", "Value,Name", "UINameValue2SEL(true)"},
      {kMarkWord, "", "Version", "UIVersion2SEL"},
      {kMarkWord, "", "File(MXA)", "UIFileMXA2SEL"},
      {kMarkWord, "", "CSV", "UICSV2SEL"},
      {kMarkWord, "", "Check Holder", "UICheckHolder2SEL", kLater},
      {kMarkWord, "", "TAGWordList", "UITAGWordList", kLater},
      {kMarkWord, "", "TBLUID", "UITBLUID2SEL", kLater},
      {kMarkWord, "", "->Web Browser", "UISEL2WB", kLater},
      {kMarkWord, "", "Eval", "UIEval"},

      // --- Jump
      {kJump, "", "Return", "UIReturn"},
      {kJump, "", "Forward", "UIForward"},
      {kJump, "", "History", "UIJumpHistory", kLater},
      {kJump, "", "Copy History", "UICopyHistory", kLater},
      {kJump, "", "Reset", "UIResetHistory", kLater},
      {kJump, "", "Push", "UIPushNode", kLater},
      {kJump, "", "Jump", "UIJumpList", kLater},
      {kJump, "", "Pop", "UIPopNode", kLater},
      {kJump, "", "Copy List", "UICopyJumpList", kLater},

      // --- Scan
      {kScan, "", "Holders", "UIShowScanMemoHolders"},
      {kScan, "", "Holder", "UIShowScanMemoHolder"},
      {kScan, "", "Node", "UIShowScanMemoNode"},
      {kScan, "", "Field", "UIShowFormField"},

      // --- [Form]
      {kForm, "", "Propaty", "UIShowPropatyAPL", kLater},
      {kForm, "Size&&Pos", "1600x1200", "UISizePos(1600x1200)", kLater},
      {kForm, "Size&&Pos", "1280x1024", "UISizePos(1280x1024)", kLater},
      {kForm, "Size&&Pos", "1024x768", "UISizePos(1024x768)", kLater},
      {kForm, "Size&&Pos", "800x600", "UISizePos(800x600)", kLater},
      {kForm, "Size&&Pos", "640x480", "UISizePos(640x480)", kLater},
      {kForm, "", "Max Height", "UIMaxHeight", kLater},
      {kForm, "", "Move Pos", "UIMovePos", kLater},
      {kForm, "", "Font", "UIFont", kLater},
      {kForm, "", "FontSize+", "UIFontSizeInc", kLater},
      {kForm, "", "FontSize-", "UIFontSizeDec", kLater},
      {kForm, "", "Comment", "UIShowComment", kLater | kCheckable | kChecked},
      {kForm, "", "Field", "UIShowField", kLater | kCheckable | kChecked},

      // --- Window
      {kWindow, "", "Calc", "UIStartCalc", kLater},
      {kWindow, "", "cmd.exe", "UIStartCmd", kLater},
      {kWindow, "", "Log", "showFormLog"},
      {kWindow, "", "FileList", "UIShowFileList", kLater},
      {kWindow, "", "Web Browser", "UIShowFormWB", kLater},
      {kWindow, "", "Mark Word", "UIShowMarkWord", kLater},
      {kWindow, "", "Express", "UIShowExpress", kLater},

      // --- [Install]
      {kInstall, "", "Associate \"mxa\", \"maz\"", "UIAssociate"},
      {kInstall, "", "Unassociate", "UIUnassociate"},
      {kInstall, "", "Make ShortCutLink", "UIMakeShortCutLink"},
      {kInstall, "", "Open ini file", "UIOpenIniFile"},

      // --- &Help
      {kHelp, "", "Manual(Internet J)", "UIManualJ", kLater},
      {kHelp, "", "Version", "showVersion"},
      {kHelp, "", "About", "UIShowAbout"},
      {kHelp, "", "CurrentDir", "UIOpenCurrentDir"},
      {kHelp, "", "ExeFileDir", "UIOpenExeFileDir"},

      // --- developer items
      {"T1", "", "&CurMemo", "T_CurMemo", kLater},
      {"T1", "", "Report", "T_Report", kLater},
      {"T1", "", "UI2Model", "T_UI2Model", kLater},
      {"T1", "", "Mode2UI", "T_Model2UI", kLater},
      {"T1", "", "Holders.count", "T_HoldersCount", kLater},
      {"T1", "", "FrameMemoNode", "T_FrameMemoNode", kLater},
      {"T1", "", "NodesList", "T_NodesList", kLater},
      {"T1", "", "NodesList+", "T_NodesListPlus", kLater},
      {"T1", "", "PrintTest", "T_PrintTest", kLater},
      {"T1", "", "&Debug", "T_Debug", kLater},
      {"T1", "", "ModeHoldersMngr", "T_ModeHoldersMngr", kLater},
      {"T1", "", "messageDo_", "T_messageDo_", kLater},
      {"T2", "", "DevelopNote", "T_DevelopNote", kLater},
      {"T2", "", "Manaul(Internet E)", "T_ManualE", kLater},
      {"T2", "", "Manual(Local)", "T_ManualLocal", kLater},
      {"T2", "", "ContentView", "T_ContentView", kLater},
      {"T2", "", "Uninstall", "T_Uninstall", kLater},
      {"T2", "", "Export HTML", "T_ExportHTML", kLater},
      {"T2", "", "Export Calender GXP", "T_ExportCalenderGXP", kLater},
      {"T2", "", "Make HTML", "T_MakeHTML", kLater},
      {"T2", "", "HTML holders", "T_HTMLHolders", kLater},
      {"T3", "", "SDI", "T_SDI", kLater},
      {"T3", "", "GroupTree", "T_GroupTree"},
      {"T3", "", "SelField", "T_SelField"},
      {"T3", "", "Edit Block", "T_EditBlock", kLater},
      {"T3", "", "Gen XML", "T_GenXML", kLater},
      {"T3", "", "Gen Book", "T_GenBook", kLater},
      {"T3", "", "RepareUID", "T_RepareUID", kLater},
  };
  return table;
}

const std::vector<MenuEntry>& tabMenuTable() {
  static const std::vector<MenuEntry> table = {
      {"", "", "Rename", "UIRenameMemoHolder"},
      {"", "", "Rename other", "UIRenameMemoHolderOther"},
      {"", "", "New", "UINewMemoHolder"},
      {"", "", "New Left", "UINewHolderLeft"},
      {"", "", "New Right", "UINewHolderRight"},
      {"", "", "Clone", "UICloneMemoHolder"},
      {"", "", "->", "UIMoveHolderRight"},
      {"", "", "<-", "UIMoveHolderLeft"},
      {"", "", "Delete", "UIDeleteMemoHolder"},
  };
  return table;
}

const std::vector<PanelEntry>& topPanelTable() {
  static const std::vector<PanelEntry> table = {
      {"New", "Create New MemoNode. ( text type )", "UINewNode"},
      {"SAVE", "Save Current Holder.", "UISaveHolderNoMSG"},
      {"Break", "Break ", "breakDoing", kNoBusyCheck},
      {"ReadOnly", "", "", kCheckable | kNoBusyCheck},
      {"Exit", "Exit force. not save files.", "terminateAsk_", kNoBusyCheck},
      {"Done", "Break force.", "endDoing_", kNoBusyCheck},
      {"URL", "Create New MemoNode. ( URL Type)", "UINewNodeURL"},
      {"Image", "Create New MemoNode. ( Image Type )", "UINewNodeImage"},
      {"Scan", "Make the List of MemoNode matched by keyword. ", "UIShowScanMemoHolders"},
      {"Holder", "", "UINewMemoHolder"},
      {"Internet", "", "", kCheckable | kNoBusyCheck},
      {"UP", "", "UIUpNode"},
      {"DOWN", "", "UIDownNode"},
      {"Return", "", "UIReturn"},
      {"Forward", "", "UIForward"},
  };
  return table;
}

}  // namespace vrk
