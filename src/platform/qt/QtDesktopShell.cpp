#include "platform/qt/QtDesktopShell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

#include "platform/Path.h"
#include "platform/qt/QtSjis.h"
#include "text/CharEX.h"

namespace vrk {
namespace {

bool isWebAddress(const std::string& target) {
  for (const char* scheme : {"http:", "https:", "mailto:", "ftp:"})
    if (startsWithText_(target, scheme)) return true;
  return false;
}

// nullopt when the stored path cannot be named to the system.
std::optional<QString> osPath(const std::string& stored) {
  const std::optional<std::string> os = toOsPath_(stored);
  if (!os) return std::nullopt;
  return QString::fromStdString(*os);
}

QStringList texts(const StringList& arguments) {
  QStringList list;
  for (const std::string& argument : arguments) list << sjisToQString(argument);
  return list;
}

}  // namespace

int QtDesktopShell::openDocument(const std::string& target, const std::string& workingDir) {
  if (isWebAddress(target)) return QDesktopServices::openUrl(QUrl(sjisToQString(target))) ? 0 : -1;
  const std::string full = isAbsolutePath_(normalizePath_(target))
                               ? normalizePath_(target)
                               : expandFileName_(target, workingDir);
  const std::optional<QString> path = osPath(full);
  return path && QDesktopServices::openUrl(QUrl::fromLocalFile(*path)) ? 0 : -1;
}

int QtDesktopShell::explore(const std::string& directory) {
  const std::optional<QString> path = osPath(normalizePath_(directory));
  return path && QDesktopServices::openUrl(QUrl::fromLocalFile(*path)) ? 0 : -1;
}

int QtDesktopShell::startDetached(const std::string& program, const StringList& arguments,
                                  const std::string& workingDir) {
  const std::optional<QString> path = osPath(program);
  const std::optional<QString> dir = osPath(workingDir);
  if (!path || !dir) return -1;
  return QProcess::startDetached(*path, texts(arguments), *dir) ? 0 : -1;
}

}  // namespace vrk
