#pragma once
// The rename dialog: a name box with the names confirmed in this run, a
// calendar read from the name's date word, and one-click edits of marks,
// words, numbers and path-like names (model/NameEdits.h does the work). It
// never changes the model: the caller renames the node after OK.
#include <QDialog>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "dialogs/DialogOwner.h"
#include "text/StringList.h"

class QCalendarWidget;
class QComboBox;
class QPushButton;

namespace vrk {

class MemoNode;

class TFormName final : public QDialog {
  Q_OBJECT

 public:
  explicit TFormName(QWidget* parent);

  // The one dialog of a window, made on first use as its child.
  static TFormName& instanceFor_(QWidget* window);

  // Fills the dialog for the node: -1 until the calendar takes the name's
  // date, then 0.
  virtual int putObject_(MemoNode* node);
  // Nothing to write back: the caller reads the name box.
  virtual int applyObject();

  // The main window whose current holder gives the date pattern of "Set".
  void setOwner_(DialogOwner* owner) { aOwner = owner; }

  // The name box: nullopt when it holds a character Shift_JIS cannot hold.
  std::optional<std::string> getNameText() const;
  void putNameText_(std::string_view text);
  const StringList& history() const { return aHistory; }
  LocalTime calendarDate() const;
  // False when the calendar refuses the date (it keeps the one it had).
  bool setCalendarDate_(const LocalTime& date);

  // A button by its group ("$1", "$2", "$3", "Calendar", "Tools") and caption.
  QPushButton* button_(std::string_view group, std::string_view caption) const;
  QComboBox* nameBox() const { return ComboBox_Name; }
  QCalendarWidget* calendar() const { return MonthCalendar1; }

  void ok();
  void cancel();

 private:
  QPushButton* addButton_(QWidget* panel, const QString& group, const std::string& caption);
  // The box text through an edit; nothing happens when it cannot be read.
  template <class Edit>
  void edit_(Edit edit);
  void setDate();
  std::string today_() const;
  const Clock& clock() const;

  DialogOwner* aOwner = nullptr;
  std::string aNameReset;  // the node's name when the dialog was filled
  StringList aHistory;
  // The box text as put in, with its bytes, so that text the user did not
  // touch keeps bytes the bridge cannot make twice.
  QString aShownText;
  std::string aShownBytes;
  QComboBox* ComboBox_Name;
  QCalendarWidget* MonthCalendar1;
};

}  // namespace vrk
