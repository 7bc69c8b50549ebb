#pragma once
// Level 3 of the main window: the bridge between the window and the node
// editor (UI2Model, Model2UI), the caption, the temporary directory, the
// place of the script host, and the user commands on the memo file and its
// holders (TFormMainScriptFiles.cpp, TFormMainScriptHolders.cpp). Each command runs in the
// command frame (CommandFrame.h) and answers 0 or a count for done, a
// negative code for refused or cancelled.
#include <functional>
#include <string>
#include <string_view>

#include "shell/MemoHolderUI.h"
#include "shell/TFormMainBaseVRK.h"

namespace vrk {

class TFormMainScript : public TFormMainBaseVRK {
  Q_OBJECT

 public:
  // The shared dialogs start with this filter; a command that sets none
  // shows the one set last.
  static constexpr std::string_view kDefaultFilter =
      "All(*.*)|*.*|Text(*.txt)|*.txt|JPEG(*.jpg)|*.jpg;*.jpe;*.jpeg|MemoHolder(*.mxh)|*.mxh|"
      "MemoFile(*.mxa)|*.mxa|HTML(*.html)|*.html;*.htm|XML(*.xml)|*.xml;*.xsl";

  using TFormMainBaseVRK::TFormMainBaseVRK;

  int UI2Model() override;
  void updateCaption() override;
  int showCurMemoNodeInList() override;
  void Model2UI() override;
  QPlainTextEdit* getLogMemo() override;
  // Nothing runs until the script host exists; answers 0.
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

 protected:
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
};

}  // namespace vrk
