#pragma once
// The options of a new child grep: the keyword (with its own history), where
// a line must hold it ("Normal", "Head", "Tail") and the switches "NOT",
// "Number" and "Ignore". The items "<a href" and "<img" use the options as
// they were left here.
#include <QDialog>
#include <string>
#include <string_view>
#include <vector>

#include "text/StringList.h"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace vrk {

class TFormGrep final : public QDialog {
  Q_OBJECT

 public:
  explicit TFormGrep(QWidget* parent);

  std::string keyword() const;
  // The match mode of the option: contains, head or tail (text/LineLists.h).
  int mode() const;
  bool isNot() const;
  bool isNumbered() const;
  bool isIgnore() const;
  // The keyword enters the box's history.
  void rememberKeyword_(const std::string& keyword);

  QComboBox* keywordBox() const { return ComboBoxKeyWord; }
  QComboBox* optionBox() const { return ComboBoxOption; }
  QCheckBox* check_(std::string_view caption) const;
  QPushButton* button_(std::string_view caption) const;

 private:
  StringList aHistory;
  QComboBox* ComboBoxKeyWord;
  QComboBox* ComboBoxOption;
  std::vector<QCheckBox*> aChecks;
  std::vector<QPushButton*> aButtons;
};

}  // namespace vrk
