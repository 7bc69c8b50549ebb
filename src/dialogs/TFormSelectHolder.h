#pragma once
// The modal choice of a holder for the commands that copy and move nodes: the
// holders by name with the current one selected. "OK" takes the selection
// (none: the caller makes a new holder), "New Holder" clears it and closes,
// "Current" selects the current holder and closes, "CANCEL" cancels.
#include <QDialog>
#include <string_view>

#include "text/StringList.h"

class QListWidget;
class QPushButton;

namespace vrk {

class TFormSelectHolder final : public QDialog {
  Q_OBJECT

 public:
  explicit TFormSelectHolder(QWidget* parent);

  // The names listed, the index of the current holder among them (-1: it is
  // not listed, nothing is selected) and whether "Current" may be pressed.
  void putHolders_(const StringList& names, int current, bool currentEnabled);
  // The index chosen; -1 for none.
  int getSelectedIndex() const;

  QListWidget* list() const { return ListBoxHolders; }
  // "OK", "CANCEL", "New Holder" or "Current"; null for anything else.
  QPushButton* button_(std::string_view caption) const;

 private:
  void newHolder();
  void selectCurrent();

  int aCurrent = -1;
  QListWidget* ListBoxHolders;
  QPushButton* ButtonOK;
  QPushButton* ButtonCancel;
  QPushButton* ButtonNew;
  QPushButton* ButtonCurrent;
};

}  // namespace vrk
