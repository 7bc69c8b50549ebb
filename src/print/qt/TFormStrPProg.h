#pragma once
// The progress window of one layout run: a caption ("印刷中" or
// "プレビューを作成中"), a bar and "Cancel". step_ lets pending input run, so
// the button is seen, and answers false once it was pressed.
#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vrk {

class TFormStrPProg final : public QDialog {
  Q_OBJECT

 public:
  TFormStrPProg(const QString& caption, QWidget* parent);

  bool step_(int percent);
  bool flagCancel = false;

  QLabel* aCaption;
  QProgressBar* aBar;
  QPushButton* aCancel;
};

}  // namespace vrk
