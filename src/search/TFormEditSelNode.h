#pragma once
// One edit applied to a list of nodes handed over by another window: the
// name, the memo or the comment changed, or one field set or deleted. The
// list keeps weak handles: a node freed since is skipped, a node listed twice
// is edited once, and read-only holders and nodes are left as they are.
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "search/ScanEntry.h"
#include "text/StringList.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;

namespace vrk {

class TFormMainBaseVRK;

class TFormEditSelNode final : public QWidget {
  Q_OBJECT

 public:
  enum class NameEdit { InsertHead, InsertHeadPlus, Replace, AddTail, AddTailPlus };
  enum class LinesEdit { InsertHead, Replace, AddTail };

  TFormEditSelNode(TFormMainBaseVRK& form, QWidget* parent);

  // The nodes to edit: each entry shows its position (from 0) with
  // byPosition, else the entry's own text.
  void putNodes_(const ScanEntries& entries, bool byPosition);
  // Each answers the number of nodes changed, -1 when refused.
  int editName_(NameEdit how);
  int editLines_(LinesEdit how, bool comment);
  int setField();
  int deleteField();
  void updateFieldNames();

  std::string statusText() const;
  QListWidget* list() const { return ListBoxNodes; }
  QComboBox* nameBox() const { return ComboBoxName; }
  QPlainTextEdit* memoBox() const { return MemoMemo; }
  QPlainTextEdit* commentBox() const { return MemoComment; }
  QComboBox* fieldBox() const { return ComboBoxField; }
  QComboBox* valueBox() const { return ComboBoxValue; }

 private:
  void status_(std::string_view text);
  // The nodes an edit may change, after the common checks; empty when refused.
  bool begin_(std::vector<MemoNode*>& nodes);
  void end_(const std::vector<MemoNode*>& changed);

  TFormMainBaseVRK& aForm;
  ScanEntries aNodes;
  StringList aNameHistory, aFieldHistory, aValueHistory;
  QListWidget* ListBoxNodes;
  QComboBox* ComboBoxName;
  QPlainTextEdit* MemoMemo;
  QPlainTextEdit* MemoComment;
  QComboBox* ComboBoxField;
  QComboBox* ComboBoxValue;
  QLabel* StatusBar;
};

}  // namespace vrk
