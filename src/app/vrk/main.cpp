// The desktop program. The window chain and start-up sequence grow into this.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("vrk"));
  auto* label = new QLabel(QStringLiteral("vrk"), &window);
  label->setAlignment(Qt::AlignCenter);
  window.setCentralWidget(label);
  window.resize(800, 600);
  window.show();
  return app.exec();
}
