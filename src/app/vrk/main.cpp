// The desktop program: the main window with the real ports, an empty memo
// file, or the ".mxa" named on the command line.
#include <QApplication>
#include <QStringList>

#include "platform/Path.h"
#include "shell/Services.h"
#include "shell/UnitTFormMainRegular14.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("vrk.exe"));
  vrk::RealServices real;
  const std::unique_ptr<vrk::TFormMainRegular14> window =
      vrk::TFormMainRegular14::create(real.services());
  window->resize(900, 640);
  window->show();
  window->newMemoFile_();
  window->addLogDT_("Launch " + QCoreApplication::arguments().join(' ').toStdString());
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() > 1) {
    const std::optional<std::string> path =
        vrk::fromOsPath_(arguments.mid(1).join(' ').toStdString());
    if (path) window->_loadMemoFile_(*path);
  }
  return app.exec();
}
