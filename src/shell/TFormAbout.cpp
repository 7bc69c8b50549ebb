#include "shell/TFormAbout.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <filesystem>

#include "platform/Path.h"
#include "platform/qt/QtSjis.h"
#include "text/CharEX.h"

namespace vrk {
namespace {

constexpr QSize kSize(480, 320);

}  // namespace

TFormAbout::TFormAbout(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      aOwner(mainWindow) {
  resize(kSize);
  Image1 = new QLabel(this);
  Image1->setScaledContents(true);
  Label1 = new QLabel(this);
  Label1->setAlignment(Qt::AlignCenter);
  Label1->setWordWrap(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Image1, 1);
  layout->addWidget(Label1, 1);
  Label1->hide();

  MenuTimer = new QAction(QStringLiteral("timer"), this);
  MenuTimer->setCheckable(true);
  MenuTimer->setChecked(true);
  connect(MenuTimer, &QAction::triggered, this, [this](bool on) {
    if (on)
      Timer1->start();
    else
      Timer1->stop();
  });
  addAction(MenuTimer);
  setContextMenuPolicy(Qt::ActionsContextMenu);

  Timer1 = new QTimer(this);
  Timer1->setInterval(kTickMs);
  connect(Timer1, &QTimer::timeout, this, &TFormAbout::tick);
}

bool TFormAbout::hasPicture() const { return !Image1->pixmap().isNull(); }

void TFormAbout::loadImage_(const std::string& path) {
  const std::string name = isFile_(path) ? path : std::string();
  const std::string extension = lowerCase_(extractFileExt_(name));
  if (extension == ".jpg" || extension == ".bmp") {
    QImage picture;
    const std::optional<std::string> os = toOsPath_(name);
    if (os && picture.load(QString::fromStdString(*os), extension == ".jpg" ? "JPEG" : "BMP")) {
      Image1->setPixmap(QPixmap::fromImage(picture));
      Image1->show();
      Label1->hide();
      return;
    }
  }
  // No picture: the file's name is all there is to show.
  const QString caption = sjisToQString(extractFileName_(name));
  Image1->setPixmap(QPixmap());
  Image1->hide();
  setWindowTitle(caption);
  Label1->setText(caption);
  QFont font = Label1->font();
  font.setPointSize(20);
  Label1->setFont(font);
  Label1->setVisible(!caption.isEmpty());
}

void TFormAbout::showPeriod_(int milliseconds) {
  remaining = milliseconds;
  centreOnOwner();
  show();
  raise();
  repaint();
  if (MenuTimer->isChecked()) Timer1->start();
}

void TFormAbout::tick() {
  remaining -= kTickMs;
  if (!Label1->text().isEmpty()) Label1->repaint();
  Image1->repaint();
  if (remaining <= 0) {
    Timer1->stop();
    close();
  }
}

void TFormAbout::mousePressEvent(QMouseEvent* event) {
  // The right button opens the pop-up menu instead.
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  Timer1->stop();
  close();
}

void TFormAbout::centreOnOwner() {
  QRect area = aOwner && aOwner->isVisible() ? aOwner->frameGeometry() : QRect();
  if (area.isEmpty() && screen()) area = screen()->availableGeometry();
  if (area.isEmpty()) return;
  move(area.center() - QPoint(width() / 2, height() / 2));
}

}  // namespace vrk
