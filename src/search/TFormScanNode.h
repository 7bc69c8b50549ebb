#pragma once
// The modal scan window of the current node: its memo, comment and field
// lines as working copies (nothing goes back to the node), each page with a
// find and replace dialog of our own, and the node's grep lines.
#include <QDialog>
#include <string>
#include <string_view>
#include <vector>

#include "search/ScanEntry.h"
#include "text/StringList.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace vrk {

class MemoNode;
class TFormMainBaseVRK;

class TFormScanNode final : public QDialog {
  Q_OBJECT

 public:
  enum Page { Memo = 0, Comment = 1, Field = 2 };

  TFormScanNode(TFormMainBaseVRK& form, QWidget* parent);

  // The current node copied into the pages; the grep page cleared.
  void update_(MemoNode* node);
  int grep();
  int newNode();
  // The find dialog's steps on a page, exact letter case. Find next selects
  // the next occurrence after the selection: false when there is none.
  bool findNext_(Page page, const QString& find);
  // The first occurrence replaced (false, with the message, when none).
  bool replaceOne_(Page page, const QString& find, const QString& replacement);
  // Every occurrence: the number replaced.
  int replaceAll_(Page page, const QString& find, const QString& replacement);
  // "Scan" and "Replace" of a page: the keyword into the history, the dialog shown.
  void openFind_(Page page, bool replacing);

  QPlainTextEdit* editor_(Page page) const { return aEditors[page]; }
  QComboBox* keywordBox() const { return ComboBoxKeyWord; }
  QComboBox* replaceWordBox_(Page page) const { return aReplaceWords[page]; }
  QCheckBox* ignoreBox() const { return CheckBoxIgnore; }
  QDialog* findDialog() const { return aFind; }
  const ScanEntries& grepEntries() const { return aGrep; }
  std::string statusText() const;

 private:
  void status_(std::string_view text);

  TFormMainBaseVRK& aForm;
  WeakRef<MemoNode> aNode;
  StringList aHistory;
  std::vector<StringList> aReplaceHistories{3};
  ScanEntries aGrep;
  QLabel* LabelName;
  QComboBox* ComboBoxKeyWord;
  QCheckBox* CheckBoxIgnore;
  std::vector<QPlainTextEdit*> aEditors;
  std::vector<QComboBox*> aReplaceWords;
  QListWidget* ListGrep;
  QLabel* StatusBar;
  // The find and replace dialog, over the page it was opened for.
  QDialog* aFind;
  QLineEdit* EditFind;
  QLineEdit* EditReplace;
  Page aFindPage = Memo;
};

}  // namespace vrk
