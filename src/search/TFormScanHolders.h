#pragma once
// The scan window over the holders of the open memo file: find, grep and
// replace a keyword in the chosen parts of every node of the checked holders,
// list the hits, mark them, hand them to the selected-node editor or put them
// into a new node. TFormScanHolder (TFormScanHolder.h) is the same window
// over the current holder.
//
// Loads made here run no "*Autoexec.ppa": a script could free the nodes the
// loop walks. Result lists keep weak handles; a node freed since is skipped.
#include <QWidget>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/LiveRegistry.h"
#include "search/ScanEntry.h"
#include "text/StringList.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace vrk {

class MemoHolder;
class TFormMainBaseVRK;

// Hands the nodes of result entries to the selected-node editor (the window
// above owns it); false when it cannot be had.
using EditSelectHandler = std::function<bool(const ScanEntries&)>;

class TFormScanHolders : public QWidget {
  Q_OBJECT

 public:
  // history: the main window's keyword history, shared by every scan window.
  TFormScanHolders(TFormMainBaseVRK& form, StringList& history, QWidget* parent);

  // --- the runs; each answers the number of entries or lines, -1 when refused
  int scan();
  int replace();
  int grep();
  // Marks (or unmarks) the node of every entry: the number of entries done.
  int mark_(bool flag);
  int editSelect();
  int newNode();
  void clearPage();
  void allParts_(bool flag);
  // Clicking entry row of the list page (or of the grep page with grepPage).
  void clickEntry_(int row, bool grepPage);

  // --- the holder list (the all-holders window)
  void updateHolders();
  void checkCurrent();
  void checkAll_(bool flag);
  // Caption, holder list (all-holders window), shown, raised.
  void showFor_();

  void putEditSelect_(EditSelectHandler handler) { aEditSelect = std::move(handler); }
  const ScanEntries& listEntries() const { return aList; }
  const ScanEntries& grepEntries() const { return aGrep; }
  std::string statusText() const;
  QPushButton* button_(std::string_view caption) const;
  QCheckBox* check_(std::string_view caption) const;
  QComboBox* keywordBox() const { return ComboBoxKeyWord; }
  QLineEdit* replaceBox() const { return EditReplace; }
  QListWidget* holderList() const { return CheckListHolders; }
  QTabWidget* pages() const { return PageControl; }

 protected:
  // The one-holder window lists only the current holder.
  explicit TFormScanHolders(TFormMainBaseVRK& form, StringList& history, QWidget* parent,
                            bool allHolders);

 private:
  void build_();
  void status_(std::string_view text);
  bool keywordOrWarn_(std::string& keyword);
  void rememberKeyword_(const std::string& keyword);
  // The holders a run walks, in list order.
  std::vector<MemoHolder*> targets_();
  void showList_();
  void showGrep_();
  std::string nodeHead_(MemoHolder& holder, MemoNode& node, std::string_view sep) const;
  bool part_(std::string_view caption) const;

  TFormMainBaseVRK& aForm;
  StringList& aHistory;
  const bool flagAll;
  EditSelectHandler aEditSelect;
  ScanEntries aList;
  ScanEntries aGrep;
  std::vector<WeakRef<MemoHolder>> aHolderRows;  // the holder of each row of the check list

  QComboBox* ComboBoxKeyWord;
  QLineEdit* EditReplace;
  QTabWidget* PageControl;
  QListWidget* ListBoxResult;
  QListWidget* ListGrep;
  QListWidget* CheckListHolders = nullptr;
  QLabel* StatusBar;
  std::vector<QCheckBox*> aChecks;
  std::vector<QPushButton*> aButtons;
};

}  // namespace vrk
