#pragma once
// Two windows of the main menu that have no work yet: their buttons do
// nothing but "Hide". Kept so that the menu opens what users know.
#include <QWidget>
#include <string_view>
#include <vector>

class QPushButton;

namespace vrk {

class TFormGroupTree final : public QWidget {
  Q_OBJECT

 public:
  explicit TFormGroupTree(QWidget* parent);
  QPushButton* button_(std::string_view caption) const;

 private:
  std::vector<QPushButton*> aButtons;
};

}  // namespace vrk
