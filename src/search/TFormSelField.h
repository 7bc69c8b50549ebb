#pragma once
// A window of the main menu without work yet: "Update" does nothing, "Hide"
// hides it.
#include <QWidget>
#include <string_view>
#include <vector>

class QPushButton;

namespace vrk {

class TFormSelField final : public QWidget {
  Q_OBJECT

 public:
  explicit TFormSelField(QWidget* parent);
  QPushButton* button_(std::string_view caption) const;

 private:
  std::vector<QPushButton*> aButtons;
};

}  // namespace vrk
