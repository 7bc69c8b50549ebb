#pragma once
// The log window: one text box of log lines that only grows, with buttons to
// hide it, copy or clear the log, and turn the log into a new node.
#include <QWidget>

class QCheckBox;
class QPlainTextEdit;

namespace vrk {

class TFormMainBase0007;

class TFormLog : public QWidget {
  Q_OBJECT

 public:
  // A window of its own, owned by the main window.
  explicit TFormLog(TFormMainBase0007& form);

  QPlainTextEdit* memo() const { return aMemo; }
  QWidget* buttonPanel() const { return aPanel; }
  void addLine_(const std::string& line);  // Shift_JIS

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void copyAll();
  void newNode();
  void setFront_(bool front);

  TFormMainBase0007& aForm;
  QPlainTextEdit* aMemo;
  QWidget* aPanel;
  QCheckBox* aFront;
};

}  // namespace vrk
