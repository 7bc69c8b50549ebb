#pragma once
// The field scan window: nodes of the checked holders found by one field (its
// name anywhere in the field lines, or its value equal to or holding a text),
// listed, and that field replaced, set or deleted in all of them. Loads made
// here run no autoexec; entries keep weak handles.
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
class QListWidget;
class QPushButton;

namespace vrk {

class MemoHolder;
class TFormMainBaseVRK;

class TFormField final : public QWidget {
  Q_OBJECT

 public:
  TFormField(TFormMainBaseVRK& form, QWidget* parent);

  // Each answers the number of entries, -1 when refused.
  int scan_(bool negate);
  int replace();
  int set();
  int remove();
  void mark_(bool flag);
  int newNode();
  int editSel();
  void upHolder();
  void checkCurrent();
  void checkAll_(bool flag);
  void fieldNames();
  void fieldValues_(QComboBox& box);
  void clickEntry_(int row);
  void showFor_();

  void putEditSelect_(std::function<bool(const ScanEntries&)> handler) {
    aEditSelect = std::move(handler);
  }
  const ScanEntries& entries() const { return aEntries; }
  std::string statusText() const;
  QPushButton* button_(std::string_view caption) const;
  QComboBox* fieldBox() const { return ComboBoxField; }
  QComboBox* valueBox() const { return ComboBoxValue; }
  QComboBox* replaceBox() const { return ComboBoxReplace; }
  QComboBox* scanOp() const { return ComboBoxScanOp; }
  QComboBox* valueOp() const { return ComboBoxValueOp; }
  QCheckBox* ignoreBox() const { return CheckBoxIgnore; }
  QListWidget* holderList() const { return CheckListHolders; }

 private:
  void status_(std::string_view text);
  // Scan before an edit; false (with the status) when it found nothing or
  // the edit is refused.
  bool scanForEdit_(int& count);
  std::string entryHead_(const ScanEntry& entry) const;

  TFormMainBaseVRK& aForm;
  std::function<bool(const ScanEntries&)> aEditSelect;
  ScanEntries aEntries;
  std::vector<std::string> aHolderNames;  // of each entry
  std::vector<WeakRef<MemoHolder>> aHolderRows;
  StringList aFieldHistory, aValueHistory, aReplaceHistory;
  QComboBox* ComboBoxField;
  QComboBox* ComboBoxValue;
  QComboBox* ComboBoxReplace;
  QComboBox* ComboBoxScanOp;
  QComboBox* ComboBoxValueOp;
  QCheckBox* CheckBoxIgnore;
  QListWidget* CheckListHolders;
  QListWidget* ListBoxResult;
  QLabel* StatusBar;
  std::vector<QPushButton*> aButtons;
};

}  // namespace vrk
