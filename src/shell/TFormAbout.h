#pragma once
// The about window: a borderless, stay-on-top splash centred on the main
// window, one stretched picture or a caption label. It closes by itself
// after the period, or at once when clicked; its pop-up item "timer" stops
// the countdown so that it stays until clicked.
#include <QWidget>
#include <string>

class QAction;
class QLabel;
class QTimer;

namespace vrk {

class TFormAbout final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kTickMs = 200;

  explicit TFormAbout(QWidget* mainWindow);

  // A ".jpg" or ".bmp" file as the picture (the label hidden); any other
  // name, a missing file counting as empty, as the caption and label text.
  void loadImage_(const std::string& path);
  // Shown for the time (ms); the countdown runs while the timer item is on.
  void showPeriod_(int milliseconds = 3000);
  // One tick of the countdown: closes the window when the time is up.
  void tick();

  int remainingMs() const { return remaining; }
  bool hasPicture() const;

  QLabel* Image1 = nullptr;
  QLabel* Label1 = nullptr;
  QAction* MenuTimer = nullptr;  // "timer", checked
  QTimer* Timer1 = nullptr;

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void centreOnOwner();

  QWidget* aOwner;
  int remaining = 3000;
};

}  // namespace vrk
